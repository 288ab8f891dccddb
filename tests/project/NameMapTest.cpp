#include "project/NameMap.h"

#include <gtest/gtest.h>

#include "convert/Driver.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using Fields = std::vector<ByteString>;
using test::CrLf;
using test::Sjis;
using test::TempDir;

TEST(NameMap, SplitsFieldsAtCommasAndBlanks) {
  EXPECT_EQ(SplitNameMapFields("Topic,page"), (Fields{"Topic", "page"}));
  EXPECT_EQ(SplitNameMapFields("  Topic ,  page  "), (Fields{"Topic", "page"}));
  EXPECT_EQ(SplitNameMapFields("two words,page"), (Fields{"two", "words", "page"}));
  EXPECT_EQ(SplitNameMapFields("\"two words\",page"), (Fields{"two words", "page"}));
  EXPECT_EQ(SplitNameMapFields("\"say \"\"hi\"\"\",p"), (Fields{"say \"hi\"", "p"}));
  EXPECT_EQ(SplitNameMapFields("\"open, never closed"), (Fields{"open, never closed"}));
  EXPECT_EQ(SplitNameMapFields("a,"), (Fields{"a", ""}));
  EXPECT_EQ(SplitNameMapFields("a, "), (Fields{"a"}));
  EXPECT_EQ(SplitNameMapFields(",b"), (Fields{"", "b"}));
  EXPECT_EQ(SplitNameMapFields("a,,b"), (Fields{"a", "", "b"}));
  EXPECT_EQ(SplitNameMapFields(""), Fields{});
}

TEST(NameMap, DoubleByteCharactersAreNeverSeparators) {
  // 0x81 0x2C: a lead byte whose next byte is a comma.
  EXPECT_EQ(SplitNameMapFields("\x81\x2C" "a,b"), (Fields{"\x81\x2C" "a", "b"}));
  EXPECT_EQ(SplitNameMapFields("\"\x81\x22\",b"), (Fields{"\x81\x22", "b"}));
}

TEST(NameMap, LoadsTwoFieldLinesOnlyAndMapsPageNames) {
  TempDir dir;
  dir.Write("cnv.txt", CrLf({"Intro,Start", "one", "a,b,c", "un quoted,x", "\"Go Here\",there",
                             Sjis("目次") + "," + Sjis("もくじ"), "INTRO,second", ",empty"}));
  ConversionJob job;
  ChooseProject(job, dir.Engine() + "x.hpj");
  LoadNameMap(job);
  EXPECT_EQ(job.NameMapKeys, (StringList{"intro", "go here", Sjis("目次"), "intro", ""}));
  EXPECT_EQ(job.NameMapValues, (StringList{"Start", "there", Sjis("もくじ"), "second", "empty"}));

  EXPECT_EQ(PageName(job, "INTRO"), "Start.html");  // first entry wins, value keeps its case
  EXPECT_EQ(PageName(job, "Go Here"), "there.html");
  EXPECT_EQ(PageName(job, Sjis("目次")), Sjis("もくじ") + ".html");
  EXPECT_EQ(PageName(job, "Sub\\Other.Topic"), "sub\\other.topic.html");
  EXPECT_EQ(PageName(job, ""), "empty.html");  // the map may name the empty topic
}

TEST(NameMap, WithoutAMapPagesAreLowerCasedNames) {
  ConversionJob job;
  TempDir dir;
  ChooseProject(job, dir.Engine() + "x.hpj");
  LoadNameMap(job);  // no cnv.txt: not an error
  EXPECT_TRUE(job.NameMapKeys.Empty());
  EXPECT_EQ(PageName(job, "Topic_ONE"), "topic_one.html");
  EXPECT_EQ(PageName(job, "\x83\x41" "B"), "\x83\x41" "b.html");
  EXPECT_EQ(PageName(job, ""), "");
}

}  // namespace
}  // namespace quorvex
