#pragma once
// The variable-length numbers of WinHelp's binary forms: segmented-hypergraphics
// headers and the paragraph records of compiled help files.

#include <cstdint>

#include "base/ByteReader.h"

namespace quorvex {

/// One byte b: b / 2 when bit 0 is clear, else b / 2 + 128 times a second
/// byte (0..32767).
std::uint16_t ReadCompressedWord(ByteReader& reader);

/// One 16-bit word w: w / 2 when bit 0 is clear, else w / 2 + 32768 times a
/// second word (0..2147483647).
std::uint32_t ReadCompressedDword(ByteReader& reader);

/// The signed form of ReadCompressedWord: the value less 16384 (two bytes)
/// or less 64 (one byte).
std::int16_t ReadCompressedSignedWord(ByteReader& reader);

/// The signed form of ReadCompressedDword: the value less 1073741824 (two
/// words) or less 16384 (one word).
std::int32_t ReadCompressedSignedDword(ByteReader& reader);

}  // namespace quorvex
