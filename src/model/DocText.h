#pragma once
// Text of the document model: Unicode characters, except that text which was
// Shift-JIS (code page 932) in the file keeps its bytes, so that pages written
// in Shift-JIS carry it unchanged.

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex {

/// Characters of the model; see IsShiftJisChar for the kept Shift-JIS ones.
using DocText = std::u32string;

/// Marks a character kept as its Shift-JIS bytes; Unicode never reaches it.
inline constexpr char32_t kShiftJisChar = 0x40000000;

/// A kept Shift-JIS character: one byte (half-width katakana) or lead * 256 + trail.
constexpr char32_t ShiftJisChar(std::uint16_t code) { return kShiftJisChar | code; }
constexpr bool IsShiftJisChar(char32_t c) { return (c & kShiftJisChar) != 0; }
constexpr std::uint16_t ShiftJisCode(char32_t c) { return static_cast<std::uint16_t>(c & 0xFFFF); }

/// The no-break space that "\~" stands for.
inline constexpr char32_t kNoBreakSpace = 0x00A0;

/// Blanks as the model's text rules see them: space, tab, no-break space,
/// ideographic space (also as Shift-JIS bytes).
constexpr bool IsBlankChar(char32_t c) {
  return c == U' ' || c == U'\t' || c == kNoBreakSpace || c == 0x3000 || c == ShiftJisChar(0x8140);
}

/// `text` without leading and trailing blanks.
DocText TrimBlanks(std::u32string_view text);

/// ASCII text as model text.
DocText AsciiText(std::string_view text);

}  // namespace quorvex
