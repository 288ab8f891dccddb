// Converts examples/guide, the sample in Word's form, and compiles it.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "cli/Process.h"
#include "support/ChmOracle.h"
#include "support/HelpProject.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

TEST(GuideSample, ConvertsCompilesAndKeepsTheContextMap) {
  test::TempDir dir;
  test::RunResult run = test::RunConverter(
      {std::string(QUORVEX_SOURCE_DIR) + "/examples/guide/guide.hpj", dir.Native() + "/out", "--chm"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.err.find("link to other@other.hlp leads into other.chm, a help this run does not convert"), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("quorvex-convert: 1 warning\n"), std::string::npos) << run.err;

  namespace fs = std::filesystem;
  std::set<std::string> files;
  for (const char* folder : {"html", "img"}) {
    for (const auto& file : fs::directory_iterator(dir.Native() + "/out/" + folder)) {
      files.insert(std::string(folder) + "/" + file.path().filename().string());
    }
  }
  EXPECT_EQ(files, (std::set<std::string>{"html/alink_1.html", "html/faq.html", "html/help.css", "html/install.html", "html/klink_2.html",
                                          "html/popup.js", "html/settings.html", "html/term_shortcut.html",
                                          "html/top.html", "html/usage.html", "img/bullet.png", "img/reference_1.png",
                                          "img/reference_2.png", "img/screen.png", "img/toolbar.png"}));
  const std::string hhp = dir.Read("out/guide.hhp");
  EXPECT_NE(hhp.find("[ALIAS]\r\nIDH_TOP=html/top.html\r\nIDH_SETTINGS=html/settings.html\r\nIDH_INSTALL=html/install.html\r\n\r\n"
                     "[MAP]\r\n#define IDH_TOP 100\r\n#define IDH_SETTINGS 0x0103\r\n#define IDH_INSTALL 0x0002\r\n"),
            std::string::npos)
      << hhp;

  // The compiled help holds every page and the context numbers.
  std::optional<ProcessResult> list = RunProcess({"enum_chmLib", "guide.chm"}, dir.Native() + "/out");
  ASSERT_TRUE(list && list->exitCode == 0);
  for (const char* name : {"/html/top.html", "/html/usage.html", "/#IVB", "/guide.hhk"}) {
    EXPECT_NE(list->output.find(name), std::string::npos) << name;
  }

  // Every [MAP] number opens its [ALIAS] page: #IVB holds number and #STRINGS offset.
  std::optional<std::map<std::string, std::string>> compiled = test::ReadWithChmlib(dir.Read("out/guide.chm"));
  ASSERT_TRUE(compiled.has_value());
  const std::string ivb = compiled->at("/#IVB"), strings = compiled->at("/#STRINGS");
  std::map<std::uint32_t, std::string> pages;
  auto u32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(ivb[at]) | static_cast<unsigned char>(ivb[at + 1]) << 8 |
                                      static_cast<unsigned char>(ivb[at + 2]) << 16 | static_cast<unsigned char>(ivb[at + 3]) << 24);
  };
  ASSERT_EQ(ivb.size(), 4 + 3 * 8u);
  for (std::size_t at = 4; at + 8 <= ivb.size(); at += 8) pages[u32(at)] = strings.substr(u32(at + 4)).c_str();
  EXPECT_EQ(pages, (std::map<std::uint32_t, std::string>{
                       {100, "html/top.html"}, {0x103, "html/settings.html"}, {2, "html/install.html"}}));
}

}  // namespace
}  // namespace quorvex
