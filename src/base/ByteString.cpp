#include "base/ByteString.h"

namespace quorvex {

ByteString LowerCase(std::string_view s) {
  ByteString out(s);
  for (std::size_t i = 0; i < out.size(); i += CharLength(out, i)) {
    if (out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
  }
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && LowerCase(a) == LowerCase(b);
}

ByteString FormatText(std::string_view pattern, std::string_view argument) {
  ByteString out(pattern);
  std::size_t at = out.find("%s");
  if (at == ByteString::npos) at = out.find("%d");
  if (at != ByteString::npos) out.replace(at, 2, argument);
  return out;
}

ByteString DecimalText(long long value) { return std::to_string(value); }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

ByteString PercentEscaped(unsigned char c) { return (c < 16 ? "%0" : "%") + HexText(c); }

ByteString HexText(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  ByteString hex;
  do {
    hex.insert(hex.begin(), kDigits[value & 15]);
    value >>= 4;
  } while (value != 0);
  return hex;
}

namespace {

// Position just after the last folder delimiter, stepping over double-byte
// characters so that a trail byte 0x5C is not taken for a backslash.
std::size_t FileNameStart(std::string_view path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
    if (path[i] == '\\' || path[i] == ':') start = i + 1;
  }
  return start;
}

// Position of the extension's dot in the file name, or npos.
std::size_t ExtensionDot(std::string_view path) {
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = FileNameStart(path); i < path.size(); i += CharLength(path, i)) {
    if (path[i] == '.') dot = i;
  }
  return dot;
}

}  // namespace

ByteString ExtractFileName(std::string_view path) { return ByteString(path.substr(FileNameStart(path))); }

ByteString ExtractFilePath(std::string_view path) { return ByteString(path.substr(0, FileNameStart(path))); }

ByteString ExtractFileDir(std::string_view path) {
  std::size_t end = 0;
  bool keepDelimiter = true;
  std::size_t previous = std::string_view::npos;  // start of the character before position i
  for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
    if (path[i] == '\\' || path[i] == ':') {
      end = i + 1;
      bool afterDelimiter = previous != std::string_view::npos && i - previous == 1 &&
                            (path[previous] == '\\' || path[previous] == ':');
      keepDelimiter = path[i] == ':' || previous == std::string_view::npos || afterDelimiter;
    }
    previous = i;
  }
  return ByteString(path.substr(0, keepDelimiter ? end : end - 1));
}

ByteString ChangeFileExt(std::string_view path, std::string_view extension) {
  std::size_t dot = ExtensionDot(path);
  return ByteString(path.substr(0, dot == std::string_view::npos ? path.size() : dot)) + ByteString(extension);
}

ByteString ExtractFileExt(std::string_view path) {
  std::size_t dot = ExtensionDot(path);
  return dot == std::string_view::npos ? ByteString() : ByteString(path.substr(dot));
}

}  // namespace quorvex
