#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include "support/ForeignGraphic.h"

namespace quorvex {
namespace {

using test::ForeignGraphic;

TEST(Bitmap, NewBitmapIsEmptyInDeviceFormat) {
  Bitmap bitmap;
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.Format(), PixelFormat::Device);
  EXPECT_EQ(bitmap.BitsPerPixel(), 24);
  EXPECT_TRUE(bitmap.GetPalette().empty());
  bitmap.SetWidth(3);
  EXPECT_TRUE(bitmap.Empty());  // height still 0
  bitmap.SetHeight(2);
  EXPECT_FALSE(bitmap.Empty());
  EXPECT_EQ(bitmap.RowBytes(), 12);
}

TEST(Bitmap, RowsArePaddedToFourBytesForEveryFormat) {
  const std::pair<PixelFormat, int> expected[] = {
      {PixelFormat::Bit1, 4},   {PixelFormat::Bit4, 4},   {PixelFormat::Bit8, 8},
      {PixelFormat::Bit15, 12}, {PixelFormat::Bit16, 12}, {PixelFormat::Bit24, 16},
      {PixelFormat::Bit32, 20}, {PixelFormat::Device, 16}, {PixelFormat::Custom, 12}};
  for (auto [format, rowBytes] : expected) {
    Bitmap bitmap(5, 2, format);
    EXPECT_EQ(bitmap.RowBytes(), rowBytes) << static_cast<int>(format);
  }
  EXPECT_EQ(Bitmap(33, 1, PixelFormat::Bit1).RowBytes(), 8);
}

TEST(Bitmap, ScanLinesCountFromTheTopInDibLayout) {
  Bitmap one(10, 2, PixelFormat::Bit1);
  one.ScanLine(1)[0] = 0x40;  // second pixel of the bottom row
  one.ScanLine(1)[1] = 0x40;  // tenth pixel
  EXPECT_EQ(one.PixelValue(1, 1), 1u);
  EXPECT_EQ(one.PixelValue(9, 1), 1u);
  EXPECT_EQ(one.PixelValue(1, 0), 0u);

  Bitmap four(3, 1, PixelFormat::Bit4);
  four.ScanLine(0)[0] = 0xAB;
  four.ScanLine(0)[1] = 0xC0;
  EXPECT_EQ(four.PixelValue(0, 0), 0xAu);
  EXPECT_EQ(four.PixelValue(1, 0), 0xBu);
  EXPECT_EQ(four.PixelValue(2, 0), 0xCu);

  Bitmap true24(2, 1, PixelFormat::Bit24);
  true24.SetPixelColor(1, 0, 0x332211);  // blue 0x33, green 0x22, red 0x11
  EXPECT_EQ(true24.ScanLine(0)[3], 0x33);
  EXPECT_EQ(true24.ScanLine(0)[4], 0x22);
  EXPECT_EQ(true24.ScanLine(0)[5], 0x11);

  Bitmap words(1, 1, PixelFormat::Bit16);
  words.SetPixelValue(0, 0, 0xF81F);
  EXPECT_EQ(words.ScanLine(0)[0], 0x1F);
  EXPECT_EQ(words.ScanLine(0)[1], 0xF8);
}

TEST(Bitmap, ScanLineOutsideTheBitmapIsRefused) {
  Bitmap bitmap(2, 2, PixelFormat::Bit8);
  try {
    bitmap.ScanLine(2);
    FAIL();
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message(), "Scan line index out of range");
  }
  EXPECT_THROW(bitmap.ScanLine(-1), EInvalidGraphicOperation);
  EXPECT_THROW(bitmap.PixelValue(2, 0), EInvalidGraphicOperation);
}

TEST(Bitmap, PixelColoursOfEveryFormat) {
  Bitmap b15(1, 1, PixelFormat::Bit15);
  b15.SetPixelValue(0, 0, 0x7FFF);
  EXPECT_EQ(b15.PixelColor(0, 0), 0xFFFFFF);
  b15.SetPixelValue(0, 0, 0x0400);  // lowest red bit
  EXPECT_EQ(b15.PixelColor(0, 0), 8);

  Bitmap b16(1, 1, PixelFormat::Bit16);
  b16.SetPixelValue(0, 0, 0xFFFF);
  EXPECT_EQ(b16.PixelColor(0, 0), 0xFFFFFF);
  b16.SetPixelValue(0, 0, 0x0020);  // lowest green bit
  EXPECT_EQ(b16.PixelColor(0, 0), 4 << 8);

  Bitmap custom(1, 1, PixelFormat::Custom);
  custom.SetPixelValue(0, 0, 0x001F);
  EXPECT_EQ(custom.PixelColor(0, 0), 0xFF0000);  // like 15 bits: blue in the low bits

  Bitmap b32(1, 1, PixelFormat::Bit32);
  b32.SetPixelValue(0, 0, 0xAA102030);
  EXPECT_EQ(b32.PixelColor(0, 0), 0x302010);  // the fourth byte is not a colour

  Bitmap grey(2, 1, PixelFormat::Bit4);  // no palette entries: a grey ramp
  grey.SetPixelValue(1, 0, 15);
  EXPECT_EQ(grey.PixelColor(0, 0), 0);
  EXPECT_EQ(grey.PixelColor(1, 0), 0xFFFFFF);

  Bitmap indexed(2, 1, PixelFormat::Bit8);
  indexed.SetPalette({{10, 20, 30, 0}, {200, 100, 50, 0}});
  indexed.SetPixelValue(1, 0, 7);  // past the palette's end
  EXPECT_EQ(indexed.PixelColor(0, 0), 10 | (20 << 8) | (30 << 16));
  EXPECT_EQ(indexed.PixelColor(1, 0), 0);
  indexed.SetPixelColor(0, 0, 190 | (110 << 8) | (60 << 16));  // nearest: entry 1
  EXPECT_EQ(indexed.PixelValue(0, 0), 1u);
  indexed.SetPixelColor(0, 0, 0x01000005);  // an index mark
  EXPECT_EQ(indexed.PixelValue(0, 0), 5u);
}

TEST(Bitmap, PaletteIsCutToWhatTheFormatCanIndex) {
  Palette big(300, PaletteEntry{1, 2, 3, 0});
  Bitmap b1(1, 1, PixelFormat::Bit1);
  b1.SetPalette(big);
  EXPECT_EQ(b1.GetPalette().size(), 2u);
  Bitmap b24(1, 1, PixelFormat::Bit24);
  b24.SetPalette(big);
  EXPECT_EQ(b24.GetPalette().size(), 256u);
  b24.SetFormat(PixelFormat::Bit4);
  EXPECT_EQ(b24.GetPalette().size(), 16u);
}

TEST(Bitmap, ResizingKeepsTheSharedPartAndClearsTheRest) {
  Bitmap bitmap(10, 2, PixelFormat::Bit1);
  for (int x = 0; x < 10; ++x) bitmap.SetPixelValue(x, 1, 1);
  bitmap.SetSize(3, 3);
  EXPECT_EQ(bitmap.ScanLine(1)[0], 0xE0);  // pixels 3..7 are gone from the padding
  EXPECT_EQ(bitmap.ScanLine(1)[1], 0x00);
  EXPECT_EQ(bitmap.ScanLine(2)[0], 0x00);
  bitmap.SetSize(12, 3);
  EXPECT_EQ(bitmap.PixelValue(2, 1), 1u);
  EXPECT_EQ(bitmap.PixelValue(9, 1), 0u);
}

TEST(Bitmap, ImpossibleSizesAreRefusedAndChangeNothing) {
  Bitmap bitmap(4, 4, PixelFormat::Bit32);
  bitmap.SetPixelValue(3, 3, 0x123456);
  try {
    bitmap.SetSize(100000, 100000);
    FAIL();
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message(), "Bitmap.SetSize: Image too large");
  }
  EXPECT_THROW(bitmap.SetWidth(-1), EInvalidGraphicOperation);
  EXPECT_EQ(bitmap.Width(), 4);
  EXPECT_EQ(bitmap.PixelValue(3, 3), 0x123456u);
}

TEST(Bitmap, FormatChangesKeepTheColours) {
  Bitmap bitmap(3, 1, PixelFormat::Bit24);
  bitmap.SetPixelColor(0, 0, 0x0000FF);
  bitmap.SetPixelColor(1, 0, 0xFFFFFF);
  bitmap.SetPixelColor(2, 0, 0x00F000);
  bitmap.SetPalette({{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {255, 255, 255, 0}});
  bitmap.SetFormat(PixelFormat::Bit8);
  EXPECT_EQ(bitmap.PixelValue(0, 0), 1u);
  EXPECT_EQ(bitmap.PixelValue(1, 0), 3u);
  EXPECT_EQ(bitmap.PixelValue(2, 0), 2u);
  bitmap.SetFormat(PixelFormat::Bit4);  // the palette fits: indexes stay
  EXPECT_EQ(bitmap.PixelValue(2, 0), 2u);
  bitmap.SetFormat(PixelFormat::Bit16);
  EXPECT_EQ(bitmap.PixelColor(0, 0), 0x0000FF);
  EXPECT_EQ(bitmap.PixelColor(1, 0), 0xFFFFFF);
  EXPECT_EQ(bitmap.PixelColor(2, 0), 0x00FF00);

  Bitmap ramp(2, 1, PixelFormat::Bit1);  // no palette: black and white
  ramp.SetPixelValue(1, 0, 1);
  ramp.SetFormat(PixelFormat::Bit8);
  EXPECT_EQ(ramp.PixelValue(0, 0), 0u);
  EXPECT_EQ(ramp.PixelValue(1, 0), 255u);
}

TEST(Bitmap, AssignCopiesEverythingAndStaysIndependent) {
  Bitmap source(5, 3, PixelFormat::Bit8);
  source.SetPalette({{1, 2, 3, 0}, {4, 5, 6, 0}});
  source.SetPixelValue(4, 2, 1);
  source.SetTransparent(true);
  source.SetTransparentColor(0x01000001);

  Bitmap copy;
  copy.Assign(&source);
  EXPECT_EQ(copy.Width(), 5);
  EXPECT_EQ(copy.Height(), 3);
  EXPECT_EQ(copy.Format(), PixelFormat::Bit8);
  EXPECT_EQ(copy.GetPalette(), source.GetPalette());
  EXPECT_EQ(copy.PixelValue(4, 2), 1u);
  EXPECT_TRUE(copy.Transparent());
  EXPECT_EQ(copy.TransparentColor(), 0x01000001);

  copy.SetPixelValue(4, 2, 0);
  EXPECT_EQ(source.PixelValue(4, 2), 1u);

  copy.Clear();
  EXPECT_TRUE(copy.Empty());
  EXPECT_EQ(copy.Format(), PixelFormat::Device);
  EXPECT_TRUE(copy.GetPalette().empty());
}

TEST(Bitmap, ForeignSourceRaisesTheAssignmentErrorAndChangesNothing) {
  Bitmap bitmap(2, 2, PixelFormat::Bit8);
  ForeignGraphic foreign;
  try {
    bitmap.Assign(&foreign);
    FAIL();
  } catch (const EAssignError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TForeign to a TBitmap");
  }
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bit8);
}

TEST(Bitmap, ChangeHandlerSeesEveryChangeButNoIdleSetter) {
  Bitmap bitmap;
  int changes = 0;
  bitmap.SetOnChange([&](Graphic& sender) {
    EXPECT_EQ(&sender, &bitmap);
    ++changes;
  });
  bitmap.SetSize(2, 2);
  bitmap.SetSize(2, 2);
  bitmap.SetFormat(PixelFormat::Bit8);
  bitmap.SetFormat(PixelFormat::Bit8);
  bitmap.SetPalette({{0, 0, 0, 0}});
  bitmap.SetTransparent(true);
  bitmap.SetTransparent(true);
  bitmap.SetTransparentColor(5);
  Bitmap other(1, 1, PixelFormat::Bit24);
  bitmap.Assign(&other);
  EXPECT_EQ(changes, 6);
  EXPECT_TRUE(bitmap.Modified());
}

TEST(Bitmap, ProgressGoesToTheHandler) {
  Bitmap bitmap;
  bitmap.Progress(ProgressStage::Starting, 0, false, {}, "ignored without a handler");
  std::vector<int> seen;
  bitmap.SetOnProgress([&](Graphic&, ProgressStage stage, std::uint8_t percent, bool, const Rect& r,
                           const ByteString& message) {
    seen.push_back(percent);
    EXPECT_EQ(stage, ProgressStage::Running);
    EXPECT_EQ(r, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(message, "msg");
  });
  bitmap.Progress(ProgressStage::Running, 42, false, {1, 2, 3, 4}, "msg");
  EXPECT_EQ(seen, std::vector<int>{42});
}

TEST(Palette, NearestEntryPrefersExactThenTheLowerIndexOfATie) {
  Palette palette = {{10, 0, 0, 0}, {0, 0, 10, 0}, {5, 5, 0, 0}, {5, 5, 0, 0}};
  EXPECT_EQ(NearestEntry(palette, 5 | (5 << 8)), 2);                // first exact match
  EXPECT_EQ(NearestEntry(palette, 5 | (5 << 16)), 0);               // entries 0 and 1 tie
  EXPECT_EQ(NearestEntry({}, 0), -1);
  EXPECT_EQ(GreyRampPalette(4)[15], (PaletteEntry{255, 255, 255, 0}));
  EXPECT_EQ(GreyRampPalette(1).size(), 2u);
}

}  // namespace
}  // namespace quorvex
