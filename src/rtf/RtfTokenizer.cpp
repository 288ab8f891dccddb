#include "rtf/RtfTokenizer.h"

#include <algorithm>
#include <limits>

#include "base/ByteString.h"

namespace quorvex {
namespace {

constexpr std::size_t kMaxWordLength = 32;
constexpr int kMaxParameterDigits = 10;

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

RtfToken RtfTokenizer::Next() {
  // Line ends are no part of RTF text; they only end control words.
  while (At(pos_) && (data_[pos_] == '\r' || data_[pos_] == '\n')) ++pos_;
  RtfToken token;
  if (!At(pos_)) return token;
  switch (data_[pos_]) {
    case '{':
      ++pos_;
      token.Kind = RtfTokenKind::GroupStart;
      return token;
    case '}':
      ++pos_;
      token.Kind = RtfTokenKind::GroupEnd;
      return token;
    case '\\':
      return AfterBackslash();
    default:
      return TextRun();
  }
}

RtfToken RtfTokenizer::AfterBackslash() {
  RtfToken token;
  const std::size_t start = pos_;
  if (!At(pos_ + 1)) {  // a backslash at the very end is text
    ++pos_;
    token.Kind = RtfTokenKind::Text;
    token.Bytes = data_.substr(start, 1);
    return token;
  }
  const char next = data_[pos_ + 1];
  if (IsLetter(next)) return ControlWord();
  if (next == '\'') {
    int high = At(pos_ + 2) ? HexDigitValue(data_[pos_ + 2]) : -1;
    int low = At(pos_ + 3) ? HexDigitValue(data_[pos_ + 3]) : -1;
    if (high < 0 || low < 0) {  // a malformed escape is taken as text
      pos_ += 2;
      token.Kind = RtfTokenKind::Text;
      token.Bytes = data_.substr(start, 2);
      return token;
    }
    pos_ += 4;
    token.Kind = RtfTokenKind::HexByte;
    token.Byte = static_cast<std::uint8_t>(high * 16 + low);
    return token;
  }
  pos_ += 2;
  token.Kind = RtfTokenKind::ControlSymbol;
  token.Symbol = next == '\r' || next == '\n' ? '\n' : next;
  return token;
}

RtfToken RtfTokenizer::ControlWord() {
  RtfToken token;
  token.Kind = RtfTokenKind::ControlWord;
  std::size_t begin = pos_ + 1, end = begin;
  while (At(end) && IsLetter(data_[end]) && end - begin < kMaxWordLength) ++end;
  token.Name = data_.substr(begin, end - begin);
  pos_ = end;
  std::size_t digits = pos_;
  bool negative = At(digits) && data_[digits] == '-';
  if (negative) ++digits;
  if (At(digits) && IsDigit(data_[digits])) {
    long long value = 0;
    int count = 0;
    while (At(digits) && IsDigit(data_[digits])) {
      // Longer numbers than any real parameter stop growing but are read whole.
      if (count++ < kMaxParameterDigits) value = value * 10 + (data_[digits] - '0');
      ++digits;
    }
    if (negative) value = -value;
    value = std::max<long long>(std::numeric_limits<std::int32_t>::min(),
                                std::min<long long>(std::numeric_limits<std::int32_t>::max(), value));
    token.HasParameter = true;
    token.Parameter = static_cast<std::int32_t>(value);
    pos_ = digits;
  }
  if (At(pos_) && data_[pos_] == ' ') ++pos_;  // the delimiting space belongs to the word
  if (token.Name == "bin" && token.HasParameter && token.Parameter > 0) {
    std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(token.Parameter), data_.size() - pos_);
    token.Kind = RtfTokenKind::Binary;
    token.Bytes = data_.substr(pos_, length);
    pos_ += length;
  }
  return token;
}

RtfToken RtfTokenizer::TextRun() {
  RtfToken token;
  token.Kind = RtfTokenKind::Text;
  const std::size_t start = pos_;
  while (At(pos_)) {
    char c = data_[pos_];
    if (c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n') break;
    ++pos_;
  }
  token.Bytes = data_.substr(start, pos_ - start);
  return token;
}

}  // namespace quorvex
