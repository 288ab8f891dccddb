#pragma once
// Text files of a project (.cnt, cnv.txt, the project file's title) written
// in the project's code page, brought into the engine's Shift-JIS.

#include <string>
#include <string_view>

#include "base/ByteString.h"

namespace quorvex {

/// The characters of `bytes` written in `codePage` (0 and 932: Shift-JIS).
/// Bytes that are no character there become U+FFFD.
std::u32string DecodeCodePage(std::string_view bytes, int codePage);

/// How characters that Shift-JIS lacks are written.
enum class Unrepresentable { CharacterReference, QuestionMark };

/// `bytes` of `codePage` as Shift-JIS. Shift-JIS text (code page 0 or 932)
/// stays byte for byte; in other code pages a character Shift-JIS lacks is
/// written "&#N;" (for text that ends up in HTML) or "?".
ByteString ShiftJisFromCodePage(std::string_view bytes, int codePage, Unrepresentable form);

/// `bytes` of `codePage` as UTF-8.
std::string Utf8FromCodePage(std::string_view bytes, int codePage);

}  // namespace quorvex
