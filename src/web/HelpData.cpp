#include "web/HelpData.h"

#include <cctype>

#include "web/JsonText.h"

namespace quorvex {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

std::string JsonList(const std::vector<std::string>& items) {
  std::string json = "[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) json += ',';
    json += JsonString(items[i]);
  }
  return json + "]";
}

std::string EntriesJson(const std::vector<WebPageInfo>& pages, const std::vector<SitemapEntry>& entries,
                        const std::string& indent) {
  std::string json = "[";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const SitemapEntry& entry = entries[i];
    std::vector<std::string> found, missing;
    for (const std::string& local : entry.locals) {
      std::string page = ResolveLocal(pages, local);
      (page.empty() ? missing : found).push_back(page.empty() ? local : page);
    }
    json += i > 0 ? ",\n" : "\n";
    json += indent + "{\"n\":" + JsonString(entry.name) + ",\"p\":" + JsonList(found);
    if (!missing.empty()) json += ",\"x\":" + JsonList(missing);
    if (!entry.children.empty()) json += ",\"c\":" + EntriesJson(pages, entry.children, indent + " ");
    json += "}";
  }
  return json + "]";
}

}  // namespace

std::string ResolveLocal(const std::vector<WebPageInfo>& pages, const std::string& local) {
  std::string_view name = local;
  if (name.size() > 5 && SameIgnoringCase(name.substr(0, 5), "html/")) name.remove_prefix(5);
  for (const WebPageInfo& page : pages) {
    if (SameIgnoringCase(page.file, name)) return page.file;
  }
  return {};
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
  script += "],\n\"contents\":" + EntriesJson(data.pages, data.contents, "") + ",\n\"index\":" +
            EntriesJson(data.pages, data.index, "") + "};\n";
  return script;
}

}  // namespace quorvex
