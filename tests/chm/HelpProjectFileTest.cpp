#include "chm/HelpProjectFile.h"

#include <gtest/gtest.h>

#include <random>

#include "chm/PageReferences.h"

namespace quorvex {
namespace {

TEST(HelpProjectFile, ReadsWhatHelpProjectWriterWritesAndWhatOtherToolsWrite) {
  HelpProjectFile project = ReadHelpProjectFile(
      "[OPTIONS]\r\nCompiled file=Help.chm\r\ncontents FILE = help.hhc \r\nIndex file=help.hhk\n"
      "Default topic=html/top.html\rDefault Window=main\r\nLanguage=0x411 \x93\xfa\x96\x7b\x8c\xea\r\n"
      "Title=A, B \"C\"\r\nFull-text search=Yes\r\nBinary Index=no\r\nDefault Font=MS Gothic,9,128\r\n"
      "; a comment\r\n\r\n[WINDOWS]\r\nmain=\"Cap, tion\",\"help.hhc\",,\"html/top.html\",,,,,,0x2120,,0x300e,[10, 20,610,420],,,,,,,0\r\n"
      "[FILES]\r\nhtml/top.html\r\n  html/b.htm  \r\n[ALIAS]\r\nIDH_A = html/a.html#part\r\n#include alias.h\r\n"
      "[MAP]\r\n#define IDH_A 100\r\n#define\tIDH_B\t0x0103 // comment\r\n#include <map.h>\r\n[INFOTYPES]\r\n");
  EXPECT_EQ(project.compiledFile, "Help.chm");
  EXPECT_EQ(project.contentsFile, "help.hhc");
  EXPECT_EQ(project.indexFile, "help.hhk");
  EXPECT_EQ(project.defaultTopic, "html/top.html");
  EXPECT_EQ(project.defaultWindow, "main");
  EXPECT_EQ(project.language, 0x411u);
  EXPECT_EQ(project.title, "A, B \"C\"");
  EXPECT_TRUE(project.fullTextSearch);
  EXPECT_FALSE(project.binaryIndex);
  EXPECT_EQ(project.defaultFont, "MS Gothic,9,128");
  ASSERT_EQ(project.windows.size(), 1u);
  EXPECT_EQ(project.windows[0].name, "main");
  EXPECT_EQ(project.windows[0].fields,
            (std::vector<ByteString>{"Cap, tion", "help.hhc", "", "html/top.html", "", "", "", "", "", "0x2120", "",
                                     "0x300e", "[10, 20,610,420]", "", "", "", "", "", "", "0"}));
  EXPECT_EQ(project.files, (std::vector<ByteString>{"html/top.html", "html/b.htm"}));
  ASSERT_EQ(project.aliases.size(), 1u);
  EXPECT_EQ(project.aliases[0].name, "IDH_A");
  EXPECT_EQ(project.aliases[0].target, "html/a.html#part");
  ASSERT_EQ(project.contextIds.size(), 2u);
  EXPECT_EQ(project.contextIds[1].name, "IDH_B");
  EXPECT_EQ(project.contextIds[1].id, 0x103u);
  EXPECT_EQ(project.includes, (std::vector<ByteString>{"alias.h", "map.h"}));
  EXPECT_TRUE(project.problems.empty());
}

TEST(HelpProjectFile, LinesThatMakeNoSenseAreReportedAndLeftOut) {
  HelpProjectFile project = ReadHelpProjectFile(
      "[OPTIONS]\r\nno equals sign\r\nLanguage=Japanese\r\n[WINDOWS]\r\n=\"x\"\r\n[ALIAS]\r\nIDH_X\r\n"
      "[MAP]\r\n#define IDH_X\r\n#define IDH_Y 0x1FFFFFFFF\r\n#define IDH_Z 12abc\r\n");
  EXPECT_EQ(project.problems,
            (std::vector<ByteString>{"[options] line not understood: no equals sign", "Language=Japanese is not a language number",
                                     "[windows] line not understood: =\"x\"", "[alias] line not understood: IDH_X",
                                     "[map] line not understood: #define IDH_X", "[map] line not understood: #define IDH_Y 0x1FFFFFFFF",
                                     "[map] line not understood: #define IDH_Z 12abc"}));
  EXPECT_EQ(project.language, 0x409u);
  EXPECT_TRUE(project.contextIds.empty());
}

// Any bytes are read without failing (the fuzz target does the same at length).
TEST(HelpProjectFile, AnyBytesAreRead) {
  std::mt19937 random(7);
  const std::string pieces[] = {"[OPTIONS]\r\n", "[MAP]\n", "[WINDOWS]\r", "#define ", "=", "\"", "[", "]", ",", "0x",
                                "\x81", "\x00", "Language=", "#include ", "<", ">"};
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    for (int i = random() % 40; i > 0; --i) bytes += pieces[random() % std::size(pieces)];
    HelpProjectFile project = ReadHelpProjectFile(bytes);
    ReadContextInclude(bytes, project);
    for (const ByteString& reference : PageReferences(bytes)) ResolveReference("html/", reference);
    PageTitle(bytes);
  }
}

TEST(PageReferences, FindsLinksPicturesSheetsAndSitemapPagesAndResolvesThem) {
  std::vector<ByteString> found = PageReferences(
      "<a HREF=\"a.html#x\">a</a><img\nsrc='../img/b.png'><a href=c.htm>c</a><a name=\"n\">"
      "<param name=\"Local\" value=\"html/d.html\"><param name=\"Name\" value=\"not a file\">"
      "<style>p { background: url( \"e.png\" ) }</style><x data-src=\"no\">");
  EXPECT_EQ(found, (std::vector<ByteString>{"a.html#x", "../img/b.png", "c.htm", "html/d.html", "e.png"}));

  const std::pair<const char*, std::optional<ByteString>> cases[] = {
      {"a.html#x", "html/a.html"},      {"../img/b.png", "img/b.png"},   {"./x/../c.htm?q=1", "html/c.htm"},
      {"sub%20dir/f.html", "html/sub dir/f.html"}, {"sub\\g.html", "html/sub/g.html"},
      {"\x95\x5c.html", "html/\x95\x5c.html"},  // a trail byte 0x5C is no separator
      {"../../up.html", std::nullopt},  {"http://x/y.html", std::nullopt}, {"ms-its:o.chm::/a.htm", std::nullopt},
      {"JavaScript:popup()", std::nullopt}, {"#top", std::nullopt},     {"/abs.html", std::nullopt},
      {"folder/", std::nullopt}};
  for (const auto& [reference, resolved] : cases) EXPECT_EQ(ResolveReference("html/", reference), resolved) << reference;

  EXPECT_EQ(PageTitle("<HEAD><Title lang=ja>\r\n A &lt;b&gt;\t&quot;c&quot; &amp; d </TITLE>"), "A <b> \"c\" & d");
  EXPECT_EQ(PageTitle("<title>\x83\x5c\x83\x74\x83\x67</title>"), "\x83\x5c\x83\x74\x83\x67");
  EXPECT_EQ(PageTitle("<p>no title</p>"), "");
}

}  // namespace
}  // namespace quorvex
