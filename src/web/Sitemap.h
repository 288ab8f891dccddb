#pragma once
// The contents (.hhc) and keyword index (.hhk) files as trees, read back for
// the browser help from what the conversion wrote.

#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

/// One entry of a contents or index file; texts are UTF-8.
struct SitemapEntry {
  std::string name;                  ///< the keyword of an index entry, else the shown name
  std::vector<std::string> locals;   ///< the pages it opens, as written ("html/x.html")
  std::vector<std::string> others;   ///< the browser helps of other helps of the run it opens (URLs)
  std::vector<SitemapEntry> children;

  bool operator==(const SitemapEntry&) const = default;
};

/// Reads the entries of a Shift-JIS .hhc or .hhk file. Each <UL> nests the
/// following entries under the entry before it; a parameter's value runs to
/// the '">' that ends its tag, so quotes inside a name survive.
std::vector<SitemapEntry> ReadSitemap(std::string_view cp932);

/// Joins siblings of the same name into the first of them, with the pages and
/// sub-entries of all, at every level: an index lists each keyword once, with
/// every page that named it.
void MergeSameNames(std::vector<SitemapEntry>& entries);

}  // namespace quorvex
