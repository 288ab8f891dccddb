#include "base/Utf8.h"

namespace quorvex {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The code point of the sequence at `pos` and its length; 0 length when malformed.
char32_t DecodeOne(std::string_view s, std::size_t pos, std::size_t& length) {
  unsigned char c = static_cast<unsigned char>(s[pos]);
  length = 0;
  if (c < 0x80) {
    length = 1;
    return c;
  }
  std::size_t need;
  char32_t value;
  char32_t minimum;
  if ((c & 0xE0) == 0xC0) {
    need = 2, value = c & 0x1F, minimum = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    need = 3, value = c & 0x0F, minimum = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    need = 4, value = c & 0x07, minimum = 0x10000;
  } else {
    return kReplacement;
  }
  if (pos + need > s.size()) return kReplacement;
  for (std::size_t i = 1; i < need; ++i) {
    unsigned char next = static_cast<unsigned char>(s[pos + i]);
    if (!IsContinuation(next)) return kReplacement;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return kReplacement;
  length = need;
  return value;
}

}  // namespace

std::u32string DecodeUtf8(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    std::size_t length;
    out.push_back(DecodeOne(utf8, pos, length));
    pos += length == 0 ? 1 : length;
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string EncodeUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) AppendUtf8(out, c);
  return out;
}

}  // namespace quorvex
