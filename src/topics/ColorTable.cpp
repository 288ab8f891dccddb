#include "topics/ColorTable.h"

#include <cstdio>

#include "topics/LineCursor.h"

namespace quorvex {

ColorTable ReadColorTable(std::string_view line) {
  ColorTable table;
  std::size_t start = line.find("{\\colortbl");
  if (start == std::string_view::npos) return table;
  LineCursor cursor(line, start + 10);
  while (cursor.Is(' ')) cursor.Step();
  if (cursor.Is(';')) {
    cursor.Step();
    table.push_back(0);  // the automatic colour takes number 0
  }
  // Each entry is "\redR\greenG\blueB;": the value read so far is shifted into
  // place when the next colour word (or the ";") arrives. Unsigned arithmetic
  // keeps absurdly long numbers from being undefined; they simply wrap.
  std::uint32_t value = 0;
  std::uint32_t color = 0;
  while (!cursor.AtEnd()) {
    if (cursor.LooksAt("\\red")) {
      value = 0;
      color = 0;
      cursor.Step(4);
    } else if (cursor.LooksAt("\\green")) {
      color = value << 16;
      value = 0;
      cursor.Step(6);
    } else if (cursor.LooksAt("\\blue")) {
      color += value << 8;
      value = 0;
      cursor.Step(5);
    } else if (cursor.Is(';')) {
      table.push_back(color + value);
      value = 0;
      cursor.Step();
    } else if (cursor.IsDigit()) {
      value = value * 10 + static_cast<std::uint32_t>(cursor.Take() - '0');
    } else {
      break;
    }
  }
  return table;
}

ByteString ColorDigits(std::uint32_t value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%06x", static_cast<unsigned>(value));
  return digits;
}

}  // namespace quorvex
