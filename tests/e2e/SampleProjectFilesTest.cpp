// Converts examples/sample with the command line tool and checks the help
// project files written around the pages: contents, index, project file, the
// clean-up of pages used only as popups, and the compiled .chm.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/CommandLine.h"
#include "cli/Process.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::Sjis;
using test::TempDir;

std::string SjisLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += Sjis(line) + "\r\n";
  return text;
}

struct SampleRun {
  TempDir dir;
  int code;
  std::string out, err;

  explicit SampleRun(std::vector<std::string> options) {
    std::vector<std::string> args = {std::string(QUORVEX_SOURCE_DIR) + "/examples/sample/sample.hpj",
                                     dir.Native() + "/out"};
    args.insert(args.end(), options.begin(), options.end());
    std::ostringstream outStream, errStream;
    code = RunCommandLine(args, outStream, errStream);
    out = outStream.str();
    err = errStream.str();
  }
  std::string Read(const std::string& file) const { return dir.Read("out/" + file); }
};

// One contents entry at `tabs` tabs.
std::vector<std::string> Entry(int tabs, const std::string& name, const std::string& page = "") {
  std::string t(static_cast<std::size_t>(tabs), '\t');
  std::vector<std::string> lines = {t + "<LI> <OBJECT type=\"text/sitemap\">",
                                    t + "\t<param name=\"Name\" value=\"" + name + "\">"};
  const std::string local = page.find("::") == std::string::npos ? "html/" + page : page;  // or another help's .chm
  if (!page.empty()) lines.push_back(t + "\t<param name=\"Local\" value=\"" + local + "\">");
  lines.push_back(t + "\t</OBJECT>");
  return lines;
}

// One index entry; an empty page makes it a heading that refers to itself.
std::vector<std::string> Keyword(int tabs, const std::string& keyword, const std::string& page) {
  std::string t(static_cast<std::size_t>(tabs), '\t');
  std::vector<std::string> lines = {t + "<LI> <OBJECT type=\"text/sitemap\">",
                                    t + "\t<param name=\"Keyword\" value=\"" + keyword + "\">"};
  if (page.empty()) {
    lines.push_back(t + "\t<param name=\"See Also\" value=\"" + keyword + "\">");
  } else {
    lines.push_back(t + "\t<param name=\"Name\" value=\"" + keyword + "\">");
    lines.push_back(t + "\t<param name=\"Local\" value=\"html/" + page + "\">");
  }
  lines.push_back(t + "\t</OBJECT>");
  return lines;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> lines;
  for (const auto& part : parts) lines.insert(lines.end(), part.begin(), part.end());
  return lines;
}

TEST(SampleProjectFiles, ContentsFile) {
  SampleRun run({"--quiet"});
  ASSERT_EQ(run.code, kExitSuccess) << run.err;
  EXPECT_EQ(run.Read("sample.hhc"),
            SjisLines(Join({{"<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">", "<HTML>", "<HEAD>",
                             "<meta name=\"GENERATOR\" content=\"Quorvex\">", "<!-- Sitemap 1.0 -->", "</HEAD><BODY>",
                             "<OBJECT type=\"text/site properties\">", "\t<param name=\"FrameName\" value=\"main\">",
                             "</OBJECT>", "<UL>"},
                            Entry(1, "はじめに", "intro.html"), Entry(1, "操作"), {"\t<UL>"},
                            Entry(2, "使い方", "usage.html"), Entry(2, "設定", "config.html"), Entry(2, "表"),
                            {"\t\t<UL>"}, Entry(3, "表の例", "tables.html"), {"\t\t</UL>", "\t</UL>"},
                            Entry(1, "参考"), {"\t<UL>"}, Entry(2, "ショートカット", "shortcut.html"), {"\t\t<UL>"},
                            Entry(3, "よくある質問", "faq.html"), {"\t\t</UL>", "\t</UL>"}, Entry(1, "他のヘルプ"),
                            {"\t<UL>"}, Entry(2, "関連ヘルプ", "other.chm::/html/overview.html"),
                            {"\t</UL>", "</UL>", "</BODY></HTML>"}})));
}

TEST(SampleProjectFiles, KeywordIndex) {
  SampleRun run({"--quiet"});
  ASSERT_EQ(run.code, kExitSuccess) << run.err;
  EXPECT_EQ(run.Read("sample.hhk"),
            SjisLines(Join({{"<HTML>", "<!-- Sitemap 1.0 -->", "<OBJECT type=\"text/site properties\">", "</OBJECT>",
                             "<UL>"},
                            Keyword(1, "概要", "intro.html"), Keyword(1, "操作", ""), {"\t<UL>"},
                            Keyword(2, "質問", "faq.html"), Keyword(2, "設定", "config.html"),
                            Keyword(2, "手順", "usage.html"), Keyword(2, "基本", "intro.html"), {"\t</UL>"},
                            Keyword(1, "使い方", "usage.html"), Keyword(1, "設定", "config.html"),
                            Keyword(1, "表", ""), {"\t<UL>"}, Keyword(2, "枠なし", "tables.html"),
                            Keyword(2, "枠付き", "tables.html"), {"\t</UL>"}, Keyword(1, "質問", "faq.html"),
                            Keyword(1, "用語", "term.html"), {"</UL></HTML>"}})));
}

TEST(SampleProjectFiles, PopupOnlyPagesGoAndTheProjectListsTheRest) {
  for (bool combined : {true, false}) {
    SampleRun run(combined ? std::vector<std::string>{"--quiet"}
                           : std::vector<std::string>{"--quiet", "--no-combine-popups"});
    ASSERT_EQ(run.code, kExitSuccess) << run.err;
    // note: popup only; hint: popup and jump; shortcut: popup and contents; term: popup and index.
    EXPECT_FALSE(run.dir.Exists("out/html/note.html"));
    for (const char* page : {"hint.html", "shortcut.html", "term.html", "intro.html", "faq.html"}) {
      EXPECT_TRUE(run.dir.Exists(std::string("out/html/") + page)) << page;
    }
    std::vector<std::string> files = {"html/config.html", "html/faq.html",  "html/hint.html",
                                      "html/intro.html",  "html/shortcut.html", "html/tables.html",
                                      "html/term.html",   "html/usage.html"};
    if (combined) files.push_back("html/popup.js");
    EXPECT_EQ(run.Read("sample.hhp"),
              SjisLines(Join({{"[OPTIONS]", "Compatibility=1.1 or later", "Compiled file=sample.chm",
                               "Contents file=sample.hhc", "Default Window=main", "Default topic=html/intro.html",
                               "Display compile progress=No", "Error log file=log.txt", "Index file=sample.hhk",
                               "Language=0x411 日本語", "Title=サンプル ヘルプ", "", "[WINDOWS]",
                               "main=,\"sample.hhc\",\"sample.hhk\",\"html/intro.html\",,,,,,0x2120,,0x300e,,,,,,,,0",
                               "", "[FILES]"},
                              files,
                              {"", "[INFOTYPES]"}})));
  }
}

TEST(SampleProjectFiles, CompiledHelpHoldsEveryFileAndTheJapaneseIndex) {
  SampleRun run({"--chm", "--quiet"});
  ASSERT_EQ(run.code, kExitSuccess) << run.err;
  EXPECT_EQ(run.out, run.dir.Native() + "/out/sample.hhp\n" + run.dir.Native() + "/out/sample.chm\n");
  std::optional<ProcessResult> extract = RunProcess({"extract_chmLib", "sample.chm", "x"}, run.dir.Native() + "/out");
  ASSERT_TRUE(extract && extract->exitCode == 0) << (extract ? extract->output : "extract_chmLib missing");

  namespace fs = std::filesystem;
  int compared = 0;
  for (const char* folder : {"html", "img"}) {
    for (const auto& file : fs::directory_iterator(run.dir.Native() + "/out/" + folder)) {
      std::string name = std::string(folder) + "/" + file.path().filename().string();
      EXPECT_EQ(run.dir.Read("out/x/" + name), run.Read(name)) << name;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 13);  // eight pages, help.css, popup.js, readme.txt (a button's ExecFile), screen.png and toolbar.png
  EXPECT_EQ(run.dir.Read("out/x/sample.hhc"), run.Read("sample.hhc"));
  EXPECT_EQ(run.dir.Read("out/x/sample.hhk"), run.Read("sample.hhk"));
  EXPECT_NE(run.dir.Read("out/x/sample.hhk").find("value=\"" + Sjis("枠付き") + "\""), std::string::npos);
}

}  // namespace
}  // namespace quorvex
