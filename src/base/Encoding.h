#pragma once
// Conversion between the engine's Shift-JIS and UTF-8, used only at the edges:
// native file names, the terminal, the window.

#include <optional>
#include <string>
#include <string_view>

#include "base/ByteString.h"

namespace quorvex {

/// Shift-JIS (CP932) to UTF-8; nothing when the bytes are not valid CP932.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

/// UTF-8 to Shift-JIS (CP932); nothing when a character has no CP932 form.
std::optional<ByteString> Utf8ToCp932(std::string_view utf8);

/// Shift-JIS (CP932) to UTF-8 for output that must always be written: every
/// byte that is not valid CP932 becomes U+FFFD.
std::string Cp932ToUtf8Replacing(std::string_view cp932);

/// Text of other code pages reaches the engine with "&#N;" for the
/// characters Shift-JIS lacks; for a message on the terminal, UTF-8 text with
/// those references shown as the characters they stand for.
std::string ShowCharacterReferences(const std::string& utf8);

/// For display: UTF-8 of the bytes, or the bytes themselves when they do not convert.
std::string DisplayText(std::string_view cp932);

}  // namespace quorvex
