#pragma once
// The tokens of an RTF file: group braces, control words with their
// parameter, control symbols, hexadecimal escapes, binary data and text.
// Every read is bounds-checked; any byte sequence gives tokens.

#include <cstdint>
#include <string_view>

namespace quorvex {

enum class RtfTokenKind : std::uint8_t {
  GroupStart,     ///< "{"
  GroupEnd,       ///< "}"
  ControlWord,    ///< "\name" or "\name-12": Name, HasParameter, Parameter
  ControlSymbol,  ///< "\" and one non-letter: Symbol ("\\", "\{", "\}", "\~", "\*", "\-", "\_", "\:", "\|", "\n" for a line end)
  HexByte,        ///< "\'hh": Byte
  Binary,         ///< "\binN" and its N bytes: Bytes
  Text,           ///< bytes other than braces and backslashes, line ends left out: Bytes
  End,
};

struct RtfToken {
  RtfTokenKind Kind = RtfTokenKind::End;
  std::string_view Name;   ///< control word, up to 32 letters
  bool HasParameter = false;
  std::int32_t Parameter = 0;
  char Symbol = 0;
  std::uint8_t Byte = 0;
  std::string_view Bytes;
};

class RtfTokenizer {
 public:
  explicit RtfTokenizer(std::string_view data) : data_(data) {}

  /// The next token; End at the end of the data (and after it).
  RtfToken Next();

  /// Bytes read so far.
  std::size_t Position() const { return pos_; }

 private:
  RtfToken AfterBackslash();
  RtfToken ControlWord();
  RtfToken TextRun();
  bool At(std::size_t pos) const { return pos < data_.size(); }

  std::string_view data_;
  std::size_t pos_ = 0;
};

}  // namespace quorvex
