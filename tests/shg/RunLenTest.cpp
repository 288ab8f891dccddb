#include "shg/RunLen.h"

#include <gtest/gtest.h>

#include <random>

#include "base/ByteReader.h"
#include "base/CompressedNumbers.h"

namespace quorvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Unpack(const Bytes& packed, std::size_t limit = 1 << 20) { return UnpackRunLen(packed, limit); }

TEST(RunLen, PacksRunsAndLiteralsGreedily) {
  EXPECT_EQ(PackRunLen(Bytes(200, 9)), (Bytes{127, 9, 73, 9}));
  EXPECT_EQ(PackRunLen(Bytes{1, 2, 3}), (Bytes{131, 1, 2, 3}));
  EXPECT_EQ(PackRunLen(Bytes{5, 5, 7}), (Bytes{2, 5, 129, 7}));
  EXPECT_EQ(PackRunLen(Bytes{4}), (Bytes{129, 4}));
  EXPECT_EQ(PackRunLen(Bytes{}), Bytes{});
  EXPECT_EQ(PackRunLen(Bytes{1, 2, 2, 3}), (Bytes{129, 1, 2, 2, 129, 3}));
  // The byte after a full run of 127 starts afresh, even when it is the same.
  Bytes full(128, 6);
  full.push_back(8);
  EXPECT_EQ(PackRunLen(full), (Bytes{127, 6, 130, 6, 8}));
  // 127 literals go out as one block as soon as they are complete.
  Bytes literals;
  for (int i = 0; i < 130; ++i) literals.push_back(static_cast<std::uint8_t>(i));
  const Bytes packed = PackRunLen(literals);
  ASSERT_EQ(packed.size(), 132u);
  EXPECT_EQ(packed[0], 255);
  EXPECT_EQ(packed[128], 128 + 3);
}

TEST(RunLen, UnpacksBlocksAndGivesEveryPackedInputBack) {
  EXPECT_EQ(Unpack({127, 9, 73, 9}), Bytes(200, 9));
  EXPECT_EQ(Unpack({131, 1, 2, 3}), (Bytes{1, 2, 3}));
  EXPECT_EQ(Unpack({2, 5, 129, 7}), (Bytes{5, 5, 7}));
  EXPECT_EQ(Unpack({0, 1, 128, 3, 4}), (Bytes{4, 4, 4}));  // empty blocks give nothing
  std::mt19937 random(5);
  for (int round = 0; round < 200; ++round) {
    Bytes input(random() % 600);
    // Few values, so runs of every length occur.
    for (auto& b : input) b = static_cast<std::uint8_t>(random() % (round % 4 + 1));
    EXPECT_EQ(Unpack(PackRunLen(input)), input) << round;
  }
}

TEST(RunLen, UnpackingStopsAtTheEndOfTheDataAndAtTheLimit) {
  EXPECT_EQ(Unpack({0x85, 1, 2}), (Bytes{1, 2}));  // a literal block cut short
  EXPECT_EQ(Unpack({3, 7, 4}), (Bytes{7, 7, 7}));  // a run without its byte
  Bytes limited(127, 1);
  limited.insert(limited.end(), 3, 2);
  EXPECT_EQ(Unpack({127, 1, 127, 2}, 130), limited);
}

TEST(CompressedNumbers, ShortAndLongForms) {
  const Bytes bytes = {0xFE, 0xFF, 0xFF, 0x06, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x05};
  ByteReader reader(bytes);
  EXPECT_EQ(ReadCompressedWord(reader), 127);
  EXPECT_EQ(ReadCompressedWord(reader), 32767);
  EXPECT_EQ(ReadCompressedWord(reader), 3);
  EXPECT_EQ(ReadCompressedDword(reader), 32767u);
  EXPECT_EQ(ReadCompressedDword(reader), 2147483647u);
  EXPECT_EQ(ReadCompressedDword(reader), 1u);
  EXPECT_THROW(ReadCompressedWord(reader), EReadPastEnd);  // a long form without its second byte
}

}  // namespace
}  // namespace quorvex
