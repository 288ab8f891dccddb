#pragma once
// Model text into the Shift-JIS bytes of pages, names and script strings.
// Text that was Shift-JIS in the file passes through byte for byte; other
// characters are converted, and those Shift-JIS lacks are written as the
// form each place understands.

#include "base/ByteString.h"
#include "model/DocText.h"

namespace quorvex {

/// Page text: "&", "<", ">" and the double quote as entities, the no-break
/// space as "&nbsp;", characters Shift-JIS lacks as "&#N;".
ByteString HtmlText(std::u32string_view text);

/// Shift-JIS text for a page: "&", "<", ">" and the double quote as entities.
ByteString HtmlBytes(const ByteString& text);

/// Names (context strings, picture names, URLs): characters Shift-JIS lacks as "?".
ByteString PlainText(std::u32string_view text);

/// A script string's content: backslashes doubled, characters Shift-JIS lacks
/// as "\uXXXX" (the quotes and line ends are left to EscapeScriptString).
ByteString ScriptText(std::u32string_view text);

}  // namespace quorvex
