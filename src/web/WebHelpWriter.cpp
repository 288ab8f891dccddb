#include "web/WebHelpWriter.h"

#include <unordered_map>

#include "base/CodePageText.h"
#include "base/Encoding.h"
#include "base/Files.h"
#include "base/Texts.h"
#include "project/HelpProjectWriter.h"
#include "project/NameMap.h"
#include "web/HelpData.h"
#include "web/HtmlText.h"
#include "web/OtherHelpLinks.h"
#include "web/PageLabel.h"
#include "web/SearchIndex.h"
#include "web/ViewerPage.h"
#include "web/ViewerWords.h"
#include "web/WebAssets.h"
#include "web/WebPage.h"

namespace quorvex {
namespace {

// Pages and files whose names begin with a dot (a context ".HVCNA" gives
// ".hvcna.html") belong to the help like any other.
std::vector<ByteString> AllFiles(const ByteString& folder, const ByteString& pattern) {
  return ListFiles(folder, pattern, HiddenFiles::Listed);
}

void ClearFolder(const ConversionJob& job, const ByteString& folder) {
  for (const ByteString& name : AllFiles(folder, "*")) DeleteFileInside(job.OutputFolder, folder + name);
}

void Write(const ConversionJob& job, const ByteString& path, std::string_view data) {
  WriteFileInside(job.OutputFolder, path, data);
}

// Every page of html\ as a browser page; returns what the viewer needs of each
// and fills `search` with what the search looks into, in the same order.
std::vector<WebPageInfo> WritePages(const ConversionJob& job, const ByteString& web, std::vector<SearchPage>& search) {
  std::vector<WebPageInfo> pages;
  const ByteString html = job.OutputFolder + "html\\";
  const OtherHelpLinks otherHelps(job);
  for (const ByteString& name : AllFiles(html, "*.htm*")) {
    std::vector<std::string> refused;
    std::string page = otherHelps.RewritePage(Cp932ToUtf8Replacing(ReadFile(html + name)), refused);
    for (const std::string& link : refused) {
      job.WarnOnce(html + name, "the browser help shows the link to " + Utf8ToCp932(link).value_or(ByteString(link)) +
                                    " as text: the run does not convert that help");
    }
    PageText text = ReadPageText(page);
    std::string file = Cp932ToUtf8Replacing(name);
    pages.push_back({file, PageLabel(text, file)});
    search.push_back({pages.back().title, {}, std::move(text.text)});
    Write(job, web + "html\\" + name, WebPageFor(page));
    job.ProcessPendingEvents();
  }
  return pages;
}

// help.css and popup.js in UTF-8, and every picture as it is.
void WritePageFiles(const ConversionJob& job, const ByteString& web) {
  const ByteString html = job.OutputFolder + "html\\";
  if (FileExists(html + "help.css")) {
    Write(job, web + "html\\help.css", WebStyleSheetFor(Cp932ToUtf8Replacing(ReadFile(html + "help.css"))));
  }
  // A popup.js left by an earlier conversion that combined popups serves no page of this one.
  if (job.CombinePopups && FileExists(html + "popup.js")) {
    Write(job, web + "html\\popup.js", Cp932ToUtf8Replacing(ReadFile(html + "popup.js")));
  }
  const ByteString img = job.OutputFolder + "img\\";
  for (const ByteString& name : AllFiles(img, "*")) Write(job, web + "img\\" + name, ReadFile(img + name));
  // Files the pages link (what ExecFile named) come along as they are.
  for (const ByteString& name : AllFiles(html, "*")) {
    if (MatchesWildcard(name, "*.htm*") || SameText(name, "help.css") || SameText(name, "popup.js")) continue;
    Write(job, web + "html\\" + name, ReadFile(html + name));
  }
}

std::vector<SitemapEntry> ReadSitemapFile(const ConversionJob& job, bool written, const char* extension) {
  ByteString path = job.OutputFolder + ProjectBaseName(job) + extension;
  if (!written || !FileExists(path)) return {};
  return ReadSitemap(ReadFile(path));
}

// The first page that the contents open, in reading order.
std::string FirstContentsPage(const PageLookup& pages, const std::vector<SitemapEntry>& entries) {
  for (const SitemapEntry& entry : entries) {
    for (const std::string& local : entry.locals) {
      if (std::string page = pages.Resolve(local); !page.empty()) return page;
    }
    if (std::string page = FirstContentsPage(pages, entry.children); !page.empty()) return page;
  }
  return {};
}

// The project's default topic; else the first page of the contents; else the first page.
std::string DefaultPage(const ConversionJob& job, const HelpData& data) {
  if (data.pages.empty()) return {};
  const PageLookup pages(data.pages);
  std::string page = pages.Resolve(Cp932ToUtf8Replacing(quorvex::DefaultPage(job)));
  if (page.empty()) page = FirstContentsPage(pages, data.contents);
  return page.empty() ? data.pages.front().file : page;
}

// Each page's keywords in the index (sub-entries by their own name), for the search.
void AddKeywords(const PageLookup& pages, const std::vector<SitemapEntry>& entries,
                 const std::unordered_map<std::string, std::size_t>& order, std::vector<SearchPage>& search) {
  for (const SitemapEntry& entry : entries) {
    for (const std::string& local : entry.locals) {
      auto found = order.find(pages.Resolve(local));
      if (found == order.end()) continue;
      std::vector<std::string>& keywords = search[found->second].keywords;
      if (keywords.empty() || keywords.back() != entry.name) keywords.push_back(entry.name);
    }
    AddKeywords(pages, entry.children, order, search);
  }
}

void AddKeywords(const HelpData& data, std::vector<SearchPage>& search) {
  std::unordered_map<std::string, std::size_t> order;
  for (std::size_t i = 0; i < data.pages.size(); ++i) order.emplace(data.pages[i].file, i);
  AddKeywords(PageLookup(data.pages), data.index, order, search);
}

// The viewer's files; index.html is the template of the viewer page in the help's language.
// Contents entries that open a page of another help of the run open its
// browser help; those of helps the run does not convert stay missing pages.
void LinkOtherHelps(const ConversionJob& job, std::vector<SitemapEntry>& entries) {
  const OtherHelpLinks otherHelps(job);
  for (SitemapEntry& entry : entries) {
    std::vector<std::string> locals;
    for (std::string& local : entry.locals) {
      std::string href = OtherHelpLinks::IsOtherHelpLink(local) ? otherHelps.WebHref(local, 0) : std::string();
      if (href.empty()) {
        locals.push_back(std::move(local));
      } else {
        entry.others.push_back(std::move(href));
      }
    }
    entry.locals = std::move(locals);
    LinkOtherHelps(job, entry.children);
  }
}

void WriteAssets(const ConversionJob& job, const ByteString& web, const ViewerLanguage& language,
                 const std::string& title) {
  for (const WebAsset& asset : WebAssets()) {
    ByteString path = web;
    for (char c : asset.path) path += c == '/' ? '\\' : c;
    ForceDirectories(ExtractFileDir(path));
    Write(job, path, asset.path == "index.html" ? ViewerPageFor(asset.data, language, title) : std::string(asset.data));
  }
}

}  // namespace

void WriteWebHelp(ConversionJob& job) {
  job.ReportStatus(kStatusWebHelp);
  const ByteString web = job.OutputFolder + "web\\";
  for (const char* folder : {"html", "img", "webhelp"}) {
    ClearFolder(job, web + folder + "\\");
    ForceDirectories(web + folder);
  }
  HelpData data;
  std::vector<SearchPage> search;
  data.pages = WritePages(job, web, search);
  WritePageFiles(job, web);
  data.title = job.Title.empty() ? Cp932ToUtf8Replacing(ProjectBaseName(job)) : Utf8FromCodePage(job.Title, job.CodePage);
  data.contents = ReadSitemapFile(job, job.HasContents, ".hhc");
  LinkOtherHelps(job, data.contents);
  data.index = ReadSitemapFile(job, job.HasIndex, ".hhk");
  MergeSameNames(data.index);
  data.defaultPage = DefaultPage(job, data);
  Write(job, web + "webhelp\\help-data.js", HelpDataScript(data));
  std::vector<std::string_view> texts;
  for (const SearchPage& page : search) texts.push_back(page.text);
  const ViewerLanguage& language = ViewerLanguageFor(job.CodePage, texts);
  AddKeywords(data, search);
  Write(job, web + "webhelp\\search-data.js", SearchDataScript(search));
  WriteAssets(job, web, language, data.title);
}

}  // namespace quorvex
