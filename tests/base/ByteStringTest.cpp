#include "base/ByteString.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

// "ア" is 0x83 0x41: its trail byte is the letter A.
const std::string kKatakanaA = "\x83\x41";
// "表" is 0x95 0x5C: its trail byte is a backslash.
const std::string kHyou = "\x95\x5C";

TEST(ByteString, LowerCaseTouchesSingleByteLettersOnly) {
  EXPECT_EQ(LowerCase("Topic_ONE.Rtf"), "topic_one.rtf");
  EXPECT_EQ(LowerCase(kKatakanaA + "AB"), kKatakanaA + "ab");
  EXPECT_EQ(LowerCase("\xC0\xDA"), "\xC0\xDA");  // half-width katakana are single bytes, not letters
}

TEST(ByteString, SameTextIgnoresLetterCaseButNotTrailBytes) {
  EXPECT_TRUE(SameText("[Options]", "[OPTIONS]"));
  EXPECT_FALSE(SameText("[OPTIONS] ", "[OPTIONS]"));
  EXPECT_FALSE(SameText(kKatakanaA, "\x83\x61"));  // "ア" against 0x83 'a', which is another character
}

TEST(ByteString, PathPartsStepOverTrailBackslashes) {
  EXPECT_EQ(ExtractFileName("C:\\help\\" + kHyou + ".rtf"), kHyou + ".rtf");
  EXPECT_EQ(ExtractFilePath("C:\\help\\" + kHyou + ".rtf"), "C:\\help\\");
  EXPECT_EQ(ExtractFilePath("C:x.hpj"), "C:");
  EXPECT_EQ(ExtractFilePath("x.hpj"), "");
  EXPECT_EQ(ChangeFileExt("a.b\\my.help.hpj", ".cnt"), "a.b\\my.help.cnt");
  EXPECT_EQ(ChangeFileExt("a.b\\noext", ".cnt"), "a.b\\noext.cnt");
  EXPECT_EQ(ExtractFileExt("Logo.BMP"), ".BMP");
  EXPECT_EQ(ExtractFileExt("dir.x\\logo"), "");
}

TEST(ByteString, FileDirKeepsOnlyRootDelimiters) {
  EXPECT_EQ(ExtractFileDir("C:\\help\\sample.hpj"), "C:\\help");
  EXPECT_EQ(ExtractFileDir("C:\\sample.hpj"), "C:\\");
  EXPECT_EQ(ExtractFileDir("\\sample.hpj"), "\\");
  EXPECT_EQ(ExtractFileDir("\\\\server\\sample.hpj"), "\\\\server");
  EXPECT_EQ(ExtractFileDir("a\\\\sample.hpj"), "a\\\\");
  EXPECT_EQ(ExtractFileDir("\\" + kHyou + "\\sample.hpj"), "\\" + kHyou);
}

TEST(ByteString, FormatTextFillsTheFirstPlaceholder) {
  EXPECT_EQ(FormatText("file %s missing", "a.rtf"), "file a.rtf missing");
  EXPECT_EQ(FormatText("index (%d)", "3"), "index (3)");
}

}  // namespace
}  // namespace quorvex
