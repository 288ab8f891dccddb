#include "cli/ChmCompiler.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "cli/Process.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::CrLf;
using test::Sjis;
using test::TempDir;

// Points QUORVEX_CHMCMD at another program for the life of the object.
class CompilerOverride {
 public:
  explicit CompilerOverride(const std::string& program) { setenv("QUORVEX_CHMCMD", program.c_str(), 1); }
  ~CompilerOverride() { unsetenv("QUORVEX_CHMCMD"); }
};

// A converted project with a Japanese page name and keyword.
void WriteProject(const TempDir& dir, const std::string& extraFile = "") {
  dir.Write("help.hhp", CrLf({"[OPTIONS]", "Compiled file=help.chm", "Default topic=html/" + Sjis("目次") + ".html",
                              "Index file=help.hhk", "Language=0x411", "Title=T", "", "[FILES]",
                              "html/" + Sjis("目次") + ".html", extraFile, "", "[INFOTYPES]"}));
  dir.Write("html/目次.html", "<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"help.css\"></head>"
                              "<body><img src=\"../img/a.png\"><a href=\"JavaScript:popup.TextPopup(pop1,popfont,9,9,-1,-1)\">p</a>"
                              "<a href=\"notshipped.txt\">x</a></body></html>\r\n");
  dir.Write("html/help.css", "body {}\r\n");
  dir.Write("img/a.png", "not really a png");
  dir.Write("help.hhk", CrLf({"<HTML>", "<UL>", "\t<LI> <OBJECT type=\"text/sitemap\">",
                              "\t\t<param name=\"Keyword\" value=\"" + Sjis("索引") + "\">",
                              "\t\t<param name=\"Name\" value=\"x\">",
                              "\t\t<param name=\"Local\" value=\"html/" + Sjis("目次") + ".html\">", "\t\t</OBJECT>",
                              "</UL></HTML>"}));
}

TEST(ChmCompiler, CompilesJapaneseNamesAndKeepsTheIndexReadable) {
  // chmcmd is only a comparison now (--chm-compiler chmcmd); fp-utils is installed by hand.
  if (!FindProgram("chmcmd")) GTEST_SKIP() << "chmcmd (Debian fp-utils) is not installed";
  ASSERT_TRUE(FindProgram("extract_chmLib")) << "scripts/setup.sh installs libchm-bin";
  TempDir dir;
  WriteProject(dir);
  const std::string hhpBefore = dir.Read("help.hhp");
  ChmOutcome outcome = CompileChm(dir.Engine(), "help");
  ASSERT_TRUE(outcome.compiled) << outcome.report;
  EXPECT_EQ(outcome.chmPath, dir.Native() + "/help.chm");
  EXPECT_EQ(dir.Read("help.hhp"), hhpBefore);
  EXPECT_FALSE(dir.Exists(".quorvex-chm"));

  std::optional<ProcessResult> extract = RunProcess({"extract_chmLib", "help.chm", "x"}, dir.Native());
  ASSERT_TRUE(extract && extract->exitCode == 0);
  // Names inside the compiled file are the project's Shift-JIS bytes.
  EXPECT_EQ(dir.Read("x/html/" + Sjis("目次") + ".html"), dir.Read("html/目次.html"));
  EXPECT_EQ(dir.Read("x/html/help.css"), dir.Read("html/help.css"));
  EXPECT_EQ(dir.Read("x/img/a.png"), dir.Read("img/a.png"));
  EXPECT_NE(dir.Read("x/help.hhk").find(Sjis("索引")), std::string::npos);
}

TEST(ChmCompiler, MissingListedFileIsReportedBeforeCompiling) {
  TempDir dir;
  WriteProject(dir, "html/gone.html");
  CompilerOverride compiler("/bin/false");  // would fail if it ran
  ChmOutcome outcome = CompileChm(dir.Engine(), "help");
  EXPECT_FALSE(outcome.compiled);
  EXPECT_EQ(outcome.report, "the project lists files that do not exist:\n  html/gone.html\n");
  EXPECT_FALSE(dir.Exists("help.chm"));
}

TEST(ChmCompiler, WarningsAndFailuresLeaveNoChm) {
  TempDir dir;
  WriteProject(dir);
  dir.Write("warns.sh", "#!/bin/sh\necho 'Warning: something odd'\nprintf x > help.chm\n");
  dir.Write("crashes.sh", "#!/bin/sh\n: > help.chm\nexit 217\n");
  for (const char* script : {"warns.sh", "crashes.sh"}) {
    std::filesystem::permissions(dir.Native() + "/" + script, std::filesystem::perms::owner_all);
    CompilerOverride compiler(dir.Native() + "/" + script);
    ChmOutcome outcome = CompileChm(dir.Engine(), "help");
    EXPECT_FALSE(outcome.compiled) << script;
    EXPECT_FALSE(dir.Exists("help.chm")) << script;
    EXPECT_FALSE(dir.Exists(".quorvex-chm")) << script;
  }
}

TEST(ChmCompiler, NamesThatChmcmdWouldMisreadAreRefused) {
  TempDir dir;
  WriteProject(dir, "html/" + Sjis("表") + ".html");
  dir.Write("html/表.html", "");
  CompilerOverride compiler("/bin/true");
  ChmOutcome outcome = CompileChm(dir.Engine(), "help");
  EXPECT_FALSE(outcome.compiled);
  EXPECT_EQ(outcome.report,
            "chmcmd cannot compile a file name with a character whose second byte is a backslash (such as 表 or ソ): "
            "html/表.html");
}

TEST(ChmCompiler, MissingCompilerIsNamed) {
  TempDir dir;
  WriteProject(dir);
  CompilerOverride compiler("no-such-chm-compiler");
  ChmOutcome outcome = CompileChm(dir.Engine(), "help");
  EXPECT_FALSE(outcome.compiled);
  EXPECT_EQ(outcome.report,
            "no-such-chm-compiler is not installed; it comes with the Debian package fp-utils (apt-get install fp-utils)");
}

}  // namespace
}  // namespace quorvex
