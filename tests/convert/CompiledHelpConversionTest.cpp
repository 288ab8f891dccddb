// Compiled help files through the command line: recognised by their magic
// number, converted with their contents file or a contents list of their own,
// their map and window colour, pictures with hotspots, and damage.

#include <gtest/gtest.h>

#include "base/ContextHash.h"
#include "support/HelpFileBuilder.h"
#include "support/HelpProject.h"
#include "support/LittleEndianBytes.h"
#include "support/ShgBuilder.h"

namespace quorvex {
namespace {

using test::Bytes;
using test::HelpBuilder;
using test::RecordBuilder;
using test::BuiltTopic;

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Window "main" of |SYSTEM with the colour 0x102030.
Bytes MainWindow() {
  Bytes window;
  test::Put16(window, 0x0100);
  window.resize(2 + 10, 0);
  Bytes name = test::Str("main");
  name.resize(9, 0);
  window.insert(window.end(), name.begin(), name.end());
  window.resize(2 + 10 + 9 + 51 + 10, 0);
  window.insert(window.end(), {0x10, 0x20, 0x30, 0});
  window.resize(90, 0);
  return window;
}

// A picture packed as help compilers pack (LZ77 over the pixel rows), with a
// hotspot that jumps to "second_ctx".
Bytes HelpPicture() {
  test::ShgBuilder shg;
  shg.Width = 4;
  shg.Height = 2;
  shg.BitCount = 1;
  shg.Palette = {0, 0, 0, 0, 255, 255, 255, 0};
  shg.Data = test::PackLz77({0xA0, 0, 0, 0, 0x50, 0, 0, 0});
  shg.Packing = 2;
  shg.Hotspots.push_back({0xE3, 0, 0, 0, 2, 2, "spot", "second_ctx"});
  return shg.Build();
}

// Three topics: contents (with a jump, a popup and a picture), a second
// topic, and one read only as a popup.
HelpBuilder SmallHelp() {
  HelpBuilder help;
  help.SystemRecords.push_back({6, MainWindow()});
  help.Files["|bm0"] = HelpPicture();
  help.Fonts = {{"Arial"}, {"Arial", 0, 30}};
  BuiltTopic contents{"Contents", {"contents_ctx"}};
  contents.Records.push_back(RecordBuilder().Paragraph().Font(1).Text("Big").Font(0).Text(" body size").Par().End());
  contents.Records.push_back(RecordBuilder()
                                 .Paragraph()
                                 .Text("See ").Hotspot(0xE3, ContextHash("second_ctx")).Text("the second").HotspotEnd()
                                 .Text(" and ").Hotspot(0xE2, ContextHash("popup_ctx")).Text("a word").HotspotEnd()
                                 .Text(".").Picture(0x86, 0, 1).Par().End());
  BuiltTopic second{"Second = Two", {"second_ctx"}, {"second"}};
  second.Records.push_back(RecordBuilder().Paragraph().Text("Second text").Picture(0x87, 0, 1).Par().End());
  second.Records.push_back(RecordBuilder(0x23).Columns({{150, 10}, {300, 10}}).Cell(0).Text("x").End().Cell(1).Text("y").End());
  BuiltTopic popup{"Word", {"popup_ctx"}};
  popup.Records.push_back(RecordBuilder().Paragraph().Text("What the word means").Par().End());
  second.BrowseNext = 0;
  help.Topics = {contents, second, popup};
  help.Map = {{0x1001, "second_ctx"}};
  return help;
}

struct Converted {
  test::RunResult Run;
  test::TempDir Dir;
  std::string Out(const std::string& name) const { return Dir.Read("out/" + name); }
};

void Convert(Converted& c, const std::string& fileName, const Bytes& help, std::vector<std::string> options = {},
             const std::string& cnt = "") {
  c.Dir.Write(fileName, Text(help));
  if (!cnt.empty()) c.Dir.Write("HELP.cnt", cnt);
  std::vector<std::string> args{c.Dir.Native() + "/" + fileName, c.Dir.Native() + "/out"};
  args.insert(args.end(), options.begin(), options.end());
  c.Run = test::RunConverter(args);
}

TEST(CompiledHelpConversion, PagesContentsIndexAndMapFromAHelpWithoutContentsFile) {
  Converted c;
  Convert(c, "HELP.HLP", SmallHelp().Build());
  ASSERT_EQ(c.Run.code, 0) << c.Run.err;
  // Pages are named after the contexts the help's text names (the picture's
  // hotspot names "second_ctx"), else after their titles.
  const std::string page = c.Out("html/contents.html");
  EXPECT_NE(page.find("<body bgcolor=#102030>"), std::string::npos) << page;
  EXPECT_NE(page.find("<font size=+2>Big</font> body size<br>"), std::string::npos) << page;  // 15 points against 10
  EXPECT_NE(page.find("See <a href=\"second_ctx.html\">the second</a> and <a href=\"JavaScript:popup.TextPopup(pop1,popfont,9,9,-1,-1)\">a word</a>."),
            std::string::npos) << page;
  EXPECT_NE(page.find("<img src=\"../img/help_1.png\" usemap=\"#test1\" border=0 width=4 height=2>"), std::string::npos);
  EXPECT_NE(page.find("<area shape=rect coords=\"0,0,2,2\" a href=\"second_ctx.html\">"), std::string::npos);
  EXPECT_TRUE(c.Dir.Exists("out/img/help_1.png"));
  EXPECT_FALSE(c.Dir.Exists("out/html/word.html"));  // a popup only
  // The picture, drawn once, shows on the second page at its size too.
  EXPECT_NE(c.Out("html/second_ctx.html").find("<img src=\"../img/help_1.png\" usemap=\"#test1\" border=0 width=4 height=2 align=left>"),
            std::string::npos);
  EXPECT_NE(c.Out("html/second_ctx.html").find("<table>\r\n<tr><td width=100>x</td><td width=200>y</td></tr>\r\n</table>"),
            std::string::npos);
  // The contents list the titled topics in browse order; the popup is left out.
  const std::string hhc = c.Out("HELP.hhc");
  const std::size_t second = hhc.find("<param name=\"Name\" value=\"Second &#61; Two\">\r\n\t\t<param name=\"Local\" value=\"html/second_ctx.html\">");
  const std::size_t first = hhc.find("<param name=\"Local\" value=\"html/contents.html\">");
  EXPECT_NE(second, std::string::npos) << hhc;
  EXPECT_LT(second, first);
  EXPECT_EQ(hhc.find("Word"), std::string::npos);
  EXPECT_NE(c.Out("HELP.hhk").find("<param name=\"Keyword\" value=\"second\">"), std::string::npos);
  const std::string hhp = c.Out("HELP.hhp");
  for (const char* line : {"Title=Test help\r\n", "Default topic=html/contents.html\r\n", "Contents file=HELP.hhc\r\n",
                           "[ALIAS]\r\nmap_0x1001=html/second_ctx.html\r\n", "[MAP]\r\n#define map_0x1001 0x1001\r\n"}) {
    EXPECT_NE(hhp.find(line), std::string::npos) << line << hhp;
  }
}

TEST(CompiledHelpConversion, TheContentsFileBesideGivesTheContentsAndNames) {
  Converted c;
  HelpBuilder help = SmallHelp();
  help.Topics[0].Contexts = {"IDH_START"};
  Convert(c, "HELP.HLP", help.Build(), {}, "1 Start here=IDH_START\r\n1 Book\r\n2 Second=second_ctx\r\n");
  ASSERT_EQ(c.Run.code, 0) << c.Run.err;
  EXPECT_TRUE(c.Dir.Exists("out/html/idh_start.html"));  // the name comes from the contents file
  const std::string hhc = c.Out("HELP.hhc");
  EXPECT_NE(hhc.find("<param name=\"Name\" value=\"Start here\">\r\n\t\t<param name=\"Local\" value=\"html/idh_start.html\">"),
            std::string::npos) << hhc;
  EXPECT_NE(hhc.find("<param name=\"Name\" value=\"Book\">"), std::string::npos);
  EXPECT_EQ(hhc.find("Contents"), std::string::npos);
}

TEST(CompiledHelpConversion, TheMagicNumberDecidesNotTheName) {
  Converted help;
  Convert(help, "named.hpj", SmallHelp().Build());
  ASSERT_EQ(help.Run.code, 0) << help.Run.err;
  EXPECT_TRUE(help.Dir.Exists("out/html/second_ctx.html"));

  test::HelpProject project;
  project.Section("[OPTIONS]", {"TITLE=project"});
  project.dir.Write("p.hlp", "[OPTIONS]\r\nTITLE=project\r\n");
  test::RunResult run = test::RunConverter({project.dir.Native() + "/p.hlp", project.dir.Native() + "/out"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(project.Output("p.hhp").find("Title=project\r\n"), std::string::npos);
}

TEST(CompiledHelpConversion, DamageIsAClearErrorOrWithKeepGoingAWarning) {
  HelpBuilder help = SmallHelp();
  help.Topics[1].Records[0] = RecordBuilder().Paragraph().Text("Second").Command(0x9A).Text("lost").Par().End();
  const Bytes file = help.Build();
  Converted stop;
  Convert(stop, "HELP.HLP", file);
  EXPECT_EQ(stop.Run.code, 1);
  EXPECT_NE(stop.Run.err.find("quorvex-convert: HELP.HLP: |TOPIC, offset 0x"), std::string::npos) << stop.Run.err;
  EXPECT_NE(stop.Run.err.find(": unknown formatting command 0x9A; the rest of the record is left out\n"), std::string::npos);

  Converted keepGoing;
  Convert(keepGoing, "HELP.HLP", file, {"--keep-going"});
  ASSERT_EQ(keepGoing.Run.code, 0) << keepGoing.Run.err;
  EXPECT_NE(keepGoing.Run.err.find("HELP.HLP: |TOPIC, offset 0x"), std::string::npos) << keepGoing.Run.err;
  EXPECT_NE(keepGoing.Out("html/second_ctx.html").find("Second"), std::string::npos);
}

}  // namespace
}  // namespace quorvex
