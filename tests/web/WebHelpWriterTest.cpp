// Converts examples/sample with --web and checks what web/ holds: every page
// and picture of the HTML Help project in its browser form and the viewer's
// own files. What the viewer makes of them is tested in Chromium
// (tests/web/browser).

#include "web/WebHelpWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/Encoding.h"
#include "cli/CommandLine.h"
#include "document/DocumentTestSupport.h"
#include "support/TempDir.h"
#include "base/Utf8.h"
#include "web/WebAssets.h"
#include "web/WebPage.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WordFootnote;

struct WebRun {
  TempDir dir;
  int code;
  std::string out, err;

  explicit WebRun(std::vector<std::string> options) {
    std::vector<std::string> args = {std::string(QUORVEX_SOURCE_DIR) + "/examples/sample/sample.hpj",
                                     dir.Native() + "/out", "--quiet"};
    args.insert(args.end(), options.begin(), options.end());
    std::ostringstream outStream, errStream;
    code = RunCommandLine(args, outStream, errStream);
    out = outStream.str();
    err = errStream.str();
  }
};

bool IsCleanUtf8(const std::string& text) { return DecodeUtf8(text).find(U'\uFFFD') == std::u32string::npos; }

TEST(WebHelpWriter, EveryPageAndPictureInBrowserForm) {
  for (bool combined : {true, false}) {
    WebRun run(combined ? std::vector<std::string>{"--web"} : std::vector<std::string>{"--web", "--no-combine-popups"});
    ASSERT_EQ(run.code, kExitSuccess) << run.err;
    EXPECT_EQ(run.out, run.dir.Native() + "/out/sample.hhp\n" + run.dir.Native() + "/out/web/index.html\n");
    int pages = 0;
    for (const auto& file : fs::directory_iterator(run.dir.Native() + "/out/html")) {
      std::string name = "html/" + file.path().filename().string();
      std::string original = run.dir.Read("out/" + name), web = run.dir.Read("out/web/" + name);
      std::optional<std::string> utf8 = Cp932ToUtf8(original);
      ASSERT_TRUE(utf8) << name;
      EXPECT_TRUE(IsCleanUtf8(web)) << name;
      if (name.ends_with(".html")) {
        EXPECT_EQ(web, WebPageFor(*utf8)) << name;
        ++pages;
      } else if (name.ends_with(".js")) {
        EXPECT_EQ(web, *utf8);
      }
    }
    EXPECT_EQ(pages, 8);
    EXPECT_EQ(combined, run.dir.Exists("out/web/html/popup.js"));
    for (const char* picture : {"img/screen.png", "img/toolbar.png"}) {
      EXPECT_EQ(run.dir.Read(std::string("out/web/") + picture), run.dir.Read(std::string("out/") + picture));
    }
  }
}

TEST(WebHelpWriter, ViewerFilesAreTheSourceTreesAssets) {
  WebRun run({"--web"});
  ASSERT_EQ(run.code, kExitSuccess) << run.err;
  int count = 0;
  for (const auto& file : fs::recursive_directory_iterator(std::string(QUORVEX_SOURCE_DIR) + "/src/web/assets")) {
    if (!file.is_regular_file()) continue;
    std::string relative = fs::relative(file.path(), std::string(QUORVEX_SOURCE_DIR) + "/src/web/assets").string();
    std::ifstream in(file.path(), std::ios::binary);
    std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ++count;
    if (relative == "index.html") continue;  // the template of the viewer page, below
    EXPECT_EQ(run.dir.Read("out/web/" + relative), source) << relative;
  }
  EXPECT_EQ(count, static_cast<int>(WebAssets().size()));
  // The sample is Japanese: so is its viewer page, with every word filled in.
  const std::string viewer = run.dir.Read("out/web/index.html");
  EXPECT_EQ(viewer.find("{{"), std::string::npos);
  EXPECT_NE(viewer.find("<html lang=\"ja\">"), std::string::npos);
  EXPECT_NE(viewer.find("<title>サンプル ヘルプ</title>"), std::string::npos);
  EXPECT_NE(viewer.find("aria-selected=\"true\">目次</button>"), std::string::npos);
}

// A help of our own in English: a page named after a context that begins
// with a dot, a topic without a title, and a title whose word its text lacks.
TEST(WebHelpWriter, EveryPageByItsNameAndTitleInTheHelpsLanguage) {
  test::DocumentProject p;
  p.project.Section("[OPTIONS]", {"TITLE=Fixture <Help>", "LCID=0x409 0x0 0x0"});
  p.Document("doc.rtf",
             {WordFootnote('#', "start") + WordFootnote('$', "Getting started") + WordFootnote('K', "dots") +
                  "Read {\\uldb the hidden page}{\\v .x}.\\par ",
              WordFootnote('#', ".x") + WordFootnote('$', "Dotted page") + WordFootnote('K', "dots;concealed") +
                  "Kept out of sight.\\par ",
              WordFootnote('#', "trouble") + WordFootnote('$', "Troubleshooting") + "When it fails, restart.\\par ",
              WordFootnote('#', "untitled") + "\\s1 Details of the window\\par \\pard The window shows it.\\par "});
  test::RunResult run = p.Convert({"--web"});
  ASSERT_EQ(run.code, kExitSuccess) << run.err;

  // Pages in the order of their names: .x, start, trouble, untitled.
  EXPECT_EQ(p.project.Output("web/html/.x.html"), WebPageFor(p.Utf8Output("html/.x.html")));
  EXPECT_NE(p.project.Output("web/html/start.html").find("<a href=\".x.html\">"), std::string::npos);
  const std::string data = p.project.Output("web/webhelp/help-data.js");
  EXPECT_NE(data.find("\"pages\":[\n{\"f\":\".x.html\",\"t\":\"Dotted page\"},\n{\"f\":\"start.html\",\"t\":\"Getting started\"},"
                      "\n{\"f\":\"trouble.html\",\"t\":\"Troubleshooting\"},\n{\"f\":\"untitled.html\",\"t\":\"Details of the window\"}]"),
            std::string::npos)
      << data;
  EXPECT_NE(data.find("{\"n\":\"dots\",\"p\":[\"start.html\",\".x.html\"]}"), std::string::npos) << data;
  EXPECT_NE(data.find("{\"n\":\"concealed\",\"p\":[\".x.html\"]}"), std::string::npos) << data;

  // "troubleshooting" stands in the title only; "concealed" in a keyword only.
  const std::string search = p.project.Output("web/webhelp/search-data.js");
  EXPECT_NE(search.find("\"ub\":[2]"), std::string::npos) << search;
  EXPECT_NE(search.find("\"nc\":[0]"), std::string::npos) << search;

  // The viewer speaks English, every word of it.
  const std::string viewer = p.project.Output("web/index.html");
  EXPECT_NE(viewer.find("<html lang=\"en\">"), std::string::npos);
  EXPECT_NE(viewer.find("<title>Fixture &lt;Help&gt;</title>"), std::string::npos);
  EXPECT_NE(viewer.find(">Contents</button>"), std::string::npos);
  for (char32_t c : DecodeUtf8(viewer)) ASSERT_LT(c, 0x3000u) << "a Japanese word in an English viewer";
}

TEST(WebHelpWriter, OnlyWhenAskedAndNothingLeftFromAnEarlierRun) {
  WebRun plain({});
  ASSERT_EQ(plain.code, kExitSuccess) << plain.err;
  EXPECT_FALSE(plain.dir.Exists("out/web"));

  TempDir dir;
  dir.Write("out/web/html/gone.html", "old");
  dir.Write("out/web/img/gone.png", "old");
  dir.Write("out/web/webhelp/gone.js", "old");
  dir.Write("out/web/notes.txt", "the reader's own");
  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine({std::string(QUORVEX_SOURCE_DIR) + "/examples/sample/sample.hpj", dir.Native() + "/out",
                            "--quiet", "--web"},
                           out, err),
            kExitSuccess)
      << err.str();
  for (const char* gone : {"out/web/html/gone.html", "out/web/img/gone.png", "out/web/webhelp/gone.js"}) {
    EXPECT_FALSE(dir.Exists(gone)) << gone;
  }
  EXPECT_TRUE(dir.Exists("out/web/notes.txt"));
  EXPECT_TRUE(dir.Exists("out/web/html/intro.html"));
}

}  // namespace
}  // namespace quorvex
