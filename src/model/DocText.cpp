#include "model/DocText.h"

namespace quorvex {

DocText TrimBlanks(std::u32string_view text) {
  std::size_t first = 0, last = text.size();
  while (first < last && IsBlankChar(text[first])) ++first;
  while (last > first && IsBlankChar(text[last - 1])) --last;
  return DocText(text.substr(first, last - first));
}

DocText AsciiText(std::string_view text) {
  DocText out;
  out.reserve(text.size());
  for (char c : text) out.push_back(static_cast<unsigned char>(c));
  return out;
}

}  // namespace quorvex
