#include "topics/Keywords.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::Sjis;

StringList Sjis(std::initializer_list<std::string> items) {
  StringList list;
  for (const std::string& item : items) list.Add(test::Sjis(item));
  return list;
}

TEST(Keywords, FirstAndSecondLevel) {
  ConversionJob job;
  AddKeywords(job, Sjis("索引;基本,操作"), "a.html");
  EXPECT_EQ(job.IndexKeywords, Sjis({"索引", "基本", "  操作"}));
  EXPECT_EQ(job.IndexPages, StringList({"a.html", "", "a.html"}));

  AddKeywords(job, Sjis("基本,設定"), "b.html");  // found, not last: directly after it
  EXPECT_EQ(job.IndexKeywords, Sjis({"索引", "基本", "  設定", "  操作"}));
  EXPECT_EQ(job.IndexPages, StringList({"a.html", "", "b.html", "a.html"}));

  AddKeywords(job, Sjis("索引;索引,x,y"), "c.html");  // 索引 is found first, not the one just added
  EXPECT_EQ(job.IndexKeywords, Sjis({"索引", "  x,y", "基本", "  設定", "  操作", "索引"}));

  AddKeywords(job, "Z;Z,1;z,2", "d.html");  // found as the last entry: appended; then not last any more
  EXPECT_EQ(job.IndexKeywords.Count(), 9);
  EXPECT_EQ(job.IndexKeywords[6], "Z");
  EXPECT_EQ(job.IndexKeywords[7], "  2");
  EXPECT_EQ(job.IndexKeywords[8], "  1");
  EXPECT_EQ(job.IndexPages[6], "d.html");
}

TEST(Keywords, SeparatorsAndEmptyEntries) {
  ConversionJob job;
  AddKeywords(job, "a;;b; c;", "p.html");
  EXPECT_EQ(job.IndexKeywords, StringList({"a", "", "b", " c"}));
  job = ConversionJob();
  AddKeywords(job, ",x;,y", "p.html");  // at ";" even an empty heading is filed; at the end it is not
  EXPECT_EQ(job.IndexKeywords, StringList({"", "  x"}));
  job = ConversionJob();
  AddKeywords(job, "k,", "p.html");
  EXPECT_EQ(job.IndexKeywords, StringList({"k", "  "}));
  job = ConversionJob();
  AddKeywords(job, "\x81;\x82,", "p.html");  // a lead byte takes the next byte with it
  EXPECT_EQ(job.IndexKeywords, StringList({"\x81;\x82,"}));
}

}  // namespace
}  // namespace quorvex
