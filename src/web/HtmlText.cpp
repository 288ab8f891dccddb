#include "web/HtmlText.h"

#include <cctype>
#include <cstdlib>

#include "base/ByteString.h"
#include "base/Utf8.h"

namespace quorvex {
namespace {

struct NamedEntity {
  std::string_view name;
  char32_t code;
};
constexpr NamedEntity kNamedEntities[] = {{"amp", '&'},  {"lt", '<'},     {"gt", '>'},
                                          {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}};

// The character of a reference body (between "&" and ";"), or 0 when unknown.
char32_t ReferencedCharacter(std::string_view body) {
  if (body.size() > 1 && body[0] == '#') {
    bool hex = body[1] == 'x' || body[1] == 'X';
    std::string digits(body.substr(hex ? 2 : 1));
    if (digits.empty() || digits.size() > 8) return 0xFFFD;
    for (char c : digits) {
      if (!(hex ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c)))) {
        return 0;
      }
    }
    unsigned long value = std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10);
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0xFFFD;
    return static_cast<char32_t>(value);
  }
  for (const NamedEntity& entity : kNamedEntities) {
    if (body == entity.name) return entity.code;
  }
  return 0;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

char LowerAscii(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Position of `lowerNeedle` in `text` from `from` on, letter case ignored.
std::size_t FindIgnoringCase(std::string_view text, std::string_view lowerNeedle, std::size_t from) {
  for (std::size_t pos = from; pos + lowerNeedle.size() <= text.size(); ++pos) {
    std::size_t i = 0;
    while (i < lowerNeedle.size() && LowerAscii(text[pos + i]) == lowerNeedle[i]) ++i;
    if (i == lowerNeedle.size()) return pos;
  }
  return std::string_view::npos;
}

// The tag name at `pos` (just after "<" or "</"), lower-cased.
std::string TagName(std::string_view html, std::size_t pos) {
  std::string name;
  for (; pos < html.size() && std::isalnum(static_cast<unsigned char>(html[pos])); ++pos) name += LowerAscii(html[pos]);
  return name;
}

// Tags after which the text goes on in another line or cell.
bool BreaksText(const std::string& name) {
  for (std::string_view breaking : {"br", "p", "div", "li", "tr", "td", "th", "hr", "table", "ul", "ol", "menu",
                                    "h1", "h2", "h3", "h4", "h5", "h6", "dt", "dd", "blockquote", "pre"}) {
    if (name == breaking) return true;
  }
  return false;
}

bool IsHeading(const std::string& name) {
  return name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6';
}

// Blank runs become one space; none at either end.
std::string CollapseBlanks(std::string_view text) {
  std::string out;
  bool pendingBlank = false;
  for (char c : text) {
    if (IsBlank(c)) {
      pendingBlank = !out.empty();
    } else {
      if (pendingBlank) out += ' ';
      pendingBlank = false;
      out += c;
    }
  }
  return out;
}

// Text without the spaces at either end, non-breaking and ideographic ones included.
std::string TrimSpaces(std::string text) {
  static constexpr std::string_view kSpaces[] = {" ", "\xC2\xA0", "\xE3\x80\x80"};
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    for (std::string_view space : kSpaces) {
      if (text.starts_with(space)) text.erase(0, space.size()), trimmed = true;
      if (text.ends_with(space)) text.erase(text.size() - space.size()), trimmed = true;
    }
  }
  return text;
}

// Where the element whose start tag ended before `pos` ends: after its end
// tag, or the end of the page when it has none.
std::size_t SkipElement(std::string_view html, std::size_t pos, const std::string& name) {
  std::size_t end = FindIgnoringCase(html, "</" + name, pos);
  if (end == std::string_view::npos) return html.size();
  std::size_t close = html.find('>', end);
  return close == std::string_view::npos ? html.size() : close + 1;
}

}  // namespace

std::string DecodeEntities(std::string_view html) {
  std::string out;
  out.reserve(html.size());
  for (std::size_t pos = 0; pos < html.size();) {
    if (html[pos] == '&') {
      std::size_t semicolon = html.find(';', pos + 1);
      if (semicolon != std::string_view::npos && semicolon - pos <= 12) {
        if (char32_t c = ReferencedCharacter(html.substr(pos + 1, semicolon - pos - 1))) {
          AppendUtf8(out, c);
          pos = semicolon + 1;
          continue;
        }
      }
    }
    out += html[pos++];
  }
  return out;
}

std::string UrlPathPart(std::string_view utf8) {
  std::string out;
  for (char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    out += std::isalnum(u) || c == '-' || c == '_' || c == '.' || c == '~' ? std::string(1, c) : PercentEscaped(u);
  }
  return out;
}

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

PageText ReadPageText(std::string_view html) {
  PageText page;
  std::string raw;
  bool inHeading = false;
  std::size_t lineStart = 0;  // where in `raw` the first line with text may begin
  // A line ends at a line-breaking tag, except inside a heading, which is one
  // line however it breaks. Lines without text (blanks, non-breaking spaces) do not count.
  auto lineEnds = [&] {
    if (!page.firstLine.empty() || inHeading) return;
    std::string line = TrimSpaces(CollapseBlanks(DecodeEntities(std::string_view(raw).substr(lineStart))));
    if (line.empty()) {
      lineStart = raw.size();
    } else {
      page.firstLine = std::move(line);
    }
  };
  for (std::size_t pos = 0; pos < html.size();) {
    if (html[pos] != '<') {
      raw += html[pos++];
      continue;
    }
    if (html.compare(pos, 4, "<!--") == 0) {
      std::size_t end = html.find("-->", pos + 4);
      pos = end == std::string_view::npos ? html.size() : end + 3;
      continue;
    }
    bool closing = pos + 1 < html.size() && html[pos + 1] == '/';
    std::string name = TagName(html, pos + (closing ? 2 : 1));
    std::size_t tagEnd = html.find('>', pos);
    pos = tagEnd == std::string_view::npos ? html.size() : tagEnd + 1;
    if (closing) {
      if (IsHeading(name)) inHeading = false;
      if (BreaksText(name)) {
        lineEnds();
        raw += ' ';
      }
    } else if (name == "title") {
      std::size_t end = SkipElement(html, pos, name);
      std::string_view inside = html.substr(pos, end - pos);
      page.title = CollapseBlanks(DecodeEntities(inside.substr(0, inside.rfind('<'))));
      pos = end;
    } else if (name == "script" || name == "style" || name == "object") {
      pos = SkipElement(html, pos, name);
    } else if (name == "head") {
      // Nothing in the head is the page's text, but the title is read from it.
      std::size_t end = SkipElement(html, pos, name);
      page.title = ReadPageText(html.substr(pos, end - pos)).title;
      pos = end;
    } else if (BreaksText(name)) {
      lineEnds();
      raw += ' ';
      if (IsHeading(name)) inHeading = true;
    }
  }
  page.text = CollapseBlanks(DecodeEntities(raw));
  inHeading = false;
  lineEnds();  // the text after the last line break is a line too
  return page;
}

}  // namespace quorvex
