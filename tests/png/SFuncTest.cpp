#include "png/SFunc.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(SFunc, DibRowStrideIsAMultipleOfFour) {
  EXPECT_EQ(DibRowStride(1, 1), 4);
  EXPECT_EQ(DibRowStride(3, 24), 12);
  EXPECT_EQ(DibRowStride(5, 4), 4);
  EXPECT_EQ(DibRowStride(9, 4), 8);
  EXPECT_EQ(DibRowStride(33, 1), 8);
  EXPECT_EQ(DibRowStride(0, 24), 0);
}

TEST(SFunc, NearestPaletteIndexTakesTheFirstExactMatchAndTheLowerOfATie) {
  Palette palette = {{0, 0, 200, 0}, {100, 0, 0, 0}, {0, 100, 0, 0}, {100, 0, 0, 0}};
  EXPECT_EQ(NearestPaletteIndex(palette, 100), 1);             // entries 1 and 3 match exactly
  EXPECT_EQ(NearestPaletteIndex(palette, 50 | (50 << 8)), 1);  // 1 and 2 both at distance 100
  EXPECT_EQ(NearestPaletteIndex(palette, 40 | (50 << 8)), 2);  // 2 strictly nearer
  EXPECT_EQ(NearestPaletteIndex(palette, 190 << 16), 0);
  EXPECT_EQ(NearestPaletteIndex({}, 0), -1);
}

TEST(SFunc, PaletteEntryColorIsBlueGreenRedFromTheTop) {
  Palette palette = {{0x11, 0x22, 0x33, 0}};
  EXPECT_EQ(PaletteEntryColor(palette, 0), 0x332211);
  EXPECT_EQ(PaletteEntryColor(palette, 1), -1);
  EXPECT_EQ(PaletteEntryColor(palette, -1), -1);
}

TEST(SFunc, PalettesGoToQuadsAndBack) {
  Palette palette = {{1, 2, 3, 9}, {4, 5, 6, 9}};
  QuadTable quads{};
  ASSERT_EQ(PaletteToQuads(palette, quads), 2);
  EXPECT_EQ(quads[0], (RgbQuad{3, 2, 1, 0}));
  EXPECT_EQ(quads[1], (RgbQuad{6, 5, 4, 0}));
  EXPECT_EQ(QuadsToPalette(quads, 2), (Palette{{1, 2, 3, 0}, {4, 5, 6, 0}}));
  EXPECT_TRUE(QuadsToPalette(quads, 0).empty());
  EXPECT_EQ(QuadsToPalette(quads, 1000).size(), 256u);
  EXPECT_EQ(PaletteToQuads(Palette(300), quads), 256);
}

TEST(SFunc, MakeGrayQuadsRampsByBitCount) {
  QuadTable quads{};
  ASSERT_EQ(MakeGrayQuads(quads, 2), 4);
  EXPECT_EQ(quads[1], (RgbQuad{85, 85, 85, 0}));
  EXPECT_EQ(quads[2], (RgbQuad{170, 170, 170, 0}));
  EXPECT_EQ(quads[3], (RgbQuad{255, 255, 255, 0}));
  ASSERT_EQ(MakeGrayQuads(quads, 1), 2);
  EXPECT_EQ(quads[1].Red, 255);
  ASSERT_EQ(MakeGrayQuads(quads, 4), 16);
  EXPECT_EQ(quads[15].Green, 255);
  ASSERT_EQ(MakeGrayQuads(quads, 3), 256);
  EXPECT_EQ(quads[200].Blue, 200);
}

TEST(SFunc, BitCountsAndPixelFormats) {
  EXPECT_EQ(PixelFormatToBits(PixelFormat::Custom), 15);
  EXPECT_EQ(PixelFormatToBits(PixelFormat::Device), 24);
  EXPECT_EQ(PixelFormatToBits(PixelFormat::Bit16), 16);
  for (int bits : {1, 4, 8, 15, 16, 24, 32}) EXPECT_EQ(PixelFormatToBits(BitsToPixelFormat(bits)), bits);
  EXPECT_EQ(BitsToPixelFormat(2), PixelFormat::Bit24);
  EXPECT_EQ(BitsToPixelFormat(0), PixelFormat::Bit24);
}

}  // namespace
}  // namespace quorvex
