// A real-world project through the command line: aliases, a context map,
// CNT=, the default topic, and problems that --keep-going turns into warnings.

#include <gtest/gtest.h>

#include "support/BmpBuilder.h"
#include "support/HelpProject.h"
#include "support/ShgBuilder.h"

namespace quorvex {
namespace {

std::string Text(const test::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string SmallBmp() {
  test::BmpBuilder b;
  b.Width = 2;
  b.Height = 2;
  b.Colors = test::GreyColors(2);
  b.Pixels = test::PadRows({{0, 1}, {1, 0}});
  return Text(b.Build());
}

std::string SmallShg() {
  test::ShgBuilder b;
  b.Width = 3;
  b.Height = 1;
  b.Palette = {0, 0, 0, 0, 255, 255, 255, 0};
  b.Data = test::PadRows({{0, 1, 0}});
  return Text(b.Build());
}

void LayOutRealWorldProject(test::HelpProject& p) {
  p.Section("[OPTIONS]", {"CNT=other.cnt", "BMROOT=art"})
      .Section("[FILES]", {"missing.rtf", "first.rtf", "second.rtf"})
      .Section("[ALIAS]", {"start = second"})
      .Section("[MAP]", {"First 1", "start 0x2", "IDH_NONE 3", "#include \"gone.hm\""});
  p.File("first.rtf", "{\\rtf1\r\n#{\\footnote first}${\\footnote First}Go {\\uldb Next}{\\v start} "
                      "\\{bmc renamed.shg\\}\\{bmc multi.mrb\\}\\{bmc broken.bmp\\}\\{bmc absent.bmp\\}\\par \r\n}\r\n");
  p.File("second.rtf", "{\\rtf1\r\n#{\\footnote second}Second\\par \r\n}\r\n");
  p.File("art/renamed.shg", SmallBmp()).File("art/multi.mrb", SmallShg()).File("art/broken.bmp", "BM broken");
  p.File("other.cnt", "1 Start=start\n");
}

TEST(KeepGoing, WithoutTheOptionTheFirstProblemEndsTheConversion) {
  test::HelpProject p("\n");
  LayOutRealWorldProject(p);
  test::RunResult run = p.Convert();
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("ファイル " + p.dir.Native() + "/missing.rtf は開けません"), std::string::npos) << run.err;
}

TEST(KeepGoing, ProblemsBecomeWarningsAndTheProjectIsComplete) {
  test::HelpProject p("\n");
  LayOutRealWorldProject(p);
  test::RunResult run = p.Convert({"--keep-going"});
  ASSERT_EQ(run.code, 0) << run.err;
  const std::string& dir = p.dir.Native();
  for (const std::string& warning : std::vector<std::string>{"warning: " + dir + "/missing.rtf: topic file not found; it gets no page",
                              "warning: " + dir + "/art/absent.bmp: picture not found",
                              "warning: " + dir + "/art/broken.bmp: ",
                              "warning: " + dir + "/gone.hm: included map file not found",
                              "warning: help.hpj: 1 mapped context(s) have no topic; left out of [MAP]",
                              "quorvex-convert: 5 warnings\n"}) {
    EXPECT_NE(run.err.find(warning), std::string::npos) << warning << "\n" << run.err;
  }
  std::string page = p.Output("html/first.html");
  EXPECT_NE(page.find("Go <a href=\"second.html\">Next</a> <img src=\"../img/renamed.png\" width=2 height=2>"
                      "<img src=\"../img/multi.png\" width=3 height=1>(\x89\xE6\x91\x9C)(\x89\xE6\x91\x9C)<br>"),
            std::string::npos)
      << page;
  std::string hhp = p.Output("help.hhp");
  EXPECT_NE(hhp.find("Default topic=html/first.html\r\n"), std::string::npos) << hhp;
  EXPECT_NE(hhp.find("\r\n\r\n[ALIAS]\r\nFirst=html/first.html\r\nstart=html/second.html\r\n\r\n"
                     "[MAP]\r\n#define First 1\r\n#define start 0x2\r\n\r\n[INFOTYPES]\r\n"),
            std::string::npos)
      << hhp;
  EXPECT_NE(p.Output("help.hhc").find("<param name=\"Local\" value=\"html/second.html\">"), std::string::npos);

  test::HelpProject second;
  LayOutRealWorldProject(second);
  test::RunResult quiet = second.Convert({"--keep-going", "--quiet"});
  EXPECT_EQ(quiet.code, 0);
  EXPECT_EQ(quiet.err, "");
}

}  // namespace
}  // namespace quorvex
