#include "topics/ScriptString.h"

namespace quorvex {
namespace {

// A byte that can complete a double-byte character after a lead byte.
bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// Bytes written as a backslash sequence.
bool NeedsEscape(char c) { return c == '"' || c == '\r' || c == '\n'; }

}  // namespace

ByteString EscapeScriptString(std::string_view text) {
  ByteString out;
  int backslashRun = 0;  // backslashes directly before the position (trail bytes never count)
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    bool hasNext = i + 1 < text.size();
    if (IsLeadByte(c) && hasNext && IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
      out += text.substr(i, 2);
      ++i;
      backslashRun = 0;
      continue;
    }
    if (IsLeadByte(c) && (!hasNext || NeedsEscape(text[i + 1]))) {
      // A lead byte without its trail byte shows as nothing readable; kept, it
      // would swallow the backslash of the next escape (or the closing quote).
      continue;
    }
    if (c == '\r' || c == '\n') {
      // Only a hexadecimal escape can bring a line end here; raw, it would end
      // the script line in the middle of the string. An unpaired backslash
      // before it is paired first so that it cannot take the escape's own.
      if (backslashRun % 2 == 1) out += '\\';
      out += c == '\r' ? "\\r" : "\\n";
      backslashRun = 0;
      continue;
    }
    if (c == '"' && backslashRun % 2 == 0) out += '\\';
    out += static_cast<char>(c);
    backslashRun = c == '\\' ? backslashRun + 1 : 0;
  }
  if (backslashRun % 2 == 1) out += '\\';
  return out;
}

}  // namespace quorvex
