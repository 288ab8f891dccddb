// Project files as real projects write them: comments, trailing comments,
// colour triples, folder lists, [ALIAS], [MAP] with includes, LF line ends.

#include <gtest/gtest.h>

#include "base/Errors.h"
#include "convert/Driver.h"
#include "project/ProjectReader.h"
#include "support/HelpProject.h"

namespace quorvex {
namespace {

struct WarningSink : StatusSink {
  void SetStatus(const ByteString&) override {}
  void Warn(const ByteString& file, const ByteString& what) override { warnings.push_back(file + ": " + what); }
  std::vector<ByteString> warnings;
};

TEST(RealProjectFiles, CommentsListsAliasesAndMapsAreRead) {
  test::HelpProject p("\n");
  p.File("bmp/keep", "").File("a,b/keep", "").File("rtf/keep", "");
  p.File("inc/help.hm", "HIDC_ONE    0x808803e9\n#include \"sub\\ids.h\"\n");
  p.File("inc/sub/ids.h", "#ifndef IDS\n#define IDH_SUB 0x10 // note\n/* x */ #define IDH_C 7\n#define NAME \"text\"\n"
                          "#include \"../../missing.hm\"\n");
  p.Section("[OPTIONS]", {"; comment", "TITLE=Real ; trailing", "LCID=0x409 0x0 0x0 ;English", "CNT=Other.cnt",
                          "BMROOT=bmp, C:\\work\\art,missing", "BMROOT=.", "ROOT=a,b", "ROOT=rtf"})
      .Section("[FILES]", {"; a comment", "one.rtf"})
      .Section("[WINDOWS]", {"main=\"x\",(1,2,3,4),0,( 255,255, 226 ),(r0)"})
      .Section("[ALIAS]", {"old = new ; why", "loop1=loop2", "loop2=loop1", "OLD=ignored"})
      .Section("[MAP]", {"; c", "IDH_HEX 0x1234", "IDH_DEC=20", "#define IDH_DEF 12L", "#include <inc\\help.hm>",
                         "not a number", "IDH_HEX 99"});
  ConversionJob job;
  WarningSink sink;
  job.Status = &sink;
  ChooseProject(job, p.WriteProject());
  ReadProject(job);
  EXPECT_EQ(job.Title, "Real");
  EXPECT_EQ(job.CodePage, 1252);
  EXPECT_EQ(job.ContentsFile, "Other.cnt");
  EXPECT_EQ(job.BitmapFolders, (std::vector<ByteString>{"bmp\\", "missing\\", ".\\"}));
  EXPECT_EQ(job.TopicFolders, (std::vector<ByteString>{"a,b\\", "rtf\\"}));
  EXPECT_EQ(job.ProjectFiles, StringList{"one.rtf"});
  EXPECT_EQ(job.BodyColorAttr, " bgcolor=#ffffe2");
  EXPECT_EQ(job.TopicAliases.Resolve("Old"), "new");
  EXPECT_EQ(job.TopicAliases.Resolve("loop1"), "loop2");  // the loop stops before it repeats
  EXPECT_EQ(job.TopicAliases.Resolve("plain"), "plain");
  std::vector<std::pair<ByteString, ByteString>> map;
  for (const MappedContext& entry : job.HelpContexts.Entries()) map.emplace_back(entry.Context, entry.Id);
  EXPECT_EQ(map, (std::vector<std::pair<ByteString, ByteString>>{{"IDH_HEX", "0x1234"},
                                                                 {"IDH_DEC", "20"},
                                                                 {"IDH_DEF", "12"},
                                                                 {"HIDC_ONE", "0x808803e9"},
                                                                 {"IDH_SUB", "0x10"},
                                                                 {"IDH_C", "7"}}));
  ASSERT_EQ(sink.warnings.size(), 1u);
  EXPECT_NE(sink.warnings[0].find("missing.hm: included map file not found"), ByteString::npos);
}

TEST(RealProjectFiles, CharsetWinsOverTheLanguageAndTriplesNeedThreeComponents) {
  test::HelpProject p;
  p.Section("[OPTIONS]", {"LCID=0x411", "CHARSET=238"});
  ConversionJob job;
  ChooseProject(job, p.WriteProject());
  ReadProject(job);
  EXPECT_EQ(job.CodePage, 1250);
  EXPECT_EQ(MainWindowColorAttr("main=\"x\",,,(0,128,255)"), " bgcolor=#0080ff");
  for (const char* bad : {"main=\"x\",,,(1,2)", "main=\"x\",,,(1,2,3,4)", "main=\"x\",,,(1,2,999)"}) {
    EXPECT_THROW(MainWindowColorAttr(bad), EConvertError) << bad;
  }
}

}  // namespace
}  // namespace quorvex
