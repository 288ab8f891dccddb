#include "project/ContentsConverter.h"

#include <gtest/gtest.h>

#include "convert/Driver.h"
#include "base/Files.h"
#include "project/HelpProjectWriter.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::CrLf;
using test::Sjis;
using test::TempDir;

const std::string kHeader = CrLf({"<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">", "<HTML>", "<HEAD>",
                                  "<meta name=\"GENERATOR\" content=\"Quorvex\">", "<!-- Sitemap 1.0 -->",
                                  "</HEAD><BODY>", "<OBJECT type=\"text/site properties\">",
                                  "\t<param name=\"FrameName\" value=\"main\">", "</OBJECT>", "<UL>"});

// The lines of one entry at `tabs` tabs.
// An entry; `page` is in html/ unless it names its compiled help ("x.chm::/...").
std::string Entry(int tabs, const std::string& name, const std::string& page = "") {
  std::string indent(static_cast<std::size_t>(tabs), '\t');
  std::string text = indent + "<LI> <OBJECT type=\"text/sitemap\">\r\n";
  const std::string local = page.find("::") == std::string::npos ? "html/" + page : page;
  if (!name.empty()) text += indent + "\t<param name=\"Name\" value=\"" + name + "\">\r\n";
  if (!page.empty()) text += indent + "\t<param name=\"Local\" value=\"" + local + "\">\r\n";
  return text + indent + "\t</OBJECT>\r\n";
}

class ContentsConverterTest : public ::testing::Test {
 protected:
  ContentsConverterTest() {
    ChooseProject(job_, dir_.Engine() + "my.help.hpj");
    ChooseOutputFolder(job_, dir_.Engine() + "out");
    ForceDirectories(job_.OutputFolder + "html");
  }
  std::string Convert(const std::string& cnt) {
    dir_.Write("my.help.cnt", cnt);
    ConvertContents(job_);
    return dir_.Exists("out/my.help.hhc") ? dir_.Read("out/my.help.hhc") : "(none)";
  }
  TempDir dir_;
  ConversionJob job_;
};

TEST_F(ContentsConverterTest, BooksNestOneLevelAtATime) {
  std::string hhc = Convert(CrLf({":Base sample.hlp", ":Title x", "; comment", "1 Book", "2 First=first", "",
                                  "2 Second =second", "1 Last=last"}));
  EXPECT_EQ(hhc, kHeader + Entry(1, "Book") + "\t<UL>\r\n" + Entry(2, "First", "first.html") +
                     Entry(2, "Second", "second.html") + "\t</UL>\r\n" + Entry(1, "Last", "last.html") +
                     "</UL>\r\n</BODY></HTML>\r\n");
  EXPECT_TRUE(job_.HasContents);
}

TEST_F(ContentsConverterTest, JumpFromOneToThreeOpensOneListPerEntry) {
  std::string hhc = Convert(CrLf({"1 Top", "3 Deep=a", "3 Deeper=b", "1 Back=c"}));
  EXPECT_EQ(hhc, kHeader + Entry(1, "Top") + "\t<UL>\r\n" + Entry(2, "Deep", "a.html") + "\t\t<UL>\r\n" +
                     Entry(3, "Deeper", "b.html") + "\t\t</UL>\r\n\t</UL>\r\n" + Entry(1, "Back", "c.html") +
                     "</UL>\r\n</BODY></HTML>\r\n");
}

TEST_F(ContentsConverterTest, LevelZeroClosesEveryListIncludingTheHeaders) {
  std::string hhc = Convert(CrLf({"1 A=a", "2 B=b", "Outside=o", "1 Again=g"}));
  EXPECT_EQ(hhc, kHeader + Entry(1, "A", "a.html") + "\t<UL>\r\n" + Entry(2, "B", "b.html") +
                     "\t</UL>\r\n</UL>\r\n" + Entry(0, "Outside", "o.html") + "<UL>\r\n" +
                     Entry(1, "Again", "g.html") + "</UL>\r\n</BODY></HTML>\r\n");
}

TEST_F(ContentsConverterTest, NamesAndTopics) {
  job_.NameMapKeys.Add("mapped");
  job_.NameMapValues.Add("Other");
  std::string hhc = Convert(CrLf({"1 Two blanks  =Topic>win", "1 " + Sjis("表示") + "=Ext@other.HLP",
                                  "1 Mapped=MAPPED extra", "1", "1 =only"}));
  // A topic of another help is a page of that help's .chm beside this one.
  EXPECT_EQ(hhc, kHeader + Entry(1, "Two blanks ", "topic.html") + Entry(1, Sjis("表示"), "other.chm::/html/ext.html") +
                     Entry(1, "Mapped", "Other.html") + Entry(1, "") + Entry(1, "") +
                     "</UL>\r\n</BODY></HTML>\r\n");
}

TEST_F(ContentsConverterTest, EntriesClaimTheirPopupPages) {
  job_.PopupPages = {"a.html", "keep.html", "A.HTML"};
  Convert(CrLf({"1 A=a"}));
  EXPECT_EQ(job_.PopupPages, (StringList{"keep.html", "A.HTML"}));
}

TEST_F(ContentsConverterTest, OnlyCommandsAndCommentsWriteNothing) {
  EXPECT_EQ(Convert(CrLf({":Base x.hlp", "; nothing", ""})), "(none)");
  EXPECT_FALSE(job_.HasContents);
  WriteHelpProject(job_);
  EXPECT_EQ(dir_.Read("out/my.help.hhp").find("Contents file="), std::string::npos);
}

TEST_F(ContentsConverterTest, MissingContentsFileIsNotAnError) {
  ConvertContents(job_);
  EXPECT_FALSE(job_.HasContents);
  EXPECT_FALSE(dir_.Exists("out/my.help.hhc"));
}

}  // namespace
}  // namespace quorvex
