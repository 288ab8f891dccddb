#include "base/StringList.h"

#include <gtest/gtest.h>

#include <random>

#include "base/Errors.h"
#include "base/Texts.h"

namespace quorvex {
namespace {

TEST(StringList, SplitsAtEveryKindOfLineEnd) {
  StringList list;
  list.SetText("a\r\nb\rc\nd");
  EXPECT_EQ(list, (StringList{"a", "b", "c", "d"}));
  list.SetText("a\r\n\r\n");
  EXPECT_EQ(list, (StringList{"a", ""}));
  list.SetText("a\n\rb");  // LF then CR: two line ends
  EXPECT_EQ(list, (StringList{"a", "", "b"}));
  list.SetText("");
  EXPECT_TRUE(list.Empty());
}

TEST(StringList, NulByteEndsTheText) {
  StringList list;
  list.SetText(std::string("one\r\ntw\0o\r\nthree", 16));
  EXPECT_EQ(list, (StringList{"one", "tw"}));
}

TEST(StringList, TextEndsEveryEntryWithCrLf) {
  EXPECT_EQ((StringList{"a", "", "b"}).Text(), "a\r\n\r\nb\r\n");
  EXPECT_EQ(StringList{}.Text(), "");
}

TEST(StringList, IndexOfFindsTheFirstEntryIgnoringCase) {
  StringList list{"Intro.html", "other.html", "intro.html"};
  EXPECT_EQ(list.IndexOf("INTRO.HTML"), 0);
  EXPECT_EQ(list.IndexOf("missing"), -1);
}

TEST(StringList, InsertAndDeleteAtPositions) {
  StringList list{"b"};
  list.Insert(0, "a");
  list.Insert(2, "c");
  EXPECT_EQ(list, (StringList{"a", "b", "c"}));
  list.Delete(1);
  EXPECT_EQ(list, (StringList{"a", "c"}));
}

TEST(StringList, PositionOutOfRangeRaisesTheListIndexError) {
  StringList list{"a"};
  try {
    list.Delete(1);
    FAIL() << "no error";
  } catch (const EListError& error) {
    EXPECT_EQ(error.Message(), FormatText(kListIndexError, "1"));
  }
  EXPECT_THROW(list.Insert(2, "x"), EListError);
  EXPECT_THROW((void)list[-1], EListError);
}

}  // namespace
}  // namespace quorvex

namespace quorvex {
namespace {

// The index beside the list answers as a search from the start would, after
// any mix of additions, insertions, deletions and replacements.
TEST(StringList, LookupsStayRightThroughEveryChange) {
  std::mt19937 random(7);
  StringList list;
  std::vector<ByteString> plain;
  const std::vector<ByteString> words = {"a", "A", "b", "\x83" "A", "\x83" "a", "  b", ""};
  for (int step = 0; step < 4000; ++step) {
    const ByteString& word = words[random() % words.size()];
    const int at = plain.empty() ? 0 : static_cast<int>(random() % (plain.size() + 1));
    switch (random() % 5) {
      case 0: list.Add(word); plain.push_back(word); break;
      case 1: list.Insert(at, word); plain.insert(plain.begin() + at, word); break;
      case 2:
        if (at < static_cast<int>(plain.size())) {
          list.Delete(at);
          plain.erase(plain.begin() + at);
        }
        break;
      case 3:
        if (at < static_cast<int>(plain.size())) {
          list.Set(at, word);
          plain[static_cast<std::size_t>(at)] = word;
        }
        break;
      default: {
        int expected = -1;
        for (std::size_t i = 0; i < plain.size() && expected < 0; ++i) {
          if (SameText(plain[i], word)) expected = static_cast<int>(i);
        }
        ASSERT_EQ(list.IndexOf(word), expected) << "step " << step;
      }
    }
  }
  EXPECT_EQ(std::vector<ByteString>(list.begin(), list.end()), plain);
}

}  // namespace
}  // namespace quorvex
