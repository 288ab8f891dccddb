#include "hlp/Phrases.h"

#include <gtest/gtest.h>

#include "support/ErrorMessage.h"
#include "support/HelpFileBuilder.h"

namespace quorvex {
namespace {

using test::Bytes;

std::string Expand(const PhraseTable& table, const Bytes& text, bool& damaged, std::size_t limit = 1000) {
  std::vector<std::uint8_t> out = table.Expand(text, limit, damaged);
  return std::string(out.begin(), out.end());
}

// Phrases "w0", "w1", ...: numbers past 127 and 255 in them.
PhraseTable Numbered(PhraseTable::Kind kind, int count) {
  std::vector<std::uint8_t> image;
  std::vector<std::uint32_t> offsets{0};
  for (int i = 0; i < count; ++i) {
    const std::string phrase = "w" + std::to_string(i);
    image.insert(image.end(), phrase.begin(), phrase.end());
    offsets.push_back(static_cast<std::uint32_t>(image.size()));
  }
  return PhraseTable(kind, image, offsets);
}

TEST(Phrases, ClassicCodesNameAPhraseAndABlank) {
  const PhraseTable table = Numbered(PhraseTable::Kind::Classic, 300);
  struct Case {
    Bytes text;
    std::string expanded;
    bool damaged;
  };
  const Case cases[] = {
      {{'A', 0x01, 0x00, 0x01, 0x03, 'B', 0x00}, std::string("Aw0w1 B") + '\0', false},
      {{0x02, 0x02, 0x02, 0x03}, "w129w129 ", false},     // (2 - 1) * 256 + 2, halved
      {{'x', 0x0F, 0xFE}, "x", true},                     // phrase 1919 of 300: none
      {{'x', 0x01}, "x", true},                           // a code cut short
      {{0x10, 0xFF, 0x01, 0x01}, "\x10\xFFw0 ", false},   // bytes from 16 on are themselves
  };
  for (const Case& c : cases) {
    bool damaged = false;
    EXPECT_EQ(Expand(table, c.text, damaged), c.expanded);
    EXPECT_EQ(damaged, c.damaged);
  }
  bool damaged = false;
  EXPECT_EQ(Expand(table, {0x01, 0x03, 0x01, 0x03}, damaged, 4), "w1 w");  // the limit stops inside a phrase
}

TEST(Phrases, HallCodesForPhrasesLiteralsBlanksAndZeros) {
  const PhraseTable table = Numbered(PhraseTable::Kind::Hall, 400);
  struct Case {
    Bytes text;
    std::string expanded;
    bool damaged;
  };
  const Case cases[] = {
      {{0x00, 0x02, 0xFE}, "w0w1w127", false},
      {{0x01, 0x05, 0x05, 0x00}, "w133w384", false},        // 128 + 5; 128 + 256
      {{0x13, 'x', 'y', 'z', 0x27, 0x1F}, std::string("xyz   ") + std::string(2, '\0'), false},
      {{0x0B, 'a'}, "a", true},                              // two literals announced, one there
      {{0x09, 0x00}, "", true},                              // phrase 128 + 512: none
      {{0x01}, "", true},
  };
  for (const Case& c : cases) {
    bool damaged = false;
    EXPECT_EQ(Expand(table, c.text, damaged), c.expanded);
    EXPECT_EQ(damaged, c.damaged);
  }
}

TEST(Phrases, TablesReadFromTheirFiles) {
  SystemInfo version31;
  version31.Minor = 21;
  SystemInfo version30;
  version30.Minor = 15;
  auto text = [](const PhraseTable& table) {
    std::string all;
    for (std::size_t i = 0; i < table.Count(); ++i) {
      auto phrase = table.Phrase(i);
      all += std::string(phrase.begin(), phrase.end()) + "|";
    }
    return all;
  };
  // Two phrases; WinHelp 3.1 packs their text.
  const Bytes classic31{2, 0, 0, 1, 7, 0, 0, 0, 6, 0, 10, 0, 13, 0, 0x00, 'h', 'e', 'l', 'p', 't', 'h', 'e'};
  EXPECT_EQ(text(ReadClassicPhrases({classic31, 0}, version31)), "help|the|");
  const Bytes classic30{2, 0, 0, 1, 6, 0, 10, 0, 13, 0, 'h', 'e', 'l', 'p', 't', 'h', 'e'};
  EXPECT_EQ(text(ReadClassicPhrases({classic30, 0}, version30)), "help|the|");
  // Lengths 4, 3 and 10 bit-packed with two low bits: 0 11, 0 01, 11 0 10.
  Bytes index;
  for (std::uint32_t field : {1u, 3u, 4u, 17u, 17u, 0u}) test::Put32(index, field);
  test::Put16(index, 2);
  test::Put16(index, 0x4A00);
  index.insert(index.end(), {0xE6, 0x02, 0x00, 0x00});
  const Bytes image = test::Str("helptheabcdefghij");
  EXPECT_EQ(text(ReadHallPhrases({index, 0}, {image, 0})), "help|the|abcdefghij|");
  Bytes packedIndex = index;
  packedIndex[16] = static_cast<std::uint8_t>(test::PackLz77(image).size());
  EXPECT_EQ(text(ReadHallPhrases({packedIndex, 0}, {test::PackLz77(image), 0})), "help|the|abcdefghij|");

  auto error = [](auto read) { return test::ErrorMessage<EHelpFileError>(read); };
  Bytes tooMany = index;
  tooMany[4] = 100;
  EXPECT_EQ(error([&] { ReadHallPhrases({tooMany, 0}, {image, 0}); }),
            "|PhrIndex, offset 0x4: more phrases announced than the index can hold");
  Bytes shortImage = index;
  shortImage[12] = shortImage[16] = 4;
  EXPECT_EQ(error([&] { ReadHallPhrases({shortImage, 0}, {image, 0}); }),
            "|PhrIndex, offset 0x1C: a phrase is longer than all phrases together");
  Bytes backwards = classic31;
  backwards[10] = 5;
  EXPECT_EQ(error([&] { ReadClassicPhrases({backwards, 0}, version31); }),
            "|Phrases, offset 0x8: a phrase starts before the first one");
  EXPECT_EQ(error([&] { ReadClassicPhrases({Bytes(classic31.begin(), classic31.begin() + 11), 0}, version31); }),
            "|Phrases, offset 0x8: the phrase table is cut short");
}

}  // namespace
}  // namespace quorvex
