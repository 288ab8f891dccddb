#include "web/HelpData.h"

#include <cctype>

#include "web/JsonText.h"

namespace quorvex {
namespace {

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string JsonList(const std::vector<std::string>& items) {
  std::string json = "[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) json += ',';
    json += JsonString(items[i]);
  }
  return json + "]";
}

std::string EntriesJson(const PageLookup& pages, const std::vector<SitemapEntry>& entries, const std::string& indent) {
  std::string json = "[";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const SitemapEntry& entry = entries[i];
    std::vector<std::string> found, missing;
    for (const std::string& local : entry.locals) {
      std::string page = pages.Resolve(local);
      (page.empty() ? missing : found).push_back(page.empty() ? local : page);
    }
    json += i > 0 ? ",\n" : "\n";
    json += indent + "{\"n\":" + JsonString(entry.name) + ",\"p\":" + JsonList(found);
    if (!missing.empty()) json += ",\"x\":" + JsonList(missing);
    if (!entry.others.empty()) json += ",\"e\":" + JsonList(entry.others);
    if (!entry.children.empty()) json += ",\"c\":" + EntriesJson(pages, entry.children, indent + " ");
    json += "}";
  }
  return json + "]";
}

}  // namespace

PageLookup::PageLookup(const std::vector<WebPageInfo>& pages) {
  for (const WebPageInfo& page : pages) files_.emplace(AsciiLower(page.file), page.file);
}

std::string PageLookup::Resolve(const std::string& local) const {
  std::string name = AsciiLower(local.substr(0, local.find('#')));
  if (name.rfind("html/", 0) == 0) name.erase(0, 5);
  auto found = files_.find(name);
  return found == files_.end() ? std::string() : found->second;
}

std::string HelpDataScript(const HelpData& data) {
  std::string script = "window.QuorvexHelp = window.QuorvexHelp || {};\nQuorvexHelp.data = {\n\"title\":" +
                       JsonString(data.title) + ",\n\"defaultPage\":" + JsonString(data.defaultPage) +
                       ",\n\"pages\":[";
  for (std::size_t i = 0; i < data.pages.size(); ++i) {
    script += i > 0 ? ",\n" : "\n";
    script += "{\"f\":" + JsonString(data.pages[i].file) +
              ",\"t\":" + JsonString(data.pages[i].title) + "}";
  }
  const PageLookup lookup(data.pages);
  script += "],\n\"contents\":" + EntriesJson(lookup, data.contents, "") + ",\n\"index\":" +
            EntriesJson(lookup, data.index, "") + "};\n";
  return script;
}

}  // namespace quorvex
