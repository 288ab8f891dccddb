#include "convert/Driver.h"

#include <gtest/gtest.h>

#include "base/Errors.h"
#include "base/Files.h"
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
  void Progress(long done, long total) override { progress.emplace_back(done, total); }

  bool combine = true;
  std::vector<std::pair<long, long>> progress;
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

// Three topics: a and b link popups (b's first use after a's), c links none.
void WritePopupProject(const TempDir& dir) {
  dir.Write("p.hpj", CrLf({"[FILES]", "a.rtf", "b.rtf", "c.rtf"}));
  dir.Write("a.rtf", CrLf({"{\\rtf1", "#{\\footnote a}{\\ul x}{\\v two}"}));
  dir.Write("b.rtf", CrLf({"{\\rtf1", "#{\\footnote b}{\\ul y}{\\v one}{\\ul z}{\\v Two}"}));
  dir.Write("c.rtf", CrLf({"{\\rtf1", "#{\\footnote c}plain"}));
  dir.Write("one.rtf", CrLf({"{\\rtf1", "#{\\footnote one}First\\par "}));
  dir.Write("two.rtf", CrLf({"{\\rtf1", "#{\\footnote two}Second"}));
}

TEST(Driver, CombinedPopupsGoToPopupFileInFirstUseOrder) {
  TempDir dir;
  WritePopupProject(dir);
  ConversionJob job;
  ChooseProject(job, dir.Engine() + "p.hpj");
  ChooseOutputFolder(job, dir.Engine() + "out");
  RecordingHost host;
  RunConversion(job, host);
  EXPECT_EQ(dir.Read("out/html/popup.js"),
            CrLf({"popfont=\"" + test::Sjis("ＭＳ Ｐゴシック") + ",10\"", "pop1=\"Second\"", "pop2=\"First\\n\""}));
  EXPECT_NE(dir.Read("out/html/b.html").find("TextPopup(pop2,popfont,9,9,-1,-1)\">y</a><a href=\"JavaScript:popup.TextPopup(pop1,"),
            std::string::npos);
  EXPECT_EQ(dir.Read("out/html/c.html").find("<object"), std::string::npos);
  EXPECT_NE(dir.Read("out/p.hhp").find("html/c.html\r\nhtml/popup.js\r\n"), std::string::npos);
  EXPECT_EQ(host.texts, (std::vector<ByteString>{"a.rtf", "b.rtf", "c.rtf", "hhp\x8D\xEC\x90\xAC", ""}));
}

TEST(Driver, NoPopupFileWithoutCombinedPopupsOrWithoutLinks) {
  TempDir dir;
  WritePopupProject(dir);
  ConversionJob job;
  ChooseProject(job, dir.Engine() + "p.hpj");
  ChooseOutputFolder(job, dir.Engine() + "out");
  RecordingHost host;
  host.combine = false;
  RunConversion(job, host);
  EXPECT_FALSE(dir.Exists("out/html/popup.js"));
  EXPECT_NE(dir.Read("out/html/b.html").find("pop2=\"Second\"\r\n</script>"), std::string::npos);

  dir.Write("p.hpj", CrLf({"[FILES]", "c.rtf"}));
  dir.Write("out/html/popup.js", "earlier");
  host.combine = true;
  RunConversion(job, host);
  EXPECT_EQ(dir.Read("out/html/popup.js"), "earlier");  // left as it was
  EXPECT_EQ(dir.Read("out/p.hhp").find("popup.js"), std::string::npos);
}

TEST(Driver, ProgressCountsPagesAndPicturesUpToTheTotal) {
  ConversionJob job;
  ChooseProject(job, EnginePath(std::string(QUORVEX_SOURCE_DIR) + "/examples/guide/guide.hpj"));
  TempDir dir;
  ChooseOutputFolder(job, dir.Engine() + "out");
  RecordingHost host;
  RunConversion(job, host);
  ASSERT_FALSE(host.progress.empty());
  for (std::size_t i = 0; i < host.progress.size(); ++i) {
    EXPECT_EQ(host.progress[i].first, static_cast<long>(i + 1));
    EXPECT_EQ(host.progress[i].second, host.progress.back().second);
  }
  // Every topic's page and every picture, the last one finishing the count.
  EXPECT_EQ(host.progress.back().first, host.progress.back().second);
  EXPECT_GT(host.progress.back().second, static_cast<long>(job.WrittenPages.size()));
}

}  // namespace
}  // namespace quorvex
