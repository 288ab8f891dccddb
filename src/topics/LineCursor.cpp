#include "topics/LineCursor.h"

#include <algorithm>
#include <limits>

#include "base/Errors.h"

namespace quorvex {

LineCursor::LineCursor(std::string_view line, std::size_t position)
    : line_(line), position_(std::min(position, line.size())) {}

bool LineCursor::Is(char c, std::size_t offset) const {
  return position_ + offset < line_.size() && line_[position_ + offset] == c;
}

bool LineCursor::IsDigit(std::size_t offset) const {
  return position_ + offset < line_.size() && line_[position_ + offset] >= '0' && line_[position_ + offset] <= '9';
}

void LineCursor::Step(std::size_t count) { position_ += std::min(count, line_.size() - position_); }

void LineCursor::StepBack(std::size_t count) { position_ -= std::min(count, position_); }

char LineCursor::Take() {
  char c = line_[position_];
  Step();
  return c;
}

void LineCursor::StepOverSpace() {
  if (Is(' ')) Step();
}

void LineCursor::AdvanceTo(char c) {
  while (!AtEnd() && Current() != c) Step();
}

void LineCursor::AdvancePast(char c) {
  AdvanceTo(c);
  Step();
}

void LineCursor::SkipControlWord() {
  while (!AtEnd()) {
    char c = Current();
    if (c == ' ') {
      Step();
      return;
    }
    if (c == '\\' || c == '{') return;
    Step();
  }
}

void LineCursor::SkipGroup() {
  while (!AtEnd() && Current() != '}') Step(Is('\\') && Is('{', 1) ? 2 : 1);
  if (Is('}')) {
    Step();
    StepOverSpace();
  }
}

unsigned LineCursor::ReadNumber() {
  constexpr unsigned kMax = std::numeric_limits<unsigned>::max();
  unsigned value = 0;
  while (IsDigit()) {
    unsigned digit = static_cast<unsigned>(Take() - '0');
    value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
  }
  return value;
}

char LineCursor::TakeHexByte() {
  std::string_view digits = Rest().substr(0, 2);
  int high = digits.size() == 2 ? HexDigitValue(digits[0]) : -1;
  int low = digits.size() == 2 ? HexDigitValue(digits[1]) : -1;
  if (high < 0 || low < 0) throw EConvertError("$" + ByteString(digits));
  Step(2);
  return static_cast<char>(high * 16 + low);
}

}  // namespace quorvex
