#include "app/Driver.h"

#include <gtest/gtest.h>

#include "base/Errors.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::CrLf;
using test::TempDir;

// Records what a conversion does to the window.
class RecordingHost : public ConversionHost {
 public:
  bool CombinePopupsChecked() override {
    ++checkBoxReads;
    return combine;
  }
  void SetBusyCursor(bool value) override { busy = value; }
  void SetStatus(const ByteString& text) override { texts.push_back(text); }

  bool combine = true;
  int checkBoxReads = 0;
  bool busy = false;
  std::vector<ByteString> texts;
};

TEST(Driver, ProjectPathsFromTheChosenFile) {
  ConversionJob job;
  ChooseProject(job, "C:\\help\\sample.hpj");
  ChooseOutputFolder(job, "D:\\out");
  EXPECT_EQ(job.ProjectFolder, "C:\\help\\");
  EXPECT_EQ(job.OutputFolder, "D:\\out\\");
  ChooseProject(job, "C:sample.hpj");
  EXPECT_EQ(job.ProjectFolder, "C:");
}

TEST(Driver, ProjectWithoutFilesStillGetsStyleSheetAndProjectFile) {
  TempDir dir;
  dir.Write("p.hpj", CrLf({"[OPTIONS]", "TITLE=t"}));
  ConversionJob job;
  ChooseProject(job, dir.Engine() + "p.hpj");
  ChooseOutputFolder(job, dir.Engine() + "out\\deep");
  RecordingHost host;
  RunConversion(job, host);
  EXPECT_TRUE(dir.Exists("out/deep/html/help.css"));
  EXPECT_TRUE(dir.Exists("out/deep/img"));
  EXPECT_TRUE(dir.Exists("out/deep/p.hhp"));
  EXPECT_FALSE(dir.Exists("out/deep/html/popup.js"));
  EXPECT_EQ(host.checkBoxReads, 1);
  EXPECT_TRUE(job.CombinePopups);
  EXPECT_FALSE(host.busy);
  ASSERT_FALSE(host.texts.empty());
  EXPECT_EQ(host.texts.back(), "");
  EXPECT_EQ(job.Status, nullptr);  // the host is not kept past the conversion
}

TEST(Driver, ErrorLeavesCursorAndStatusRestored) {
  TempDir dir;
  ConversionJob job;
  ChooseProject(job, dir.Engine() + "missing.hpj");
  ChooseOutputFolder(job, dir.Engine() + "out");
  RecordingHost host;
  EXPECT_THROW(RunConversion(job, host), EFOpenError);
  EXPECT_FALSE(host.busy);
  ASSERT_FALSE(host.texts.empty());
  EXPECT_EQ(host.texts.back(), "");
  EXPECT_FALSE(dir.Exists("out"));
}

TEST(Driver, SecondConversionStartsFresh) {
  TempDir dir;
  dir.Write("a.hpj", CrLf({"[OPTIONS]", "TITLE=first", "CONTENTS=x"}));
  dir.Write("b.hpj", CrLf({"[OPTIONS]", "TITLE=second"}));
  ConversionJob job;
  RecordingHost host;
  ChooseProject(job, dir.Engine() + "a.hpj");
  ChooseOutputFolder(job, dir.Engine() + "one");
  RunConversion(job, host);
  host.combine = false;
  ChooseProject(job, dir.Engine() + "b.hpj");
  ChooseOutputFolder(job, dir.Engine() + "two");
  RunConversion(job, host);
  EXPECT_FALSE(job.CombinePopups);
  EXPECT_EQ(job.ContentsTopic, "");
  EXPECT_NE(dir.Read("two/b.hhp").find("Title=second\r\n"), std::string::npos);
  EXPECT_NE(dir.Read("two/b.hhp").find("Default topic=html/\r\n"), std::string::npos);
}

TEST(Driver, DeletesOnlyPopupPagesThatNothingReaches) {
  TempDir dir;
  for (const char* page : {"a.html", "b.html", "c.html", "d.html"}) dir.Write(std::string("out/html/") + page, "");
  dir.Write("victim.html", "");
  ConversionJob job;
  ChooseOutputFolder(job, dir.Engine() + "out");
  job.PopupPages = {"a.html", "b.html", "C.html", "..\\..\\victim.html"};
  job.JumpPages = {"B.HTML", "z.html"};
  DeleteUnreachedPopupPages(job);
  EXPECT_FALSE(dir.Exists("out/html/a.html"));
  EXPECT_TRUE(dir.Exists("out/html/b.html"));   // reached by a jump
  EXPECT_FALSE(dir.Exists("out/html/c.html"));  // letter case does not matter
  EXPECT_TRUE(dir.Exists("out/html/d.html"));   // never a popup
  EXPECT_TRUE(dir.Exists("victim.html"));       // outside the output folder
}

}  // namespace
}  // namespace quorvex
