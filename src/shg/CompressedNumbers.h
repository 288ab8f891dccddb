#pragma once
// The variable-length numbers of segmented-hypergraphics headers.

#include <cstdint>

#include "base/ByteReader.h"

namespace quorvex {

/// One byte b: b / 2 when bit 0 is clear, else b / 2 + 128 times a second
/// byte (0..32767).
std::uint16_t ReadCompressedWord(ByteReader& reader);

/// One 16-bit word w: w / 2 when bit 0 is clear, else w / 2 + 32768 times a
/// second word (0..2147483647).
std::uint32_t ReadCompressedDword(ByteReader& reader);

}  // namespace quorvex
