#include "base/StringList.h"

#include <gtest/gtest.h>

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
