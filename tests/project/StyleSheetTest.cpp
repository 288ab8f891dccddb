#include "project/StyleSheet.h"

#include <gtest/gtest.h>

#include "convert/Driver.h"
#include "base/Files.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::CrLf;
using test::Sjis;
using test::TempDir;

TEST(StyleSheet, SevenFixedLines) {
  TempDir dir;
  ConversionJob job;
  ChooseOutputFolder(job, dir.Engine() + "out");
  ForceDirectories(job.OutputFolder + "html");
  WriteStyleSheet(job, job.OutputFolder + "html\\help.css");
  const std::string font = Sjis("ＭＳ Ｐゴシック");
  EXPECT_EQ(dir.Read("out/html/help.css"),
            CrLf({"body\t{ font-size: 75%; font-family: " + font + "; }",
                  "table\t{ font-size: 100%; font-family: " + font + "; }", "h4\t{ margin-bottom: 1pt; }",
                  "li\t{ margin-top: 2pt; }", "ul li\t{ padding-top: 2pt; }",
                  "ul\t{ margin-top: 2pt; margin-bottom: 2pt; }", "menu\t{ margin-top: 2pt; margin-bottom: 2pt; }"}));
}

TEST(StyleSheet, PopupFileOnlyWithCombinedPopupsThatExist) {
  TempDir dir;
  ConversionJob job;
  ChooseOutputFolder(job, dir.Engine() + "out");
  ForceDirectories(job.OutputFolder + "html");

  job.CombinePopups = true;
  WritePopupFile(job);  // nothing collected
  EXPECT_FALSE(dir.Exists("out/html/popup.js"));

  job.CombinePopups = false;
  job.PopupLines.Add("pop1=\"a\"");
  WritePopupFile(job);
  EXPECT_FALSE(dir.Exists("out/html/popup.js"));

  job.CombinePopups = true;
  WritePopupFile(job);
  EXPECT_EQ(dir.Read("out/html/popup.js"), CrLf({"popfont=\"" + Sjis("ＭＳ Ｐゴシック") + ",10\"", "pop1=\"a\""}));
  EXPECT_EQ(job.PopupLines.Count(), 2);  // the list keeps the font line
}

}  // namespace
}  // namespace quorvex
