#pragma once
// Popup texts go into JavaScript string literals in double quotes.

#include <string_view>

#include "base/ByteString.h"

namespace quorvex {

/// `text` made safe inside a double-quoted script string: a double quote that
/// the text does not already escape gets a backslash, and a text ending in an
/// unpaired backslash gets a second one, so the string always ends where it
/// should. Backslash sequences of the text (such as the "\n" paragraph mark)
/// stay as they are; Shift-JIS trail bytes are never taken for a backslash.
ByteString EscapeScriptString(std::string_view text);

}  // namespace quorvex
