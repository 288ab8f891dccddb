#include "platform/Canvas.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A 2 x 2, 8-bit picture: bottom row 0 1, top row 2 3 (four greys).
DibImage Quad8(std::int32_t height = 2) {
  static const Bytes bits = {0, 1, 0, 0, 2, 3, 0, 0};
  DibImage image;
  image.Width = 2;
  image.Height = height;
  image.BitCount = 8;
  image.Colors = {{10, 10, 10, 0}, {20, 20, 20, 0}, {30, 30, 30, 0}, {40, 40, 40, 0}};
  image.Bits = bits;
  return image;
}

int Grey(const Bitmap& bitmap, int x, int y) { return bitmap.PixelColor(x, y) & 0xFF; }

TEST(Canvas, StretchCopiesOneToOneInEitherRowOrder) {
  Bitmap bitmap(2, 2, PixelFormat::Bit24);
  BitmapCanvas canvas(bitmap);
  canvas.StretchDIBits({0, 0, 2, 2}, Quad8());
  EXPECT_EQ(Grey(bitmap, 0, 0), 30);
  EXPECT_EQ(Grey(bitmap, 1, 0), 40);
  EXPECT_EQ(Grey(bitmap, 0, 1), 10);
  canvas.StretchDIBits({0, 0, 2, 2}, Quad8(-2));  // top-down: the first row is the top
  EXPECT_EQ(Grey(bitmap, 0, 0), 10);
  EXPECT_EQ(Grey(bitmap, 1, 1), 40);
}

TEST(Canvas, StretchRepeatsAndDropsPixelsByTheirCentres) {
  Bitmap big(4, 4, PixelFormat::Bit24);
  BitmapCanvas bigCanvas(big);
  bigCanvas.StretchDIBits({0, 0, 4, 4}, Quad8());
  EXPECT_EQ(Grey(big, 1, 1), 30);
  EXPECT_EQ(Grey(big, 2, 1), 40);
  EXPECT_EQ(Grey(big, 3, 3), 20);

  // Four columns into two: the centres fall on source columns 1 and 3.
  static const Bytes row = {1, 2, 3, 4};
  DibImage wide;
  wide.Width = 4;
  wide.Height = 1;
  wide.BitCount = 8;
  wide.Colors = {{0, 0, 0, 0}, {1, 1, 1, 0}, {2, 2, 2, 0}, {3, 3, 3, 0}, {4, 4, 4, 0}};
  wide.Bits = row;
  Bitmap small(2, 1, PixelFormat::Bit24);
  BitmapCanvas smallCanvas(small);
  smallCanvas.StretchDIBits({0, 0, 2, 1}, wide);
  EXPECT_EQ(Grey(small, 0, 0), 2);
  EXPECT_EQ(Grey(small, 1, 0), 4);
}

TEST(Canvas, ReversedRectanglesMirrorAndTheSurfaceClips) {
  Bitmap bitmap(3, 2, PixelFormat::Bit24);
  BitmapCanvas canvas(bitmap);
  canvas.StretchDIBits({2, 0, 0, 2}, Quad8());
  EXPECT_EQ(Grey(bitmap, 0, 0), 40);
  EXPECT_EQ(Grey(bitmap, 1, 0), 30);
  EXPECT_EQ(Grey(bitmap, 2, 0), 0);  // outside the rectangle

  Bitmap clipped(2, 2, PixelFormat::Bit24);
  BitmapCanvas clippedCanvas(clipped);
  clippedCanvas.StretchDIBits({-1, 1, 1, 3}, Quad8());
  EXPECT_EQ(Grey(clipped, 0, 1), 40);
  EXPECT_EQ(Grey(clipped, 0, 0), 0);
  clippedCanvas.StretchDIBits({0, 0, 0, 2}, Quad8());  // empty: nothing
  EXPECT_EQ(Grey(clipped, 0, 0), 0);
}

TEST(Canvas, RunLengthImagesAreDecodedAndBrokenImagesDrawNothing) {
  static const Bytes stream = {0x02, 0x01, 0x00, 0x00, 0x01, 0x03, 0x00, 0x01};
  DibImage rle = Quad8();
  rle.Compression = 1;
  rle.Bits = stream;
  Bitmap bitmap(2, 2, PixelFormat::Bit24);
  BitmapCanvas canvas(bitmap);
  canvas.StretchDIBits({0, 0, 2, 2}, rle);
  EXPECT_EQ(Grey(bitmap, 0, 1), 20);
  EXPECT_EQ(Grey(bitmap, 0, 0), 40);
  EXPECT_EQ(Grey(bitmap, 1, 0), 10);  // skipped by the end of bitmap: index 0

  static const Bytes bad = {0x05, 0x01};
  Bitmap untouched(2, 2, PixelFormat::Bit24);
  BitmapCanvas untouchedCanvas(untouched);
  rle.Bits = bad;
  untouchedCanvas.StretchDIBits({0, 0, 2, 2}, rle);
  DibImage shortImage = Quad8();
  shortImage.Bits = std::span<const std::uint8_t>(shortImage.Bits.data(), 7);
  untouchedCanvas.StretchDIBits({0, 0, 2, 2}, shortImage);
  DibImage sixteen = Quad8();
  sixteen.BitCount = 16;
  untouchedCanvas.StretchDIBits({0, 0, 2, 2}, sixteen);
  EXPECT_EQ(untouched.PixelColor(0, 0), 0);
  EXPECT_EQ(untouched.PixelColor(1, 1), 0);
}

TEST(Canvas, PaletteBitmapsTakeTheNearestEntry) {
  Bitmap bitmap(2, 2, PixelFormat::Bit4);
  bitmap.SetPalette({{0, 0, 0, 0}, {12, 12, 12, 0}, {38, 38, 38, 0}});
  BitmapCanvas canvas(bitmap);
  canvas.StretchDIBits({0, 0, 2, 2}, Quad8());
  EXPECT_EQ(bitmap.PixelValue(0, 1), 1u);  // 10 -> 12
  EXPECT_EQ(bitmap.PixelValue(1, 0), 2u);  // 40 -> 38
  canvas.FillRect({1, 1, 5, 5}, RgbColor(40, 40, 40));
  canvas.SetPixel(-1, 0, 0);
  EXPECT_EQ(bitmap.PixelValue(1, 1), 2u);
  EXPECT_EQ(bitmap.PixelValue(0, 1), 1u);
}

}  // namespace
}  // namespace quorvex
