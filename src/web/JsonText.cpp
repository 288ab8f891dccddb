#include "web/JsonText.h"

#include <cstdio>

#include "base/Utf8.h"

namespace quorvex {

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (char32_t c : DecodeUtf8(utf8)) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == '<' || c == '>' || c == 0x2028 || c == 0x2029) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          AppendUtf8(out, c);
        }
    }
  }
  out += '"';
  return out;
}

}  // namespace quorvex
