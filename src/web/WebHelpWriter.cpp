#include "web/WebHelpWriter.h"

#include "base/CodePageText.h"
#include "base/Encoding.h"
#include "base/Files.h"
#include "base/Texts.h"
#include "project/HelpProjectWriter.h"
#include "project/NameMap.h"
#include "web/HelpData.h"
#include "web/HtmlText.h"
#include "web/SearchIndex.h"
#include "web/WebAssets.h"
#include "web/WebPage.h"

namespace quorvex {
namespace {

void ClearFolder(const ConversionJob& job, const ByteString& folder) {
  for (const ByteString& name : ListFiles(folder, "*")) DeleteFileInside(job.OutputFolder, folder + name);
}

void Write(const ConversionJob& job, const ByteString& path, std::string_view data) {
  WriteFileInside(job.OutputFolder, path, data);
}

// Every page of html\ as a browser page; returns what the viewer needs of each
// and fills `texts` with their readable text, in the same order.
std::vector<WebPageInfo> WritePages(const ConversionJob& job, const ByteString& web, std::vector<std::string>& texts) {
  std::vector<WebPageInfo> pages;
  const ByteString html = job.OutputFolder + "html\\";
  for (const ByteString& name : ListFiles(html, "*.htm*")) {
    std::string page = Cp932ToUtf8Replacing(ReadFile(html + name));
    PageText text = ReadPageText(page);
    std::string file = Cp932ToUtf8Replacing(name);
    pages.push_back({file, text.title.empty() ? file : text.title});
    texts.push_back(std::move(text.text));
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
  for (const ByteString& name : ListFiles(img, "*")) Write(job, web + "img\\" + name, ReadFile(img + name));
  // Files the pages link (what ExecFile named) come along as they are.
  for (const ByteString& name : ListFiles(html, "*")) {
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

void WriteAssets(const ConversionJob& job, const ByteString& web) {
  for (const WebAsset& asset : WebAssets()) {
    ByteString path = web;
    for (char c : asset.path) path += c == '/' ? '\\' : c;
    ForceDirectories(ExtractFileDir(path));
    Write(job, path, asset.data);
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
  std::vector<std::string> texts;
  data.pages = WritePages(job, web, texts);
  WritePageFiles(job, web);
  data.title = job.Title.empty() ? Cp932ToUtf8Replacing(ProjectBaseName(job)) : Utf8FromCodePage(job.Title, job.CodePage);
  data.contents = ReadSitemapFile(job, job.HasContents, ".hhc");
  data.index = ReadSitemapFile(job, job.HasIndex, ".hhk");
  MergeSameNames(data.index);
  data.defaultPage = DefaultPage(job, data);
  Write(job, web + "webhelp\\help-data.js", HelpDataScript(data));
  Write(job, web + "webhelp\\search-data.js", SearchDataScript(texts));
  WriteAssets(job, web);
}

}  // namespace quorvex
