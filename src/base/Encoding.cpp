#include "base/Encoding.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

#include "base/Utf8.h"

namespace quorvex {
namespace {

bool IsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Converts `in`; a character that does not convert ends it (nothing) unless
// `replaceBad`, which puts U+FFFD in its place (the output must be UTF-8 then).
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in, bool replaceBad = false) {
  if (IsAscii(in)) return std::string(in);  // both encodings agree on ASCII
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::vector<char> input(in.begin(), in.end());
  std::string out;
  char buffer[1024];
  char* inPtr = input.data();
  size_t inLeft = input.size();
  bool ok = true;
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      if (!replaceBad) {
        ok = false;
        break;
      }
      // One replacement character per bad character, as browsers decode
      // Shift_JIS: an unmapped pair is dropped whole unless its second byte is
      // ASCII, which then stands for itself.
      std::size_t skip = 1;
      if (inLeft > 1 && IsLeadByte(inPtr[0]) && static_cast<unsigned char>(inPtr[1]) >= 0x80) skip = 2;
      out += "\xEF\xBF\xBD";
      inPtr += skip;
      inLeft -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) { return Convert("UTF-8", "CP932", cp932); }

std::string Cp932ToUtf8Replacing(std::string_view cp932) {
  return Convert("UTF-8", "CP932", cp932, true).value_or(std::string(cp932));
}

std::optional<ByteString> Utf8ToCp932(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8); }

std::string ShowCharacterReferences(const std::string& utf8) {
  std::string out;
  std::size_t pos = 0;
  for (std::size_t amp = utf8.find("&#"); amp != std::string::npos; amp = utf8.find("&#", pos)) {
    std::size_t end = amp + 2;
    char32_t value = 0;
    while (end < utf8.size() && end - amp < 10 && utf8[end] >= '0' && utf8[end] <= '9') {
      value = value * 10 + static_cast<char32_t>(utf8[end++] - '0');
    }
    if (end == amp + 2 || end >= utf8.size() || utf8[end] != ';' || value == 0 || value > 0x10FFFF) {
      out.append(utf8, pos, amp + 2 - pos);
      pos = amp + 2;
      continue;
    }
    out.append(utf8, pos, amp - pos);
    AppendUtf8(out, value);
    pos = end + 1;
  }
  return out + utf8.substr(pos);
}

std::string DisplayText(std::string_view cp932) {
  std::optional<std::string> utf8 = Cp932ToUtf8(cp932);
  return utf8 ? *utf8 : std::string(cp932);
}

}  // namespace quorvex
