// libFuzzer target for what the browser help reads back from the HTML Help
// output: the input as a page (its text, title, first line and label, its
// browser copy and the search data made of it) and as a contents or index
// file. Pages in html\ may be left there by anyone, so any bytes must do.

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Encoding.h"
#include "web/HelpData.h"
#include "web/HtmlText.h"
#include "web/PageLabel.h"
#include "web/SearchIndex.h"
#include "web/Sitemap.h"
#include "web/WebPage.h"

using namespace quorvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string page = Cp932ToUtf8Replacing(bytes);
  PageText text = ReadPageText(page);
  std::string label = PageLabel(text, "page.html");
  WebPageFor(page);
  WebStyleSheetFor(page);
  SearchDataScript({{label, {text.firstLine}, text.text}});

  HelpData help;
  help.pages = {{"page.html", label}};
  help.contents = ReadSitemap(bytes);
  help.index = help.contents;
  MergeSameNames(help.index);
  HelpDataScript(help);
  return 0;
}
