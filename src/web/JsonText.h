#pragma once
// Text from help pages written into the browser help's script files.

#include <string>
#include <string_view>

namespace quorvex {

/// A JSON string literal (with its quotes) for UTF-8 text, safe inside a
/// script file and inside a <script> element alike: quotes, backslashes and
/// control characters are escaped, and so are "<", ">" (no "</script>" or
/// "<!--" can appear), U+2028 and U+2029. Malformed UTF-8 becomes U+FFFD.
std::string JsonString(std::string_view utf8);

}  // namespace quorvex
