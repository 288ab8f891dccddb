#include "document/TextOutput.h"

#include <cstdio>

#include "base/CodePageTables.h"

namespace quorvex {
namespace {

// Appends the Shift-JIS bytes of `c`; false when Shift-JIS has no such character.
bool AppendShiftJis(ByteString& out, char32_t c) {
  std::uint16_t code = IsShiftJisChar(c) ? ShiftJisCode(c) : EncodeCp932(c);
  if (code == 0 && c != 0) return false;
  if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
  out.push_back(static_cast<char>(code & 0xFF));
  return true;
}

}  // namespace

ByteString HtmlText(std::u32string_view text) {
  ByteString out;
  out.reserve(text.size());
  for (char32_t c : text) {
    switch (c) {
      case U'&': out += "&amp;"; continue;
      case U'<': out += "&lt;"; continue;
      case U'>': out += "&gt;"; continue;
      case U'"': out += "&quot;"; continue;
      case kNoBreakSpace: out += "&nbsp;"; continue;
      case U'\t': out += ' '; continue;
      default: break;
    }
    if (c < 0x20 || c == 0xFFFF) continue;
    if (!AppendShiftJis(out, c)) out += "&#" + DecimalText(static_cast<long long>(c)) + ";";
  }
  return out;
}

ByteString HtmlBytes(const ByteString& text) {
  ByteString out;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
    switch (text[i]) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out.append(text, i, CharLength(text, i));
    }
  }
  return out;
}

ByteString PlainText(std::u32string_view text) {
  ByteString out;
  for (char32_t c : text) {
    if (c < 0x20) continue;
    if (c == kNoBreakSpace) c = U' ';
    if (!AppendShiftJis(out, c)) out += '?';
  }
  return out;
}

ByteString ScriptText(std::u32string_view text) {
  ByteString out;
  for (char32_t c : text) {
    if (c == U'\\') {
      out += "\\\\";
    } else if (c == U'\t') {
      out += ' ';
    } else if (c < 0x20) {
      continue;
    } else if (!AppendShiftJis(out, c)) {
      char escape[16];
      if (c > 0xFFFF) {  // a surrogate pair
        char32_t v = c - 0x10000;
        std::snprintf(escape, sizeof escape, "\\u%04x\\u%04x", 0xD800 + (v >> 10), 0xDC00 + (v & 0x3FF));
      } else {
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      }
      out += escape;
    }
  }
  return out;
}

}  // namespace quorvex
