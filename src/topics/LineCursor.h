#pragma once
// A position in one line of a topic file. Every read and every step is
// bounded by the line: looking past its end sees nothing, stepping past it
// stops at the end, so no scan can leave the line however it is cut short.

#include <cstddef>
#include <string_view>

#include "base/ByteString.h"

namespace quorvex {

class LineCursor {
 public:
  explicit LineCursor(std::string_view line, std::size_t position = 0);

  /// The whole line.
  std::string_view Line() const { return line_; }
  /// Offset of the position in the line.
  std::size_t Position() const { return position_; }
  bool AtEnd() const { return position_ >= line_.size(); }
  /// The text from the position to the end of the line.
  std::string_view Rest() const { return line_.substr(position_); }

  /// True when the byte `offset` places ahead of the position is `c`; false past the end.
  bool Is(char c, std::size_t offset = 0) const;
  /// True when the byte `offset` places ahead is a decimal digit.
  bool IsDigit(std::size_t offset = 0) const;
  /// The byte at the position; only valid when not AtEnd().
  char Current() const { return line_[position_]; }
  /// True when the text at the position begins with `text`.
  bool LooksAt(std::string_view text) const { return StartsWith(Rest(), text); }
  /// The same with letter case ignored.
  bool LooksAtIgnoreCase(std::string_view text) const { return StartsWithIgnoreCase(Rest(), text); }

  /// Moves forward by `count` bytes, stopping at the end of the line.
  void Step(std::size_t count = 1);
  /// Moves back by `count` bytes, stopping at the start of the line.
  void StepBack(std::size_t count);
  /// The byte at the position, then steps over it; only valid when not AtEnd().
  char Take();

  /// Steps over one space if the position is at one.
  void StepOverSpace();
  /// Advances until the position is at `c` or at the end.
  void AdvanceTo(char c);
  /// Advances to the next `c` and steps over it (to the end when there is none).
  void AdvancePast(char c);
  /// Advances until a space, which is stepped over, or a backslash or "{",
  /// which are not, or the end: the rest of an RTF control word.
  void SkipControlWord();
  /// Advances to the next "}" (an escaped "{" counts as text), then steps over
  /// the "}" and one space after it: drops a group with all its text.
  void SkipGroup();
  /// Reads the decimal digits at the position (saturating rather than wrapping).
  unsigned ReadNumber();
  /// Reads the two hexadecimal digits at the position as one byte and steps
  /// over them. Anything else raises EConvertError("'$xy' ...") naming the two bytes.
  char TakeHexByte();

 private:
  std::string_view line_;
  std::size_t position_;
};

}  // namespace quorvex
