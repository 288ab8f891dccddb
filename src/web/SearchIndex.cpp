#include "web/SearchIndex.h"

#include <map>

#include "web/JsonText.h"
#include "base/Utf8.h"

namespace quorvex {
namespace {

// U+FF61 to U+FF9F in full width; the sound marks stay spacing marks so that
// folding keeps one character for one.
constexpr char32_t kFullWidthKatakana[] =
    U"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";

bool IsBlank(char32_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == 0xA0; }

}  // namespace

char32_t SearchFold(char32_t c) {
  if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;
  if (c >= 'A' && c <= 'Z') return c + ('a' - 'A');
  if (c == 0x3000) return ' ';
  if (c >= 0xFF61 && c <= 0xFF9F) return kFullWidthKatakana[c - 0xFF61];
  return c;
}

std::string SearchDataScript(const std::vector<std::string>& texts) {
  std::map<std::string, std::vector<std::size_t>> grams;
  for (std::size_t page = 0; page < texts.size(); ++page) {
    std::u32string folded = DecodeUtf8(texts[page]);
    for (char32_t& c : folded) c = SearchFold(c);
    for (std::size_t i = 0; i + 1 < folded.size(); ++i) {
      if (IsBlank(folded[i]) || IsBlank(folded[i + 1])) continue;
      std::vector<std::size_t>& pages = grams[EncodeUtf8(folded.substr(i, 2))];
      if (pages.empty() || pages.back() != page) pages.push_back(page);
    }
  }
  std::string script = "window.QuorvexHelp = window.QuorvexHelp || {};\nQuorvexHelp.searchData = {\"texts\":[";
  for (std::size_t i = 0; i < texts.size(); ++i) {
    script += i > 0 ? ",\n" : "\n";
    script += JsonString(texts[i]);
  }
  script += "],\n\"grams\":{";
  bool first = true;
  for (const auto& [gram, pages] : grams) {
    script += first ? "\n" : ",\n";
    script += JsonString(gram) + ":[";
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (i > 0) script += ',';
      script += std::to_string(pages[i]);
    }
    script += "]";
    first = false;
  }
  script += "}};\n";
  return script;
}

}  // namespace quorvex
