#include "web/Sitemap.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::CrLf;
using test::Sjis;

SitemapEntry Entry(std::string name, std::vector<std::string> locals = {}, std::vector<SitemapEntry> children = {}) {
  return SitemapEntry{std::move(name), std::move(locals), {}, std::move(children)};
}

TEST(Sitemap, ContentsNestUnderTheEntryBeforeTheirList) {
  // The frame the contents writer uses: a site-properties object, tabs, one parameter a line.
  std::string hhc = Sjis(CrLf({
      "<HTML><HEAD></HEAD><BODY>", "<OBJECT type=\"text/site properties\">",
      "\t<param name=\"FrameName\" value=\"main\">", "</OBJECT>", "<UL>",
      "\t<LI> <OBJECT type=\"text/sitemap\">", "\t\t<param name=\"Name\" value=\"本\">", "\t\t</OBJECT>",
      "\t<UL>", "\t\t<LI> <OBJECT type=\"text/sitemap\">", "\t\t\t<param name=\"Name\" value=\"表\">",
      "\t\t\t<param name=\"Local\" value=\"html/表.html\">", "\t\t\t</OBJECT>", "\t<UL>",
      "\t\t<LI> <OBJECT type=\"text/sitemap\">", "\t\t\t<param name=\"Name\" value=\"深い\">", "\t\t\t</OBJECT>",
      "\t</UL>", "\t</UL>", "\t<LI> <OBJECT type=\"text/sitemap\">",
      // Names are written as they are: quotes, "\">" and "<UL>" inside one stay text.
      "\t\t<param name=\"Name\" value=\"a \"q\"> <UL> &amp; &#x263A;\">", "\t\t</OBJECT>", "</UL>",
      "</BODY></HTML>"}));
  EXPECT_EQ(ReadSitemap(hhc),
            (std::vector<SitemapEntry>{Entry("本", {}, {Entry("表", {"html/表.html"}, {Entry("深い")})}),
                                       Entry("a \"q\"> <UL> & ☺")}));
}

TEST(Sitemap, IndexEntriesAreNamedByTheirKeyword) {
  std::string hhk = CrLf({"<UL>", "<LI> <OBJECT type=\"text/sitemap\">", "<param name=\"Keyword\" value=\"k\">",
                          "<param name=\"Name\" value=\"title\">", "<param name=\"Local\" value=\"html/a.html\">",
                          "<param name=\"Local\" value=\"html/b.html\">", "</OBJECT>", "</UL></HTML>"});
  EXPECT_EQ(ReadSitemap(hhk), std::vector<SitemapEntry>{Entry("k", {"html/a.html", "html/b.html"})});
  // Stray tags do not crash or invent entries.
  EXPECT_EQ(ReadSitemap("</UL></UL><param name=\"Name\" value=\"x\"><UL><UL>"), std::vector<SitemapEntry>{});
}

TEST(Sitemap, SameNamesAmongSiblingsBecomeOneEntryWithAllPages) {
  std::vector<SitemapEntry> index = {
      Entry("設定", {"html/config.html"}),
      Entry("操作", {}, {Entry("質問", {"html/faq.html"}), Entry("質問", {"html/more.html"})}),
      Entry("設定", {"html/faq.html", "HTML/Config.html"}),
      Entry("操作", {}, {Entry("質問", {"html/faq.html"}), Entry("手順", {"html/usage.html"})}),
      Entry("設定 ", {"html/x.html"}),
  };
  MergeSameNames(index);
  EXPECT_EQ(index, (std::vector<SitemapEntry>{
                       Entry("設定", {"html/config.html", "html/faq.html"}),
                       Entry("操作", {}, {Entry("質問", {"html/faq.html", "html/more.html"}),
                                          Entry("手順", {"html/usage.html"})}),
                       Entry("設定 ", {"html/x.html"}),
                   }));
}

}  // namespace
}  // namespace quorvex
