#pragma once
// Text inside the engine: Shift-JIS (code page 932) bytes, never decoded.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex {

/// A counted string of Shift-JIS bytes.
using ByteString = std::string;

/// True for a byte that starts a two-byte Shift-JIS character.
constexpr bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
constexpr bool IsLeadByte(char c) { return IsLeadByte(static_cast<unsigned char>(c)); }

/// Length of the character starting at `pos`: 2 for a lead byte with a byte after it, else 1.
inline std::size_t CharLength(std::string_view s, std::size_t pos) {
  return (IsLeadByte(s[pos]) && pos + 1 < s.size()) ? 2 : 1;
}

/// Lower-cases the single-byte letters A-Z; trail bytes of double-byte characters stay as they are.
ByteString LowerCase(std::string_view s);

/// Equal when letter case is ignored (single-byte letters only).
bool SameText(std::string_view a, std::string_view b);

/// True when `s` begins with `prefix`, byte for byte.
inline bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

/// True when `s` begins with `prefix`, letter case ignored.
inline bool StartsWithIgnoreCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

/// Replaces the first "%s" (or "%d") of `pattern` with `argument`.
ByteString FormatText(std::string_view pattern, std::string_view argument);

/// Decimal text of a number.
ByteString DecimalText(long long value);

/// The value of a hexadecimal digit (either letter case); -1 for any other byte.
int HexDigitValue(char c);

/// `value` in upper-case hexadecimal digits, without a prefix.
ByteString HexText(std::uint64_t value);

/// The byte `c` as a URL writes an escaped byte: "%" and two digits.
ByteString PercentEscaped(unsigned char c);

/// The file name part: everything after the last "\" or ":".
ByteString ExtractFileName(std::string_view path);

/// The folder part including its final "\" or ":" (empty when there is none).
ByteString ExtractFilePath(std::string_view path);

/// `path` with the extension of its file name (from its last ".") replaced by `extension`.
ByteString ChangeFileExt(std::string_view path, std::string_view extension);

/// The folder without its final delimiter, except where that delimiter is a
/// root ("\" directly after another "\" or after ":" stays).
ByteString ExtractFileDir(std::string_view path);

/// The extension of the file name, with its dot, or empty.
ByteString ExtractFileExt(std::string_view path);

}  // namespace quorvex
