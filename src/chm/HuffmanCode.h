#pragma once
// Canonical Huffman codes as LZX uses them: lengths limited to a maximum,
// codes assigned in order of length and then of symbol, sent most
// significant bit first.

#include <cstdint>
#include <vector>

namespace quorvex {

/// Code lengths for the symbol frequencies, none longer than `maxLength`.
/// Unused symbols get length 0. The code is always complete, as an LZX
/// decoder requires: a single used symbol is paired with a second one of
/// length 1; with no symbol used every length is 0.
std::vector<std::uint8_t> HuffmanLengths(const std::vector<std::uint32_t>& frequencies, int maxLength);

/// The canonical code of every symbol for its lengths (0 where the length is 0).
std::vector<std::uint16_t> CanonicalCodes(const std::vector<std::uint8_t>& lengths);

}  // namespace quorvex
