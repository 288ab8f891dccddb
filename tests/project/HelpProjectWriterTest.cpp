#include "project/HelpProjectWriter.h"

#include <gtest/gtest.h>

#include "convert/Driver.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::CrLf;
using test::Sjis;
using test::TempDir;

class HelpProjectWriterTest : public ::testing::Test {
 protected:
  HelpProjectWriterTest() {
    ChooseProject(job_, "C:\\src\\my.help.hpj");
    ChooseOutputFolder(job_, dir_.Engine() + "out");
    ForceDirectories(job_.OutputFolder + "html");
  }
  std::string Written() { return dir_.Read("out/my.help.hhp"); }
  TempDir dir_;
  ConversionJob job_;
};

TEST_F(HelpProjectWriterTest, FullProjectListsContentsIndexPagesAndPopupFile) {
  job_.Title = Sjis("サンプル ヘルプ");
  job_.ContentsTopic = "Start";
  job_.HasContents = job_.HasIndex = true;
  job_.CombinePopups = true;
  job_.PopupTopics.Add("pop");
  for (const char* page : {"start.html", "Zeta.HTML", "old.htm", "help.css", "popup.js", ".hidden.html"}) {
    dir_.Write(std::string("out/html/") + page, "");
  }
  WriteHelpProject(job_);
  EXPECT_EQ(Written(),
            CrLf({"[OPTIONS]", "Compatibility=1.1 or later", "Compiled file=my.help.chm", "Contents file=my.help.hhc",
                  "Default Window=main", "Default topic=html/start.html", "Display compile progress=No",
                  "Error log file=log.txt", "Index file=my.help.hhk", "Language=0x411 " + Sjis("日本語"),
                  "Title=" + Sjis("サンプル ヘルプ"), "", "[WINDOWS]",
                  "main=,\"my.help.hhc\",\"my.help.hhk\",\"html/start.html\",,,,,,0x2120,,0x300e,,,,,,,,0", "",
                  "[FILES]", "html/old.htm", "html/start.html", "html/zeta.html", "html/popup.js", "",
                  "[INFOTYPES]"}));
}

TEST_F(HelpProjectWriterTest, BareProjectHasNoContentsIndexOrDefaultPage) {
  job_.CombinePopups = false;
  job_.PopupTopics.Add("ignored without combined popups");
  WriteHelpProject(job_);
  EXPECT_EQ(Written(), CrLf({"[OPTIONS]", "Compatibility=1.1 or later", "Compiled file=my.help.chm",
                             "Default Window=main", "Default topic=html/", "Display compile progress=No",
                             "Error log file=log.txt", "Language=0x411 " + Sjis("日本語"), "Title=", "",
                             "[WINDOWS]", "main=,,,\"html/\",,,,,,0x2120,,0x300e,,,,,,,,0", "", "[FILES]", "",
                             "[INFOTYPES]"}));
}

TEST_F(HelpProjectWriterTest, DefaultPageGoesThroughTheNameMap) {
  job_.ContentsTopic = "Intro";
  job_.NameMapKeys.Add("intro");
  job_.NameMapValues.Add("Top");
  WriteHelpProject(job_);
  EXPECT_NE(Written().find("Default topic=html/Top.html\r\n"), std::string::npos);
  EXPECT_NE(Written().find("main=,,,\"html/Top.html\","), std::string::npos);
}

TEST_F(HelpProjectWriterTest, ReportsItsStatus) {
  struct Sink : StatusSink {
    void SetStatus(const ByteString& text) override { texts.push_back(text); }
    std::vector<ByteString> texts;
  } sink;
  job_.Status = &sink;
  WriteHelpProject(job_);
  EXPECT_EQ(sink.texts, (std::vector<ByteString>{Sjis("hhp作成")}));
}

TEST_F(HelpProjectWriterTest, UnwritableProjectFileRaisesTheCreateError) {
  ChooseOutputFolder(job_, dir_.Engine() + "missing\\folder");
  EXPECT_THROW(WriteHelpProject(job_), EFCreateError);
}

}  // namespace
}  // namespace quorvex
