#include "web/PageLabel.h"

#include "base/Utf8.h"

namespace quorvex {
namespace {

bool IsBlank(char32_t c) { return c == ' ' || c == 0xA0 || c == 0x3000; }

// Marks after which Japanese text may be cut.
bool EndsClause(char32_t c) { return std::u32string_view(U"、。，．・：；！？）」』】").find(c) != std::u32string_view::npos; }

// Trailing blanks and the punctuation that would dangle before "…".
std::u32string TrimEnd(std::u32string text) {
  while (!text.empty() &&
         (IsBlank(text.back()) || std::u32string_view(U",;:-、。，．・：；").find(text.back()) != std::u32string_view::npos)) {
    text.pop_back();
  }
  return text;
}

}  // namespace

std::string ShortenAtWord(std::string_view text, std::size_t limit) {
  std::u32string chars = DecodeUtf8(text);
  if (chars.size() <= limit) return std::string(text);
  std::size_t cut = limit;
  for (std::size_t i = limit; i > limit / 2; --i) {
    if (IsBlank(chars[i])) {
      cut = i;
      break;
    }
    if (EndsClause(chars[i - 1])) {
      cut = i;
      break;
    }
  }
  return EncodeUtf8(TrimEnd(chars.substr(0, cut))) + "…";
}

std::string PageLabel(const PageText& page, std::string_view file) {
  if (!page.title.empty()) return page.title;
  if (!page.firstLine.empty()) return ShortenAtWord(page.firstLine);
  return std::string(file);
}

}  // namespace quorvex
