#include "platform/Rle.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace quorvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Decoded {
  RleError Error;
  Bytes Pixels;
};

Decoded Decode8(const Bytes& data, std::int32_t width, std::int32_t rows) {
  Bytes pixels(static_cast<std::size_t>(DibRowBytes(width, 8) * rows));
  RleError error = DecodeRle8(data, width, rows, pixels);
  return {error, pixels};
}

Decoded Decode4(const Bytes& data, std::int32_t width, std::int32_t rows) {
  Bytes pixels(static_cast<std::size_t>(DibRowBytes(width, 4) * rows));
  RleError error = DecodeRle4(data, width, rows, pixels);
  return {error, pixels};
}

// Encodes `height` copies of one 8-bit row into a buffer of the plain
// block's size plus `extra` bytes (the converters give no extra).
Bytes Encode8(const Bytes& row, std::int32_t height = 1, std::size_t extra = 0) {
  const auto width = static_cast<std::int32_t>(row.size());
  Bytes pixels;
  for (int y = 0; y < height; ++y) {
    pixels.insert(pixels.end(), row.begin(), row.end());
    pixels.resize(static_cast<std::size_t>(DibRowBytes(width, 8) * (y + 1)));
  }
  Bytes out(pixels.size() + extra);
  std::int64_t length = EncodeRle8(pixels, width, height, out);
  if (length < 0) return {};
  out.resize(static_cast<std::size_t>(length));
  return out;
}

TEST(RleDecode, EightBitRunsAndEndOfLineFillRowsInMemoryOrder) {
  Decoded d = Decode8({0x04, 0x07, 0x00, 0x00, 0x04, 0x09, 0x00, 0x01}, 4, 2);
  EXPECT_EQ(d.Error, RleError::None);
  EXPECT_EQ(d.Pixels, (Bytes{7, 7, 7, 7, 9, 9, 9, 9}));
}

TEST(RleDecode, EightBitChecksRefuseRunsPastTheRowAndLinesPastTheBottom) {
  EXPECT_EQ(Decode8({0x05, 0x07, 0x00, 0x00, 0x04, 0x09, 0x00, 0x01}, 4, 2).Error, RleError::EncodedRun);
  // Two ends of line in a 2-row picture are accepted; a third is not.
  EXPECT_EQ(Decode8({0x00, 0x00, 0x00, 0x00, 0x00, 0x01}, 4, 2).Error, RleError::None);
  EXPECT_EQ(Decode8({0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, 4, 2).Error, RleError::EndOfLine);
  // A run on the row below the last is refused even when it fits the width.
  EXPECT_EQ(Decode8({0x00, 0x00, 0x00, 0x00, 0x01, 0x05}, 4, 2).Error, RleError::EncodedRun);
  EXPECT_EQ(Decode8({0x00, 0x03, 1, 2, 3, 0, 0x00, 0x03, 1, 2}, 4, 1).Error, RleError::AbsoluteRun);
  EXPECT_EQ(Decode8({0x00, 0x02, 0x05, 0x00}, 4, 1).Error, RleError::Delta);
  EXPECT_EQ(Decode8({0x00, 0x02, 0x00, 0x03}, 4, 2).Error, RleError::Delta);
  // A run ending exactly at the width, and a delta to x = width, are accepted.
  EXPECT_EQ(Decode8({0x04, 0x01, 0x00, 0x02, 0x00, 0x01}, 4, 2).Error, RleError::None);
  EXPECT_EQ(Decode8({0x00, 0x02, 0x04, 0x00, 0x00, 0x01}, 4, 1).Error, RleError::None);
}

TEST(RleDecode, EightBitDeltaAndAbsoluteRunsWithTheirPadding) {
  // delta (1, 1), then an absolute run of 3 padded to 4 bytes, then a run.
  Decoded d = Decode8({0x00, 0x02, 0x01, 0x01, 0x00, 0x03, 5, 6, 7, 0xEE, 0x01, 0x08, 0x00, 0x01}, 5, 2);
  EXPECT_EQ(d.Error, RleError::None);
  EXPECT_EQ(d.Pixels, (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 6, 7, 8, 0, 0, 0}));
}

TEST(RleDecode, FourBitRunsAlternateNibblesAndLiteralsAreNibbles) {
  Decoded run = Decode4({0x03, 0xAB, 0x00, 0x01}, 3, 1);
  EXPECT_EQ(run.Error, RleError::None);
  EXPECT_EQ(run.Pixels, (Bytes{0xAB, 0xA0, 0, 0}));

  // An absolute run of 3 nibbles takes 2 bytes (already even); delta to the odd pixel 1.
  Decoded literal = Decode4({0x00, 0x03, 0x12, 0x30, 0x00, 0x00, 0x00, 0x02, 0x01, 0x00, 0x01, 0xF0, 0x00, 0x01}, 4, 2);
  EXPECT_EQ(literal.Error, RleError::None);
  EXPECT_EQ(literal.Pixels, (Bytes{0x12, 0x30, 0, 0, 0x0F, 0x00, 0, 0}));
}

TEST(RleDecode, FourBitRowsMayBeFilledToTheEvenWidth) {
  EXPECT_EQ(Decode4({0x04, 0x11, 0x00, 0x01}, 3, 1).Error, RleError::None);
  EXPECT_EQ(Decode4({0x05, 0x11, 0x00, 0x01}, 3, 1).Error, RleError::EncodedRun);
  EXPECT_EQ(Decode4({0x00, 0x05, 1, 2, 3, 0}, 3, 1).Error, RleError::AbsoluteRun);
  EXPECT_EQ(Decode4({0x00, 0x02, 0x05, 0x00}, 3, 1).Error, RleError::Delta);
  EXPECT_EQ(Decode4({0x00, 0x00, 0x00, 0x00}, 3, 1).Error, RleError::EndOfLine);
}

TEST(RleDecode, DataEndingEarlyStopsAtTheLastWholeCode) {
  // No end of bitmap, an odd last byte, a delta and a literal cut short.
  EXPECT_EQ(Decode8({0x02, 0x07}, 4, 1).Pixels, (Bytes{7, 7, 0, 0}));
  EXPECT_EQ(Decode8({0x02, 0x07, 0x03}, 4, 1).Pixels, (Bytes{7, 7, 0, 0}));
  EXPECT_EQ(Decode8({0x02, 0x07, 0x00, 0x02, 0x01}, 4, 1).Error, RleError::None);
  EXPECT_EQ(Decode8({0x00, 0x04, 1, 2, 3}, 4, 1).Pixels, (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(Decode4({0x00, 0x05, 0x12}, 6, 1).Pixels, (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(Decode8({}, 4, 1).Error, RleError::None);
}

TEST(RleDecode, RandomStreamsNeverWriteOutsideThePixels) {
  std::mt19937 random(1234);
  for (int i = 0; i < 3000; ++i) {
    Bytes data(random() % 64);
    for (auto& b : data) b = static_cast<std::uint8_t>(random() % 6 == 0 ? random() % 3 : random());
    const auto width = static_cast<std::int32_t>(1 + random() % 9);
    const auto rows = static_cast<std::int32_t>(random() % 4);
    Decode8(data, width, rows);
    Decode4(data, width, rows);
  }
}

TEST(RleEncode, LiteralLosesItsLastUnitToAFollowingRunAndShortLiteralsAreRuns) {
  EXPECT_EQ(Encode8({5, 5, 5, 7, 8, 9, 9}, 1, 8),
            (Bytes{0x03, 0x05, 0x01, 0x07, 0x01, 0x08, 0x02, 0x09, 0x00, 0x00, 0x00, 0x01}));
}

TEST(RleEncode, EveryCodeNeedsRoomForWhatMayFollowIt) {
  // The run 02 09 starts at 6 bytes used and needs 6 free: 12 bytes of room
  // are the least, one fewer fails (the plain row has 8).
  EXPECT_EQ(Encode8({5, 5, 5, 7, 8, 9, 9}, 1, 4).size(), 12u);
  EXPECT_TRUE(Encode8({5, 5, 5, 7, 8, 9, 9}, 1, 3).empty());
  // An end of line needs 4 free and the end of bitmap 2: a run of 1 in a
  // 12-byte buffer fits (6 free), its end of line too (10), and so on.
  EXPECT_EQ(Encode8(Bytes(8, 1), 1, 0).size(), 6u);
}

TEST(RleEncode, RunsStopAt255AndLongLiteralsArePaddedToEven) {
  EXPECT_EQ(Encode8(Bytes(300, 4)), (Bytes{0xFF, 4, 0x2D, 4, 0x00, 0x00, 0x00, 0x01}));
  Bytes literal = Encode8({1, 2, 3, 4, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5});
  EXPECT_EQ(literal, (Bytes{0x00, 0x04, 1, 2, 3, 4, 16, 5, 0x00, 0x00, 0x00, 0x01}));
  Bytes odd = Encode8({1, 2, 3, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
  EXPECT_EQ(odd, (Bytes{0x00, 0x03, 1, 2, 3, 0, 14, 9, 0x00, 0x00, 0x00, 0x01}));
}

TEST(RleEncode, NoiseAndTinyPicturesDoNotFit) {
  std::mt19937 random(99);
  Bytes noise(200);
  for (auto& b : noise) b = static_cast<std::uint8_t>(random());
  EXPECT_TRUE(Encode8(noise, 8).empty());
  // One pixel: 4 bytes of room, but a run asks for 6.
  EXPECT_TRUE(Encode8({3}).empty());
}

TEST(RleEncode, FourBitCountsArePixelsCutAtTheWidth) {
  // Width 5: three bytes 0x11 make a run of 3 units, written as 5 pixels.
  Bytes pixels = {0x11, 0x11, 0x11, 0x00, 0x11, 0x11, 0x11, 0x00, 0x11, 0x11, 0x11, 0x00};
  Bytes out(pixels.size() + 2);
  std::int64_t length = EncodeRle4(pixels, 5, 3, out);
  ASSERT_EQ(length, 14);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 14),
            (Bytes{0x05, 0x11, 0x00, 0x00, 0x05, 0x11, 0x00, 0x00, 0x05, 0x11, 0x00, 0x00, 0x00, 0x01}));

  // A literal of 3 bytes in a width of 5 counts 5 pixels; one of 1 byte is a run.
  Bytes mixed = {0x12, 0x34, 0x50, 0x00, 0x12, 0x12, 0x30, 0x00};
  Bytes out2(mixed.size() + 16);
  length = EncodeRle4(mixed, 5, 2, out2);
  ASSERT_EQ(length, 16);
  EXPECT_EQ(Bytes(out2.begin(), out2.begin() + 16),
            (Bytes{0x00, 0x05, 0x12, 0x34, 0x50, 0x00, 0x00, 0x00, 0x04, 0x12, 0x01, 0x30, 0x00, 0x00, 0x00, 0x01}));
}

TEST(RleEncode, TopDownRowsAreEncodedBottomRowFirst) {
  const std::int32_t width = 8;
  Bytes pixels(16);
  std::fill(pixels.begin(), pixels.begin() + 8, 1);  // the top row of a top-down picture
  std::fill(pixels.begin() + 8, pixels.end(), 2);
  Bytes out(pixels.size());
  ASSERT_EQ(EncodeRle8(pixels, width, -2, out), 10);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 10), (Bytes{8, 2, 0, 0, 8, 1, 0, 0, 0, 1}));
}

TEST(RleEncode, EncodedRowsDecodeToTheSamePixels) {
  std::mt19937 random(7);
  for (int bits : {4, 8}) {
    for (std::int32_t width = 1; width < 90; width += 3) {
      const std::int32_t rows = 3;
      const std::int64_t rowBytes = DibRowBytes(width, bits);
      Bytes pixels(static_cast<std::size_t>(rowBytes * rows), 0);
      const std::int64_t used = bits == 8 ? width : (width + 1) / 2;
      for (std::int32_t y = 0; y < rows; ++y) {
        std::uint8_t value = 0;
        for (std::int64_t x = 0; x < used; ++x) {
          if (random() % 4 == 0) value = static_cast<std::uint8_t>(random());
          pixels[y * rowBytes + x] = value;
        }
        // The padding nibble of an odd 4-bit width is not a pixel.
        if (bits == 4 && width % 2 == 1) pixels[y * rowBytes + used - 1] &= 0xF0;
      }
      Bytes out(pixels.size() + 64);  // room enough: only the codec's behaviour is checked here
      std::int64_t length = bits == 8 ? EncodeRle8(pixels, width, rows, out) : EncodeRle4(pixels, width, rows, out);
      ASSERT_GE(length, 0) << width;
      out.resize(static_cast<std::size_t>(length));
      Decoded back = bits == 8 ? Decode8(out, width, rows) : Decode4(out, width, rows);
      EXPECT_EQ(back.Error, RleError::None);
      EXPECT_EQ(back.Pixels, pixels) << "bits " << bits << " width " << width;
    }
  }
}

}  // namespace
}  // namespace quorvex
