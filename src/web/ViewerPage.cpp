#include "web/ViewerPage.h"

#include <optional>

#include "web/HtmlText.h"
#include "web/JsonText.h"

namespace quorvex {
namespace {

std::string WordsJson(const ViewerLanguage& language) {
  std::string json = "{";
  for (const ViewerWord& word : language.words) {
    if (json.size() > 1) json += ',';
    json += JsonString(word.key) + ":" + JsonString(word.text);
  }
  return json + "}";
}

std::optional<std::string> Filling(std::string_view name, const ViewerLanguage& language, std::string_view title) {
  if (name == "lang") return std::string(language.tag);
  if (name == "title") return EscapeHtml(title);
  // JsonString escapes "<" and ">", so no word can end the script element the object stands in.
  if (name == "words") return WordsJson(language);
  for (const ViewerWord& word : language.words) {
    if (word.key == name) return EscapeHtml(word.text);
  }
  return std::nullopt;
}

}  // namespace

std::string ViewerPageFor(std::string_view pageTemplate, const ViewerLanguage& language, std::string_view title) {
  std::string page;
  std::size_t pos = 0;
  for (std::size_t open; (open = pageTemplate.find("{{", pos)) != std::string_view::npos;) {
    std::size_t close = pageTemplate.find("}}", open + 2);
    if (close == std::string_view::npos) break;
    page += pageTemplate.substr(pos, open - pos);
    std::optional<std::string> filling = Filling(pageTemplate.substr(open + 2, close - open - 2), language, title);
    page += filling ? *filling : std::string(pageTemplate.substr(open, close + 2 - open));
    pos = close + 2;
  }
  page += pageTemplate.substr(pos);
  return page;
}

}  // namespace quorvex
