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

std::string SearchDataScript(const std::vector<SearchPage>& pages) {
  std::map<std::string, std::vector<std::size_t>> grams;
  auto index = [&grams](std::size_t page, std::string_view text) {
    std::u32string folded = DecodeUtf8(text);
    for (char32_t& c : folded) c = SearchFold(c);
    for (std::size_t i = 0; i + 1 < folded.size(); ++i) {
      if (IsBlank(folded[i]) || IsBlank(folded[i + 1])) continue;
      std::vector<std::size_t>& holding = grams[EncodeUtf8(folded.substr(i, 2))];
      if (holding.empty() || holding.back() != page) holding.push_back(page);
    }
  };
  std::vector<std::string> keys;
  for (std::size_t page = 0; page < pages.size(); ++page) {
    index(page, pages[page].title);
    std::string joined;
    for (const std::string& keyword : pages[page].keywords) {
      index(page, keyword);
      // A line break between keywords: no search word, which has no blanks, runs over two.
      joined += (joined.empty() ? "" : "\n") + keyword;
    }
    keys.push_back(std::move(joined));
    index(page, pages[page].text);
  }
  std::string script = "window.QuorvexHelp = window.QuorvexHelp || {};\nQuorvexHelp.searchData = {\"texts\":[";
  for (std::size_t i = 0; i < pages.size(); ++i) {
    script += i > 0 ? ",\n" : "\n";
    script += JsonString(pages[i].text);
  }
  script += "],\n\"keys\":[";
  for (std::size_t i = 0; i < keys.size(); ++i) {
    script += i > 0 ? ",\n" : "\n";
    script += JsonString(keys[i]);
  }
  script += "],\n\"grams\":{";
  bool first = true;
  for (const auto& [gram, holding] : grams) {
    script += first ? "\n" : ",\n";
    script += JsonString(gram) + ":[";
    for (std::size_t i = 0; i < holding.size(); ++i) {
      if (i > 0) script += ',';
      script += std::to_string(holding[i]);
    }
    script += "]";
    first = false;
  }
  script += "}};\n";
  return script;
}

}  // namespace quorvex
