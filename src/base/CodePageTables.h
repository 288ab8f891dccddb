#pragma once
// Characters of the Windows code pages as Unicode and back, one character at
// a time, through iconv with tables filled as characters are first asked for.

#include <cstdint>

namespace quorvex {

/// The Unicode character of a single byte in `codePage` (1252, 1250, 932, ...);
/// 0 when the code page gives that byte no character of its own.
char32_t DecodeSingleByte(int codePage, std::uint8_t byte);

/// The Unicode character of a double-byte pair in `codePage` (936, 949, 950,
/// 932); 0 when the pair is not a character there.
char32_t DecodeDoubleByte(int codePage, std::uint8_t lead, std::uint8_t trail);

/// True when `byte` starts a double-byte character in `codePage`.
bool IsDoubleByteLead(int codePage, std::uint8_t byte);

/// True when `byte` can end a double-byte character in `codePage`.
bool IsDoubleByteTrail(int codePage, std::uint8_t byte);

/// The CP932 (Shift-JIS) form of a Unicode character: one byte (< 0x100) or a
/// lead and trail byte (lead * 256 + trail); 0 when CP932 has no such character.
std::uint16_t EncodeCp932(char32_t c);

}  // namespace quorvex
