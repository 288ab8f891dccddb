#pragma once
// Popup texts go into JavaScript string literals in double quotes.

#include <string_view>

#include "base/ByteString.h"

namespace quorvex {

/// `text` made safe inside a double-quoted script string on one line: a
/// double quote that the text does not already escape gets a backslash, CR and
/// LF bytes are written as "\r" and "\n", and an unpaired backslash before
/// such a byte or at the end gets a second one. Other backslash sequences of
/// the text (such as the "\n" paragraph mark) stay as they are; Shift-JIS
/// trail bytes are never taken for a backslash.
ByteString EscapeScriptString(std::string_view text);

}  // namespace quorvex
