#pragma once
// What the viewer knows of a help: its pages, contents and index, written as
// the script web/webhelp/help-data.js (script files load from file:// where
// fetching data does not).

#include <string>
#include <unordered_map>
#include <vector>

#include "web/Sitemap.h"

namespace quorvex {

/// One page of the browser help: its file name in web/html and its title (UTF-8).
struct WebPageInfo {
  std::string file;
  std::string title;
};

/// Everything help-data.js holds (UTF-8).
struct HelpData {
  std::string title;        ///< the help's title
  std::string defaultPage;  ///< the page shown first, one of `pages`
  std::vector<WebPageInfo> pages;
  std::vector<SitemapEntry> contents;
  std::vector<SitemapEntry> index;
};

/// The pages by file name with letter case ignored, to look Locals up in.
class PageLookup {
 public:
  explicit PageLookup(const std::vector<WebPageInfo>& pages);
  /// The file name of the page a contents or index entry's Local names
  /// ("html/x.html" or "html/x.html#place", letter case ignored), or empty
  /// when the help has no such page.
  std::string Resolve(const std::string& local) const;

 private:
  std::unordered_map<std::string, std::string> files_;
};

/// The script help-data.js. Entries' pages are resolved to page file names;
/// an entry keeps the Locals it names but the help lacks apart, so the
/// viewer can show them as missing instead of sending the reader nowhere.
std::string HelpDataScript(const HelpData& data);

}  // namespace quorvex
