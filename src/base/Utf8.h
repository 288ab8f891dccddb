#pragma once
// Code points of UTF-8 text, for the edges that count characters: the
// browser help (search n-grams, entity references) and metafile text. The
// engine itself never decodes its Shift-JIS text.

#include <string>
#include <string_view>

namespace quorvex {

/// The code points of UTF-8 text; a malformed sequence counts as U+FFFD per byte.
std::u32string DecodeUtf8(std::string_view utf8);

/// Appends one code point as UTF-8; surrogates and values past U+10FFFF append U+FFFD.
void AppendUtf8(std::string& out, char32_t c);

/// UTF-8 of code points.
std::string EncodeUtf8(std::u32string_view text);

}  // namespace quorvex
