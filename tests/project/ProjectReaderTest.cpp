#include "project/ProjectReader.h"

#include <gtest/gtest.h>

#include "convert/Driver.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "base/Texts.h"
#include "project/SourceFiles.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::CrLf;
using test::Sjis;
using test::TempDir;

class ProjectReaderTest : public ::testing::Test {
 protected:
  void Read(const std::string& hpj) {
    dir_.Write("help.hpj", hpj);
    ChooseProject(job_, dir_.Engine() + "help.hpj");
    ReadProject(job_);
  }
  TempDir dir_;
  ConversionJob job_;
};

TEST_F(ProjectReaderTest, ReadsOptionsFilesAndWindowColour) {
  Read(CrLf({"; comment", "[options]", "TITLE=" + Sjis("サンプル"), "BMROOT=bmp", "ROOT=rtf,more", "CONTENTS=Intro",
             "", "[FILES]", "intro.rtf", "; kept", "sub\\two.rtf", "[WINDOWS]",
             "main=\"" + Sjis("ヘルプ") + "\",(653,102,360,600),0,(r14876671),(r12632256),1"}));
  EXPECT_EQ(job_.Title, Sjis("サンプル"));
  EXPECT_EQ(job_.BitmapFolders, std::vector<ByteString>{"bmp\\"});
  EXPECT_EQ(job_.TopicFolders, (std::vector<ByteString>{"rtf\\", "more\\"}));
  EXPECT_EQ(job_.ContentsTopic, "Intro");
  EXPECT_EQ(job_.ProjectFiles, (StringList{"intro.rtf", "sub\\two.rtf"}));
  EXPECT_EQ(job_.BodyColorAttr, " bgcolor=#ffffe2");
}

TEST_F(ProjectReaderTest, KeysIgnoreCaseAndBlanksAndBlankLinesStayInsideSections) {
  // Real project files put blank (or blank-looking) lines anywhere; only a "[" line ends a section.
  Read(CrLf({"[OPTIONS]", "Title=lower", "ROOT =x", "TITLE = Spaced", "", "CONTENTS=after", "[OPTIONS] ",
             "[FILES]", "", "one.rtf", " \t", "two.rtf", "[WINDOWS]", "",
             "main=\"x\",(1,2,3,4),0,(r255),(r0)", "[ALIAS]", "", "a=b", "[MAP]", "", "b 7", "", "[FILES] ",
             "x.rtf"}));
  EXPECT_EQ(job_.Title, " Spaced");  // what follows "=" stays the title
  EXPECT_EQ(job_.TopicFolders, std::vector<ByteString>{"x\\"});
  EXPECT_EQ(job_.ContentsTopic, "after");
  EXPECT_EQ(job_.ProjectFiles, (StringList{"one.rtf", "two.rtf"}));
  EXPECT_EQ(job_.BodyColorAttr, " bgcolor=#ff0000");
  EXPECT_EQ(job_.TopicAliases.Resolve("A"), "b");
  EXPECT_EQ(job_.HelpContexts.Entries().size(), 1u);

  Read("\xEF\xBB\xBF" + CrLf({"[OPTIONS]", "TITLE=marked"}));
  EXPECT_EQ(job_.Title, "marked");

  // WinHelp 3.0's name of the contents topic, where CONTENTS= is not given.
  Read(CrLf({"[OPTIONS]", "Index = old"}));
  EXPECT_EQ(job_.ContentsTopic, "old");
  Read(CrLf({"[OPTIONS]", "INDEX=old", "CONTENTS=new"}));
  EXPECT_EQ(job_.ContentsTopic, "new");
}

TEST_F(ProjectReaderTest, LongValuesAreCutTo255Bytes) {
  Read(CrLf({"[OPTIONS]", "TITLE=" + std::string(300, 'x'), "ROOT=" + std::string(260, 'r')}));
  EXPECT_EQ(job_.Title, std::string(255, 'x'));
  EXPECT_EQ(job_.TopicFolders, std::vector<ByteString>{std::string(255, 'r') + "\\"});
}

TEST_F(ProjectReaderTest, WindowsSectionMustStartWithMain) {
  Read(CrLf({"[WINDOWS]", "second=\"x\",(1,2,3,4),0,(r255),(r0)", "main=\"x\",(1,2,3,4),0,(r255),(r0)"}));
  EXPECT_EQ(job_.BodyColorAttr, "");
  Read(CrLf({"[WINDOWS]", "main=\"a\",(1,2,3,4),0,(r255)", "main=\"b\",,,(r65280)"}));
  EXPECT_EQ(job_.BodyColorAttr, " bgcolor=#00ff00");  // the later line replaces the earlier
}

TEST_F(ProjectReaderTest, MainWindowColourForms) {
  EXPECT_EQ(MainWindowColorAttr("main=\"x\",(1,2,3,4),0,(r16711680)"), " bgcolor=#0000ff");
  EXPECT_EQ(MainWindowColorAttr("main=\"x\",,,(r-1)"), " bgcolor=#ffffff");
  EXPECT_EQ(MainWindowColorAttr("main=\"x\",(1,2,3,4),0"), std::nullopt);        // fewer than four fields
  EXPECT_EQ(MainWindowColorAttr("main=\"x\",(1,2,3,4),0,r255"), std::nullopt);   // no "(" in the fourth
  EXPECT_EQ(MainWindowColorAttr("main=\"never closed,,,(r255)"), std::nullopt);  // caption runs to the end
  // A double-byte character whose trail byte is 0x22 does not end the caption.
  EXPECT_EQ(MainWindowColorAttr("main=\"\x81\x22\",,,(r255)"), " bgcolor=#ff0000");
}

TEST_F(ProjectReaderTest, ColourThatIsNotAnIntegerIsAnError) {
  try {
    Read(CrLf({"[WINDOWS]", "main=\"x\",(1,2,3,4),0,(256,255,226)"}));
    FAIL() << "no error";
  } catch (const EConvertError& error) {
    EXPECT_EQ(error.Message(), FormatText(kNotAnInteger, "56,255,226"));
  }
}

TEST_F(ProjectReaderTest, IntegersAcceptBlanksAndSignsOnly) {
  EXPECT_EQ(ParseInteger("  -42"), -42);
  EXPECT_EQ(ParseInteger("+7"), 7);
  EXPECT_EQ(ParseInteger("-2147483648"), -2147483648LL);
  for (const char* bad : {"", "-", "12 ", "1x", "2147483648", "99999999999999999999"}) {
    EXPECT_THROW(ParseInteger(bad), EConvertError) << bad;
  }
}

TEST_F(ProjectReaderTest, ASecondReadStartsFromAnEmptyJob) {
  Read(CrLf({"[OPTIONS]", "TITLE=first", "ROOT=r", "[FILES]", "a.rtf", "[WINDOWS]", "main=\"x\",,,(r1)"}));
  job_.IndexKeywords.Add("k");
  job_.HasIndex = job_.HasContents = true;
  Read(CrLf({"[FILES]", "b.rtf"}));
  EXPECT_EQ(job_.Title, "");
  EXPECT_TRUE(job_.TopicFolders.empty());
  EXPECT_EQ(job_.BodyColorAttr, "");
  EXPECT_EQ(job_.ProjectFiles, (StringList{"b.rtf"}));
  EXPECT_TRUE(job_.IndexKeywords.Empty());
  EXPECT_FALSE(job_.HasIndex || job_.HasContents);
}

TEST_F(ProjectReaderTest, TopicPathsResolveAsOnWindows) {
  dir_.Write("topics/intro.rtf", "{\\rtf1}");
  Read(CrLf({"[OPTIONS]", "ROOT=Topics", "[FILES]", "Intro.RTF"}));
  EXPECT_EQ(ReadFile(TopicFilePath(job_, job_.ProjectFiles[0])), "{\\rtf1}");
}

TEST_F(ProjectReaderTest, MissingProjectRaisesTheOpenError) {
  ChooseProject(job_, dir_.Engine() + "none.hpj");
  EXPECT_THROW(ReadProject(job_), EFOpenError);
}

}  // namespace
}  // namespace quorvex
