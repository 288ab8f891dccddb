#include "project/KeywordIndexWriter.h"

#include <gtest/gtest.h>

#include "convert/Driver.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::CrLf;
using test::Sjis;
using test::TempDir;

const std::string kHeader = CrLf({"<HTML>", "<!-- Sitemap 1.0 -->", "<OBJECT type=\"text/site properties\">",
                                  "</OBJECT>", "<UL>"});
const std::string kEnd = "</UL></HTML>\r\n";

std::string Entry(int tabs, const std::string& keyword, const std::string& page) {
  std::string indent(static_cast<std::size_t>(tabs), '\t');
  std::string text = indent + "<LI> <OBJECT type=\"text/sitemap\">\r\n" + indent + "\t<param name=\"Keyword\" value=\"" +
                     keyword + "\">\r\n";
  if (page.empty()) {
    text += indent + "\t<param name=\"See Also\" value=\"" + keyword + "\">\r\n";
  } else {
    text += indent + "\t<param name=\"Name\" value=\"" + keyword + "\">\r\n" + indent +
            "\t<param name=\"Local\" value=\"html/" + page + "\">\r\n";
  }
  return text + indent + "\t</OBJECT>\r\n";
}

class KeywordIndexWriterTest : public ::testing::Test {
 protected:
  KeywordIndexWriterTest() {
    ChooseProject(job_, dir_.Engine() + "help.hpj");
    ChooseOutputFolder(job_, dir_.Engine());
  }
  std::string Write(std::initializer_list<std::pair<ByteString, ByteString>> entries) {
    for (const auto& [keyword, page] : entries) {
      job_.IndexKeywords.Add(keyword);
      job_.IndexPages.Add(page);
    }
    WriteKeywordIndex(job_);
    return dir_.Exists("help.hhk") ? dir_.Read("help.hhk") : "(none)";
  }
  TempDir dir_;
  ConversionJob job_;
};

TEST_F(KeywordIndexWriterTest, KeywordOfThreeTopicsIsWrittenThreeTimes) {
  const ByteString k = Sjis("索引");
  EXPECT_EQ(Write({{k, "a.html"}, {k, "b.html"}, {k, "c.html"}}),
            kHeader + Entry(1, k, "a.html") + Entry(1, k, "b.html") + Entry(1, k, "c.html") + kEnd);
  EXPECT_TRUE(job_.HasIndex);
}

TEST_F(KeywordIndexWriterTest, HeadingWithoutPageRefersToItself) {
  EXPECT_EQ(Write({{"Basics", ""}, {"  One", "one.html"}, {"  Two", "two.html"}, {"Next", "n.html"}}),
            kHeader + Entry(1, "Basics", "") + "\t<UL>\r\n" + Entry(2, "One", "one.html") +
                Entry(2, "Two", "two.html") + "\t</UL>\r\n" + Entry(1, "Next", "n.html") + kEnd);
}

TEST_F(KeywordIndexWriterTest, IndexEndingOnSecondLevelClosesItsList) {
  EXPECT_EQ(Write({{"A", "a.html"}, {"  B", "b.html"}, {"", "x.html"}, {"  C", "c.html"}}),
            kHeader + Entry(1, "A", "a.html") + "\t<UL>\r\n" + Entry(2, "B", "b.html") + Entry(2, "C", "c.html") +
                "\t</UL>\r\n" + kEnd);
}

TEST_F(KeywordIndexWriterTest, LeadingBlankMakesASecondLevelEntry) {
  EXPECT_EQ(Write({{" xWord", "w.html"}, {" ", "s.html"}}),
            kHeader + "\t<UL>\r\n" + Entry(2, "Word", "w.html") + Entry(2, "", "s.html") + "\t</UL>\r\n" + kEnd);
}

TEST_F(KeywordIndexWriterTest, EntriesClaimTheirPopupPages) {
  job_.PopupPages = {"b.html", "kept.html"};
  Write({{"A", ""}, {"  B", "B.html"}});
  EXPECT_EQ(job_.PopupPages, (StringList{"kept.html"}));
}

TEST_F(KeywordIndexWriterTest, NoKeywordsNoFile) {
  struct Sink : StatusSink {
    void SetStatus(const ByteString&) override { ++calls; }
    int calls = 0;
  } sink;
  job_.Status = &sink;
  EXPECT_EQ(Write({}), "(none)");
  EXPECT_FALSE(job_.HasIndex);
  EXPECT_EQ(sink.calls, 0);
}

}  // namespace
}  // namespace quorvex
