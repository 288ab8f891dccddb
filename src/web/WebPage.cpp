#include "web/WebPage.h"

#include <cctype>

namespace quorvex {
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::size_t FindIgnoringCase(std::string_view text, std::string_view lowerNeedle, std::size_t from = 0) {
  for (std::size_t pos = from; pos + lowerNeedle.size() <= text.size(); ++pos) {
    std::size_t i = 0;
    while (i < lowerNeedle.size() && Lower(text[pos + i]) == lowerNeedle[i]) ++i;
    if (i == lowerNeedle.size()) return pos;
  }
  return std::string_view::npos;
}

// The [start, end) of the first tag that begins with `lowerStart` and holds
// `lowerInside`; end is past `lowerEnd` (searched from the tag's start).
bool FindElement(std::string_view page, std::string_view lowerStart, std::string_view lowerInside,
                 std::string_view lowerEnd, std::size_t& start, std::size_t& end) {
  for (start = FindIgnoringCase(page, lowerStart); start != std::string_view::npos;
       start = FindIgnoringCase(page, lowerStart, start + 1)) {
    std::size_t tagEnd = page.find('>', start);
    if (tagEnd == std::string_view::npos) return false;
    if (FindIgnoringCase(page.substr(start, tagEnd - start), lowerInside) == std::string_view::npos) continue;
    std::size_t close = FindIgnoringCase(page, lowerEnd, start);
    if (close == std::string_view::npos) return false;
    end = close + lowerEnd.size();
    return true;
  }
  return false;
}

void Remove(std::string& page, std::string_view lowerStart, std::string_view lowerInside, std::string_view lowerEnd) {
  std::size_t start, end;
  if (FindElement(page, lowerStart, lowerInside, lowerEnd, start, end)) page.erase(start, end - start);
}

bool IsScriptEndLine(std::string_view line) {
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line.size() == 9 && FindIgnoringCase(line, "</script>") == 0;
}

// The conversion writes a page's own popup texts one per line between a
// "<script Language=JavaScript>" line and a "</script>" line, so the block's
// end is known even when a text holds "</script>". Without that end line the
// page is left as it is.
void EscapeInlinePopupTexts(std::string& page) {
  std::size_t open = FindIgnoringCase(page, "<script language=javascript>");
  std::size_t first = open == std::string::npos ? std::string::npos : page.find('\n', open);
  if (first == std::string::npos) return;
  for (std::size_t line = first + 1; line < page.size();) {
    std::size_t next = page.find('\n', line);
    if (IsScriptEndLine(std::string_view(page).substr(line, next == std::string::npos ? next : next - line))) {
      std::string escaped;
      for (std::size_t i = first + 1; i < line; ++i) {
        escaped += page[i];
        if (page[i] == '<' && page[i + 1] == '/') escaped += '\\';
      }
      page.replace(first + 1, line - first - 1, escaped);
      return;
    }
    if (next == std::string::npos) return;
    line = next + 1;
  }
}

}  // namespace

std::string WebStyleSheetFor(std::string_view utf8StyleSheet) {
  std::string css(utf8StyleSheet);
  constexpr std::string_view kProperty = "font-family:";
  for (std::size_t pos = FindIgnoringCase(css, kProperty); pos != std::string::npos;
       pos = FindIgnoringCase(css, kProperty, pos + kProperty.size())) {
    std::size_t end = css.find_first_of(";}", pos);
    if (end == std::string::npos) end = css.size();
    std::size_t last = end;
    while (last > pos && (css[last - 1] == ' ' || css[last - 1] == '\t')) --last;
    std::string_view families = std::string_view(css).substr(pos, last - pos);
    if (families.ends_with("serif") || families.ends_with("monospace")) continue;
    css.insert(last, ", sans-serif");
  }
  return css;
}

std::string WebPageFor(std::string_view utf8Page) {
  std::string page(utf8Page);
  EscapeInlinePopupTexts(page);
  Remove(page, "<meta", "charset", ">");
  Remove(page, "<object", "id=popup", "</object>");
  std::size_t head = FindIgnoringCase(page, "<head>");
  std::size_t at = 0;
  if (head != std::string::npos) {
    at = head + 6;
  } else if (std::size_t html = FindIgnoringCase(page, "<html"); html != std::string::npos) {
    std::size_t tagEnd = page.find('>', html);
    at = tagEnd == std::string::npos ? page.size() : tagEnd + 1;
  }
  std::string ours(at > 0 ? 1 : 0, '\n');
  ours += kWebPageHead;
  page.insert(at, ours);
  return page;
}

}  // namespace quorvex
