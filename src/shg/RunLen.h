#pragma once
// RunLen, the run-length packing of segmented-hypergraphics picture data: a
// count byte c with bit 7 set is followed by c - 128 literal bytes, one with
// bit 7 clear by a single byte repeated c times.

#include <cstdint>
#include <span>
#include <vector>

namespace quorvex {

/// Unpacks `packed`, consuming it exactly: a block that runs past its end
/// gives only the bytes that are there. Output stops at `limit` bytes.
std::vector<std::uint8_t> UnpackRunLen(std::span<const std::uint8_t> packed, std::size_t limit);

/// Packs `bytes` greedily (runs of equal bytes, up to 127 literals between them).
std::vector<std::uint8_t> PackRunLen(std::span<const std::uint8_t> bytes);

}  // namespace quorvex
