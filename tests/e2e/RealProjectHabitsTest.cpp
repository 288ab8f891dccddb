// Whole conversions of projects that do what real projects do and the
// bundled samples do not: the author's drive paths, pictures in folders,
// aliases to nothing, contexts with blanks, other code pages, hostile links.

#include <gtest/gtest.h>

#include "support/BmpBuilder.h"
#include "support/HelpProject.h"
#include "support/RtfBuilder.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::Sjis;
using test::WordDocument;
using test::WordFootnote;

std::string Bmp(int width) {
  test::BmpBuilder b;
  b.Width = width;
  b.Height = 2;
  b.Colors = test::GreyColors(2);
  b.Pixels = test::PadRows(std::vector<test::Bytes>(2, test::Bytes(static_cast<std::size_t>(width), 1)));
  test::Bytes bytes = b.Build();
  return std::string(bytes.begin(), bytes.end());
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string Topic(const std::string& context, const std::string& title, const std::string& body) {
  return WordFootnote('#', context) + WordFootnote('$', title) + body + "\\par ";
}

TEST(RealProjectHabits, AuthorsPathsFoldersAliasesAndLinks) {
  test::HelpProject p("\n");
  // "..\bul.bmp" is art\bul.bmp, seen from the picture folder art\icons that BMROOT names by the author's path.
  const std::string main = Topic("main", "Main",
      "{\\uldb Go}{\\v Contents} {\\uldb Frame}{\\v HIDR_MAINFRAME} \\{bmc bmp\\\\bul.bmp\\}\\{bmc art\\\\bul.bmp\\}\\{bmc ..\\\\bul.bmp\\}"
      "\\{bmc dot.bmp\\}{\\field{\\*\\fldinst HYPERLINK \"javascript:alert(2)\"}{\\fldrslt bad}} "
      "{\\field{\\*\\fldinst HYPERLINK \"https://x.org/\"}{\\fldrslt good}} {\\uldb Read}{\\v !ExecFile(readme.txt)}");
  // Some Word versions raise the first letter of the footnote's text with the mark.
  const std::string contents = "#{\\footnote {\\cs25\\super #} {\\cs25\\super C}{ontents}}" + WordFootnote('$', "Contents") + "c\\par ";
  p.File("zeus.rtf", WordDocument({main, contents, Topic("HIDR_MAINFRAME", "Frame", "f"),
                                   Topic("Starting and Quitting_Eudora", "Start", "s")}, 1252))
      .File("bmp/bul.bmp", Bmp(3)).File("art/bul.bmp", Bmp(5)).File("bul.bmp", Bmp(7)).File("art/icons/dot.bmp", Bmp(9))
      .File("readme.txt", "read me").File("help.cnt", ":Base help.hlp\n1 Start=Starting and Quitting_Eudora\n1 Main=main\n")
      .File("ids.h", "#define HIDR_MAINFRAME 100\n");
  p.Section("[OPTIONS]", {"", "CNT=D:\\HELP\\HELP.CNT", "", "TITLE=Zeus", "BMROOT=C:\\ZEUS\\ART\\ICONS"})
      .Section("[FILES]", {"", "C:\\NOMINAS\\ZEUS.RTF", ""})
      .Section("[ALIAS]", {"HIDR_MAINFRAME=main_index"})
      .Section("[MAP]", {"#include <E:\\INC\\IDS.H>"});
  test::RunResult run = p.Convert({"--keep-going"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Has(run.err, "/zeus.rtf: named C:\\NOMINAS\\ZEUS.RTF, which is not there; read from this file")) << run.err;

  const std::string page = p.Output("html/main.html");
  EXPECT_TRUE(Has(page, "<a href=\"contents.html\">Go</a>")) << page;
  EXPECT_TRUE(Has(page, "<a href=\"hidr_mainframe.html\">Frame</a>")) << page;  // the alias leads to no topic
  EXPECT_TRUE(Has(page, "<img src=\"../img/bul.png\" width=3 height=2><img src=\"../img/bul_2.png\" width=5 height=2>"
                        "<img src=\"../img/bul_2.png\" width=5 height=2><img src=\"../img/dot.png\" width=9 height=2>")) << page;
  EXPECT_FALSE(Has(page, "javascript:")) << page;
  EXPECT_TRUE(Has(page, "bad")) << page;
  EXPECT_TRUE(Has(page, "<a href=\"https://x.org/\">good</a>")) << page;
  EXPECT_TRUE(Has(page, "<a href=\"readme.txt\">Read</a>")) << page;
  EXPECT_EQ(p.Output("html/readme.txt"), "read me");
  EXPECT_TRUE(Has(run.err, "javascript:alert(2) is not a web or mail address")) << run.err;
  EXPECT_TRUE(Has(run.err, "[ALIAS] sends it to main_index, which is no topic")) << run.err;

  EXPECT_TRUE(Has(p.Output("help.hhc"), "<param name=\"Local\" value=\"html/starting_and_quitting_eudora.html\">"))
      << p.Output("help.hhc");
  EXPECT_TRUE(Has(p.Output("help.hhp"), "HIDR_MAINFRAME=html/hidr_mainframe.html")) << p.Output("help.hhp");
}

TEST(RealProjectHabits, ContentsAndTitleOfACyrillicProject) {
  test::HelpProject p;
  // The project names its file in cp1251 ("текст.rtf"); on this disk the name is UTF-8.
  p.File("текст.rtf", WordDocument({Topic("topic", "T", "text")}, 1251))
      .File("help.cnt", "1 \xCA\xED\xE8\xE3\xE0\n  \n2 \xD0\xE0\xE7\xE4\xE5\xEB=topic\n");
  p.Section("[OPTIONS]", {"TITLE=\xD1\xEF\xF0\xE0\xE2\xEA\xE0", "CHARSET=204"})
      .Section("[FILES]", {"  \xF2\xE5\xEA\xF1\xF2.rtf ; the text"});
  test::RunResult run = p.Convert({"--web"});
  ASSERT_EQ(run.code, 0) << run.err;
  const std::string hhc = p.Output("help.hhc");
  EXPECT_TRUE(Has(hhc, "<param name=\"Name\" value=\"" + Sjis("Книга") + "\">")) << hhc;
  EXPECT_TRUE(Has(hhc, "<param name=\"Name\" value=\"" + Sjis("Раздел") + "\">")) << hhc;
  EXPECT_TRUE(Has(hhc, "<param name=\"Local\" value=\"html/topic.html\">")) << hhc;
  EXPECT_TRUE(Has(p.Output("help.hhp"), "Title=" + Sjis("Справка") + "\r\n"));
}

TEST(RealProjectHabits, HandWrittenOptionsAndPicturesListedUnderBitmaps) {
  test::HelpProject p;
  // The picture lies in no BMROOT folder; [BITMAPS] names it by its path.
  p.File("rtf/t.rtf", WordDocument({Topic("first", "First", "x"), Topic("second", "Second", "\\{bmc Logo.bmp\\}")}))
      .File("graphics/logo.bmp", Bmp(4)).File("product.cnt", "1 The second=second\n");
  // The contents lie beside the help file, named after it.
  p.Section("[OPTIONS]", {"Title=Hand", "root = rtf", "bmroot=art", "Contents =second", "hlp=bin\\Product.hlp"})
      .Section("[FILES]", {"t.rtf"})
      .Section("[BITMAPS]", {"graphics\\logo.bmp ; the company logo"});
  test::RunResult run = p.Convert();
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Has(p.Output("help.hhp"), "Default topic=html/second.html\r\n")) << p.Output("help.hhp");
  EXPECT_TRUE(Has(p.Output("help.hhp"), "Title=Hand\r\n")) << p.Output("help.hhp");
  EXPECT_TRUE(Has(p.Output("html/second.html"), "<img src=\"../img/logo.png\" width=4 height=2>")) << p.Output("html/second.html");
  EXPECT_TRUE(Has(p.Output("help.hhc"), "<param name=\"Local\" value=\"html/second.html\">")) << p.Output("help.hhc");
}

TEST(RealProjectHabits, OneTopicFilesOfOtherCodePagesAreDecoded) {
  // As a plain editor writes one topic: formatting in the running text, no groups.
  auto plain = [](const std::string& codePage, const std::string& context) {
    return "{\\rtf1\\ansi\\ansicpg" + codePage + "\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n\\viewkind4\\uc1\\pard\\b\\f0 #{\\footnote " +
           context + "}${\\footnote \\'c0\\'e1}\\'c0\\'e1\\b0\\par\r\nx \\'e9\\par\r\n}\r\n";
  };
  for (const char* charset : {"CHARSET=204", ""}) {
    test::HelpProject p;
    p.File("ru.rtf", plain("1251", "ru")).File("fr.rtf", plain("1252", "fr"));
    p.Section("[OPTIONS]", {charset}).Section("[FILES]", {"ru.rtf", "fr.rtf"});
    test::RunResult run = p.Convert();
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(Has(p.Output("html/ru.html"), "<title>" + Sjis("Аб") + "</title>")) << charset << p.Output("html/ru.html");
    EXPECT_TRUE(Has(p.Output("html/ru.html"), "x " + Sjis("й"))) << charset;
    EXPECT_TRUE(Has(p.Output("html/fr.html"), "x &#233;")) << charset << p.Output("html/fr.html");
  }
}

TEST(RealProjectHabits, PagesNamedWithADotAreListedAndCompiled) {
  test::HelpProject p;
  p.File("t.rtf", WordDocument({Topic(".HVCNA", "Dot", "{\\uldb Self}{\\v .hvcna}")}));
  p.Section("[FILES]", {"t.rtf"});
  test::RunResult run = p.Convert({"--chm"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Has(p.Output("help.hhp"), "[FILES]\r\nhtml/.hvcna.html\r\n")) << p.Output("help.hhp");
  EXPECT_TRUE(Has(p.Output("help.chm"), "/html/.hvcna.html"));  // the directory names every file
}

TEST(RealProjectHabits, AHelpWithoutPagesSaysSo) {
  test::HelpProject p;
  p.Section("[FILES]", {"gone.rtf"});
  test::RunResult run = p.Convert({"--keep-going"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Has(run.err, "none of the topic files was converted: the help is empty")) << run.err;
  EXPECT_TRUE(Has(run.err, "warnings; the help has no pages\n")) << run.err;
}

}  // namespace
}  // namespace quorvex
