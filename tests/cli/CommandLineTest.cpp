#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <sstream>

#include "Version.h"
#include "support/HelpProject.h"

namespace quorvex {
namespace {

using test::CrLf;
using test::Sjis;
using test::TempDir;

using test::RunResult;

RunResult RunWith(std::vector<std::string> args) { return test::RunConverter(args); }

TEST(CommandLine, UsageErrorsExitWithTwo) {
  TempDir dir;
  dir.Write("a.hpj", "");
  dir.Write("b.hpj", "");
  // Several projects need an output folder: the last argument is one only when it is no file.
  for (auto args : std::vector<std::vector<std::string>>{{},
                                                         {"--bogus", "p.hpj"},
                                                         {dir.Native() + "/a.hpj", dir.Native() + "/b.hpj"},
                                                         {"p.hpj", "--chm-compiler", "hhc"},
                                                         {"p.hpj", "--chm-compiler"}}) {
    RunResult run = RunWith(args);
    EXPECT_EQ(run.code, kExitUsage);
    EXPECT_NE(run.err.find("usage: quorvex-convert"), std::string::npos);
  }
}

TEST(CommandLine, HelpAndVersion) {
  EXPECT_EQ(RunWith({"--version"}).out, std::string("quorvex-convert ") + kQuorvexVersion + "\n");
  RunResult help = RunWith({"--help"});
  EXPECT_EQ(help.code, kExitSuccess);
  EXPECT_NE(help.out.find("--no-combine-popups"), std::string::npos);
}

TEST(CommandLine, ConversionErrorExitsWithOneAndTheMessageInUtf8) {
  TempDir dir;
  RunResult run = RunWith({dir.Native() + "/なし.hpj"});
  EXPECT_EQ(run.code, kExitConversionFailed);
  EXPECT_NE(run.err.find("ファイル " + dir.Native() + "/なし.hpj は開けません"), std::string::npos) << run.err;
}

TEST(CommandLine, ConvertsIntoTheGivenFolderOrBesideTheProject) {
  TempDir dir;
  dir.Write("プロジェクト/p.hpj", CrLf({"[OPTIONS]", "TITLE=" + Sjis("題")}));
  RunResult run = RunWith({dir.Native() + "/プロジェクト/p.hpj", dir.Native() + "/出力/"});
  EXPECT_EQ(run.code, kExitSuccess) << run.err;
  EXPECT_EQ(run.out, dir.Native() + "/出力/p.hhp\n");
  EXPECT_TRUE(dir.Exists("出力/html/help.css"));

  run = RunWith({dir.Native() + "/プロジェクト/p.hpj", "--quiet"});
  EXPECT_EQ(run.code, kExitSuccess) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(dir.Exists("プロジェクト/p.hhp"));
}

}  // namespace
}  // namespace quorvex
