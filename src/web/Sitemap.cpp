#include "web/Sitemap.h"

#include <algorithm>
#include <cctype>

#include "base/Encoding.h"
#include "base/StringList.h"
#include "web/HtmlText.h"

namespace quorvex {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

bool LooksAt(std::string_view line, std::size_t pos, std::string_view word) {
  return pos + word.size() <= line.size() && SameIgnoringCase(line.substr(pos, word.size()), word);
}

// Position of `lowerWord` in `line` from `from` on, letter case ignored.
std::size_t Find(std::string_view line, std::string_view lowerWord, std::size_t from) {
  for (std::size_t i = from; i + lowerWord.size() <= line.size(); ++i) {
    if (LooksAt(line, i, lowerWord)) return i;
  }
  return std::string_view::npos;
}

// The value of the attribute `key="..."` in the tag at `pos`. Names are
// written into these files as they are, quotes included, so a value runs to
// the last '">' before the next <param> of the line (or the line's end).
std::string_view Attribute(std::string_view line, std::size_t pos, std::string_view key) {
  std::size_t at = Find(line, std::string(key) + "=\"", pos);
  if (at == std::string_view::npos) return {};
  std::size_t start = at + key.size() + 2;
  std::size_t limit = std::min(Find(line, "<param", start), line.size());
  std::string_view rest = line.substr(start, limit - start);
  std::size_t end = rest.rfind("\">");
  if (end == std::string_view::npos) end = rest.rfind('"');
  return rest.substr(0, end);
}

std::string Text(std::string_view cp932) { return DecodeEntities(Cp932ToUtf8Replacing(cp932)); }

// Fills the tree while the tags go by.
class SitemapBuilder {
 public:
  void OpenList() {
    if (lists_.empty()) {
      lists_.push_back(&root_);
    } else if (lists_.back()->empty()) {
      lists_.push_back(lists_.back());  // a list without an entry before it nests nothing
    } else {
      lists_.push_back(&lists_.back()->back().children);
    }
  }
  void CloseList() {
    if (!lists_.empty()) lists_.pop_back();
  }
  void OpenEntry() {
    std::vector<SitemapEntry>* list = lists_.empty() ? &root_ : lists_.back();
    list->emplace_back();
    entry_ = &list->back();
    keyword_.clear();
    name_.clear();
  }
  void CloseEntry() {
    if (entry_) entry_->name = keyword_.empty() ? name_ : keyword_;
    entry_ = nullptr;
  }
  void Parameter(std::string_view name, std::string_view value) {
    if (!entry_) return;
    if (SameIgnoringCase(name, "Keyword")) keyword_ = Text(value);
    if (SameIgnoringCase(name, "Name")) name_ = Text(value);
    if (SameIgnoringCase(name, "Local")) entry_->locals.push_back(Text(value));
  }
  std::vector<SitemapEntry> Take() {
    CloseEntry();
    return std::move(root_);
  }

 private:
  std::vector<SitemapEntry> root_;
  std::vector<std::vector<SitemapEntry>*> lists_;  // each points into the list before it, which stays still
  SitemapEntry* entry_ = nullptr;
  std::string keyword_, name_;
};

bool TagNamesSitemapEntry(std::string_view line, std::size_t pos) {
  std::size_t end = line.find('>', pos);
  std::string_view tag = line.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
  for (std::size_t i = 0; i < tag.size(); ++i) {
    if (LooksAt(tag, i, "\"text/sitemap\"")) return true;
  }
  return false;
}

void ReadLine(std::string_view line, SitemapBuilder& builder) {
  for (std::size_t pos = line.find('<'); pos != std::string_view::npos; pos = line.find('<', pos + 1)) {
    if (LooksAt(line, pos, "<ul")) {
      builder.OpenList();
    } else if (LooksAt(line, pos, "</ul")) {
      builder.CloseList();
    } else if (LooksAt(line, pos, "<object")) {
      builder.CloseEntry();
      if (TagNamesSitemapEntry(line, pos)) builder.OpenEntry();
    } else if (LooksAt(line, pos, "</object")) {
      builder.CloseEntry();
    } else if (LooksAt(line, pos, "<param")) {
      std::string_view name = Attribute(line, pos, "name");
      name = name.substr(0, name.find('"'));
      std::string_view value = Attribute(line, pos, "value");
      builder.Parameter(name, value);
      // A "<" inside the value is text, not a tag.
      if (!value.empty()) pos = static_cast<std::size_t>(value.data() - line.data()) + value.size();
    }
  }
}

}  // namespace

std::vector<SitemapEntry> ReadSitemap(std::string_view cp932) {
  StringList lines;
  lines.SetText(cp932);
  SitemapBuilder builder;
  for (const ByteString& line : lines) ReadLine(line, builder);
  return builder.Take();
}

void MergeSameNames(std::vector<SitemapEntry>& entries) {
  std::vector<SitemapEntry> merged;
  for (SitemapEntry& entry : entries) {
    SitemapEntry* same = nullptr;
    for (SitemapEntry& kept : merged) {
      if (kept.name == entry.name) same = &kept;
    }
    if (!same) {
      merged.push_back(std::move(entry));
      continue;
    }
    for (std::string& local : entry.locals) {
      bool known = false;
      for (const std::string& have : same->locals) known = known || SameIgnoringCase(have, local);
      if (!known) same->locals.push_back(std::move(local));
    }
    for (SitemapEntry& child : entry.children) same->children.push_back(std::move(child));
  }
  for (SitemapEntry& entry : merged) MergeSameNames(entry.children);
  entries = std::move(merged);
}

}  // namespace quorvex
