#pragma once
// Metafile text is stored in the code page of the font's character set;
// this turns it into characters, each with the bytes it came from.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quorvex {

/// Character sets of a font that take Shift-JIS text: SHIFTJIS_CHARSET (128),
/// and DEFAULT_CHARSET (1) and OEM_CHARSET (255), which on a Japanese system
/// stand for its code page 932.
bool IsJapaneseCharset(int charset);

/// One character of a metafile text.
struct TextChar {
  std::string Utf8;  ///< the character in UTF-8
  int Bytes = 1;     ///< how many bytes of the text it took
  char32_t Code = 0; ///< its code point
};

/// Decodes text bytes by the font's character set: the Japanese sets as
/// code page 932 (a lead byte and its trail byte make one character),
/// ANSI_CHARSET (0) and every set without a table as code page 1252, the
/// single-byte Windows sets (Greek, Turkish, Hebrew, Arabic, Baltic,
/// Cyrillic, Thai, Central European, Vietnamese) by their code pages. A
/// byte or pair with no character becomes U+30FB (katakana middle dot).
std::vector<TextChar> DecodeCharsetText(std::span<const std::uint8_t> bytes, int charset);

/// UTF-16 text as code page 932 bytes for a Japanese character set, as code
/// page 1252 bytes for any other; characters without a byte form become '?'.
std::string EncodeCharsetText(std::u16string_view text, int charset);

}  // namespace quorvex
