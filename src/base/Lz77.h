#pragma once
// The LZ77 variant that WinHelp's compilers pack topic text, phrase tables
// and pictures with (the same packing appears in .shg and .mrb files).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quorvex {

/// Expands LZ77-packed bytes. A flag byte announces eight items, read from
/// its lowest bit up: a clear bit is one literal byte, a set bit a 16-bit
/// little-endian reference whose low 12 bits are the distance back minus one
/// and whose high 4 bits the length minus three, copied byte by byte (so a
/// reference may overlap what it makes). Expansion stops when the input ends
/// (a reference cut in half is dropped) or `limit` bytes are out; the output
/// never grows beyond either. A reference to before the start of the output
/// reads zeros, as damaged data may hold one.
std::vector<std::uint8_t> ExpandLz77(std::span<const std::uint8_t> packed, std::size_t limit);

}  // namespace quorvex
