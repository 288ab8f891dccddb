// TVxDIB.SetPixelFormat: every conversion of the dispatch table, the
// reductions and halftones, progress, and failures that leave the DIB as it was.

#include <gtest/gtest.h>

#include <random>

#include "dib/Expansion.h"
#include "dib/VxDIB.h"
#include "support/DibProbe.h"
#include "support/ErrorMessage.h"

namespace quorvex {
namespace {

using test::Bytes;
using test::ErrorMessage;
using test::Rgb3;
using F = DibPixelFormat;

constexpr F kStored[] = {F::Bit1, F::Bit4, F::Bit4Rle, F::Bit8, F::Bit8Rle, F::Bit24};

const Color kWhite = RgbColor(255, 255, 255);

// 32 x 8 pixels of four colours in runs of 8, so that both run-length forms fit.
std::unique_ptr<TVxDIB> FourColourPicture() {
  const std::uint32_t colours[] = {0, static_cast<std::uint32_t>(kWhite), static_cast<std::uint32_t>(RgbColor(200, 0, 0)),
                                   static_cast<std::uint32_t>(RgbColor(0, 0, 150))};
  std::vector<std::uint32_t> values;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 32; ++x) values.push_back(colours[(x / 8 + y / 2) % 4]);
  }
  return test::LoadDib(test::BmpOf(24, 32, 8, {}, values));
}

// The colours of every pixel, top row first; run-length DIBs are read
// through a decoded copy.
std::vector<Color> ColoursOf(const TVxDIB& dib) {
  TVxDIB plain;
  plain.Assign(&dib);
  if (plain.GetPixelFormat() == F::Bit4Rle) plain.SetPixelFormat(F::Bit4);
  if (plain.GetPixelFormat() == F::Bit8Rle) plain.SetPixelFormat(F::Bit8);
  std::vector<Color> colours;
  for (int y = 0; y < plain.Height(); ++y) {
    for (int x = 0; x < plain.Width(); ++x) colours.push_back(test::ColorOf(plain, x, y));
  }
  return colours;
}

// What 1 bit per pixel makes of the colours with the default mask colour.
std::vector<Color> Masked(std::vector<Color> colours) {
  for (Color& c : colours) c = c == kWhite ? kWhite : 0;
  return colours;
}

TEST(PixelFormat, EveryStoredFormatConvertsToEveryOtherAndBack) {
  for (std::uint8_t quality : {kLowQuality, kHighQuality}) {
    for (F from : kStored) {
      auto source = FourColourPicture();
      source->SetReductionQuality(quality);
      if (from != F::Bit24) source->SetPixelFormat(from);
      ASSERT_EQ(source->GetPixelFormat(), from);
      const std::vector<Color> original = ColoursOf(*source);
      for (F to : kStored) {
        if (to == from) continue;
        TVxDIB dib;
        dib.Assign(source.get());
        dib.SetPixelFormat(to);
        ASSERT_EQ(dib.GetPixelFormat(), to);
        EXPECT_EQ(dib.Width(), 32);
        EXPECT_EQ(dib.Height(), 8);
        const std::vector<Color> expected = to == F::Bit1 ? Masked(original) : original;
        EXPECT_EQ(ColoursOf(dib), expected) << static_cast<int>(from) << " -> " << static_cast<int>(to);
        dib.SetPixelFormat(from);
        EXPECT_EQ(ColoursOf(dib), expected) << static_cast<int>(from) << " -> " << static_cast<int>(to) << " -> back";
      }
      EXPECT_EQ(ColoursOf(*source), original);  // shared, never changed
    }
  }
}

TEST(PixelFormat, ExpansionsKeepTheColourTable) {
  auto dib = test::LoadDib(test::BmpOf(8, 2, 1, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {2, 0}));
  dib->SetPixelFormat(F::Bit24);
  EXPECT_EQ(dib->InternalDIB().Dib().Header.ClrUsed, 3u);
  EXPECT_EQ(test::ColorOf(*dib, 0, 0), RgbColor(7, 8, 9));
  EXPECT_EQ(test::SaveDib(*dib).size(), 14u + 40u + 12u + 8u);

  auto one = test::LoadDib(test::BmpOf(1, 9, 1, {{0, 0, 0}, {9, 9, 9}}, {1, 0, 0, 0, 0, 0, 0, 0, 1}));
  one->SetPixelFormat(F::Bit4);
  EXPECT_EQ(test::IndexOf(*one, 0, 0), 1);
  EXPECT_EQ(test::IndexOf(*one, 8, 0), 1);
  EXPECT_EQ(one->InternalDIB().Dib().Header.ClrUsed, 2u);
}

TEST(PixelFormat, OneColourReducesToOnePaletteEntry) {
  std::vector<std::uint32_t> values(6 * 5, static_cast<std::uint32_t>(RgbColor(17, 99, 201)));
  for (std::uint8_t quality : {kLowQuality, kHighQuality}) {
    for (F to : {F::Bit8, F::Bit4}) {
      auto dib = test::LoadDib(test::BmpOf(24, 6, 5, {}, values));
      dib->SetReductionQuality(quality);
      dib->SetPixelFormat(to);
      EXPECT_EQ(dib->GetPalette(), (Palette{{17, 99, 201, 0}}));
      for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) EXPECT_EQ(test::IndexOf(*dib, x, y), 0);
      }
    }
  }
}

std::unique_ptr<TVxDIB> GreyRamp(int count) {
  std::vector<std::uint32_t> values;
  for (int v = 0; v < count; ++v) values.push_back(static_cast<std::uint32_t>(RgbColor(v, v, v)));
  return test::LoadDib(test::BmpOf(24, count, 1, {}, values));
}

TEST(PixelFormat, HighQualityLeavesAreMeansRoundedToEvenUpperHalfFirst) {
  auto dib = GreyRamp(32);
  dib->SetReductionQuality(kHighQuality);
  dib->SetPixelFormat(F::Bit4);
  Palette palette = dib->GetPalette();
  ASSERT_EQ(palette.size(), 16u);
  for (int i = 0; i < 16; ++i) {
    const auto v = static_cast<std::uint8_t>(30 - 2 * i);  // {30, 31} -> 30.5 -> 30, ...
    EXPECT_EQ(palette[i], (PaletteEntry{v, v, v, 0})) << i;
  }
  for (int v = 0; v < 32; ++v) EXPECT_EQ(test::IndexOf(*dib, v, 0), 15 - v / 2) << v;
}

TEST(PixelFormat, LowQualityWorksOnHistogramCells) {
  // Greys 4k..4k+3 share a cell whose colour is its base plus the integer
  // mean of the dropped bits: 4k + 1.
  auto dib = GreyRamp(32);
  dib->SetPixelFormat(F::Bit4);
  Palette palette = dib->GetPalette();
  ASSERT_EQ(palette.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    const auto v = static_cast<std::uint8_t>(29 - 4 * i);
    EXPECT_EQ(palette[i], (PaletteEntry{v, v, v, 0})) << i;
  }
  for (int v = 0; v < 32; ++v) EXPECT_EQ(test::IndexOf(*dib, v, 0), 7 - v / 4) << v;
}

TEST(PixelFormat, EightBitReducesToAtMostSixteenUsedColours) {
  std::vector<Rgb3> colours;
  std::vector<std::uint32_t> values;
  for (int i = 0; i < 40; ++i) {
    colours.push_back({static_cast<std::uint8_t>(i * 6), static_cast<std::uint8_t>(255 - i * 5), static_cast<std::uint8_t>(i * i % 256)});
  }
  for (int i = 0; i < 60; ++i) values.push_back(static_cast<std::uint32_t>(i % 40 == 39 ? 39 : i % 20));  // 21 used
  auto dib = test::LoadDib(test::BmpOf(8, 60, 1, colours, values));
  dib->SetPixelFormat(F::Bit4);
  const std::uint32_t used = dib->InternalDIB().Dib().Header.ClrUsed;
  EXPECT_GE(used, 2u);
  EXPECT_LE(used, 16u);
  for (int x = 0; x < 60; ++x) EXPECT_LT(static_cast<std::uint32_t>(test::IndexOf(*dib, x, 0)), used);
  // Pixels of one old entry keep one new entry.
  EXPECT_EQ(test::IndexOf(*dib, 3, 0), test::IndexOf(*dib, 23, 0));
}

TEST(PixelFormat, OneBitKeepsExactlyTheMaskColourAsWhite) {
  auto truecolour = test::LoadDib(test::BmpOf(24, 3, 1, {}, {0xFFFFFF, 0xFEFFFF, 0x000000}));
  truecolour->SetPixelFormat(F::Bit1);
  EXPECT_EQ(truecolour->GetPalette(), (Palette{{0, 0, 0, 0}, {255, 255, 255, 0}}));
  EXPECT_EQ(test::IndexOf(*truecolour, 0, 0), 1);
  EXPECT_EQ(test::IndexOf(*truecolour, 1, 0), 0);

  std::vector<Rgb3> colours = {{0, 0, 0}, {200, 10, 10}, {200, 10, 11}, {200, 10, 10}};
  for (int bits : {4, 8}) {
    auto dib = test::LoadDib(test::BmpOf(bits, 4, 1, colours, {1, 2, 3, 0}));
    dib->SetMaskColor(RgbColor(200, 10, 10));
    dib->SetPixelFormat(F::Bit1);
    EXPECT_EQ(test::IndexOf(*dib, 0, 0), 1) << bits;
    EXPECT_EQ(test::IndexOf(*dib, 1, 0), 0);
    EXPECT_EQ(test::IndexOf(*dib, 2, 0), 1);  // another entry of the same colour
    EXPECT_EQ(test::IndexOf(*dib, 3, 0), 0);
  }
}

TEST(PixelFormat, ColourHalftoneDiffusesTheErrorInSerpentineOrder) {
  auto grey = test::LoadDib(test::BmpOf(24, 4, 2, {}, std::vector<std::uint32_t>(8, 0x808080)));
  grey->SetPixelFormat(F::Halftone);
  EXPECT_EQ(grey->GetPixelFormat(), F::Bit8);
  EXPECT_EQ(grey->InternalDIB().Dib().Header.ClrUsed, 215u);
  EXPECT_EQ(grey->GetPalette(), HalftonePalette());
  // Bottom row (first in memory): 128 gives red level 3 and leaves +25, so
  // the next pixel sees 128 - 300 / 32 = 119, red level 2.
  const int bottom[] = {122, 87, 122, 87};
  const int top[] = {87, 122, 87, 122};
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(test::IndexOf(*grey, x, 1), bottom[x]) << x;
    EXPECT_EQ(test::IndexOf(*grey, x, 0), top[x]) << x;
  }

  // Greys 60 below and 63 above: the upper row runs right to left.
  std::vector<std::uint32_t> values = {0x3F3F3F, 0x3F3F3F, 0x3F3F3F, 0x3C3C3C, 0x3C3C3C, 0x3C3C3C};
  auto dark = test::LoadDib(test::BmpOf(24, 3, 2, {}, values));
  dark->SetPixelFormat(F::Halftone);
  const int lower[] = {41, 46, 41};
  const int upper[] = {81, 41, 46};
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(test::IndexOf(*dark, x, 1), lower[x]) << x;
    EXPECT_EQ(test::IndexOf(*dark, x, 0), upper[x]) << x;
  }
}

TEST(PixelFormat, BlackAndWhiteHalftoneDecidesOnTheSumOfChannels) {
  auto grey = test::LoadDib(test::BmpOf(24, 4, 1, {}, std::vector<std::uint32_t>(4, 0x808080)));
  grey->SetPixelFormat(F::HalftoneBW);
  EXPECT_EQ(grey->GetPixelFormat(), F::Bit1);
  EXPECT_EQ(grey->GetPalette(), BlackAndWhitePalette());
  // 384 is white and leaves 127 per channel; 128 - 1524 / 32 = 81 is black.
  const int bits[] = {1, 0, 1, 0};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(test::IndexOf(*grey, x, 0), bits[x]) << x;
}

TEST(PixelFormat, HalftonesTakeEverySourceFormat) {
  for (F from : kStored) {
    auto dib = FourColourPicture();
    if (from != F::Bit24) dib->SetPixelFormat(from);
    TVxDIB colour, bw;
    colour.Assign(dib.get());
    bw.Assign(dib.get());
    colour.SetPixelFormat(F::Halftone);
    bw.SetPixelFormat(F::HalftoneBW);
    EXPECT_EQ(colour.GetPixelFormat(), F::Bit8);
    EXPECT_EQ(bw.GetPixelFormat(), F::Bit1);
    // Black and white lie on the cube: they stay themselves.
    EXPECT_EQ(test::ColorOf(colour, 0, 0), 0) << static_cast<int>(from);
    EXPECT_EQ(test::ColorOf(bw, 0, 0), 0);
  }
}

TEST(PixelFormat, TopDownPicturesEncodeBottomRowFirst) {
  auto dib = test::LoadDib(test::BmpOf(8, 8, 2, test::GreyColors(256), {1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2}));
  dib->SetHeight(-2);  // blank and top-down; the rows are written back in memory order
  std::uint8_t* top = dib->InternalDIB().Dib().Bits.Data();
  std::fill(top, top + 8, 1);
  std::fill(top + 8, top + 16, 2);
  dib->SetPixelFormat(F::Bit8Rle);
  EXPECT_EQ(dib->InternalDIB().Dib().Header.Height, 2);
  const DibRecord& record = dib->InternalDIB().Dib();
  EXPECT_EQ(Bytes(record.Bits.Data(), record.Bits.Data() + record.BitsSize()), (Bytes{8, 2, 0, 0, 8, 1, 0, 0, 0, 1}));
  EXPECT_EQ(record.Header.SizeImage, 10u);
  dib->SetPixelFormat(F::Bit8);
  EXPECT_EQ(test::IndexOf(*dib, 0, 0), 1);
  EXPECT_EQ(test::IndexOf(*dib, 0, 1), 2);
}

std::unique_ptr<TVxDIB> RunLengthDib(int bits, int width, int height, const Bytes& stream) {
  test::BmpBuilder bmp;
  bmp.Width = width;
  bmp.Height = height;
  bmp.BitCount = static_cast<std::uint16_t>(bits);
  bmp.Compression = bits == 8 ? 1 : 2;
  bmp.Colors = test::GreyColors(1 << bits);
  bmp.Pixels = stream;
  return test::LoadDib(bmp.Build());
}

TEST(PixelFormat, BadRunLengthDataFailsAndLeavesTheDibEncoded) {
  auto convert = [](TVxDIB& dib, F to) { return ErrorMessage<EVxDIBInvalidDIB>([&] { dib.SetPixelFormat(to); }); };
  auto good = RunLengthDib(8, 4, 2, {0x04, 0x07, 0x00, 0x00, 0x04, 0x09, 0x00, 0x01});
  good->SetPixelFormat(F::Bit8);
  EXPECT_EQ(test::IndexOf(*good, 0, 1), 7);
  EXPECT_EQ(test::IndexOf(*good, 3, 0), 9);

  auto runTooLong = RunLengthDib(8, 4, 2, {0x05, 0x07, 0x00, 0x00, 0x04, 0x09, 0x00, 0x01});
  const Bytes before = test::SaveDib(*runTooLong);
  EXPECT_EQ(convert(*runTooLong, F::Bit8), "Convert8BitRLETo8BitRGB: Bad RLE Data 4");
  EXPECT_EQ(convert(*runTooLong, F::Halftone), "Convert8BitRLETo8BitRGB: Bad RLE Data 4");
  EXPECT_EQ(convert(*runTooLong, F::Bit4Rle), "Convert8BitRLETo8BitRGB: Bad RLE Data 4");
  EXPECT_EQ(runTooLong->GetPixelFormat(), F::Bit8Rle);
  EXPECT_EQ(test::SaveDib(*runTooLong), before);

  auto threeLines = RunLengthDib(8, 4, 2, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01});
  EXPECT_EQ(convert(*threeLines, F::Bit24), "Convert8BitRLETo8BitRGB: Bad RLE Data 1");
  EXPECT_EQ(convert(*RunLengthDib(8, 4, 1, {0x00, 0x02, 0x05, 0x00}), F::Bit8), "Convert8BitRLETo8BitRGB: Bad RLE Data 2");
  EXPECT_EQ(convert(*RunLengthDib(8, 4, 1, {0x00, 0x05, 1, 2, 3, 4, 5, 0}), F::Bit8),
            "Convert8BitRLETo8BitRGB: Bad RLE Data 3");
  EXPECT_EQ(convert(*RunLengthDib(4, 3, 1, {0x00, 0x00, 0x00, 0x00}), F::Bit4), "Convert4BitRLETo4BitRGB: Bad RLE Data 5");
  EXPECT_EQ(convert(*RunLengthDib(4, 3, 1, {0x00, 0x02, 0x05, 0x00}), F::Bit1), "Convert4BitRLETo4BitRGB: Bad RLE Data 6");
  EXPECT_EQ(convert(*RunLengthDib(4, 3, 1, {0x00, 0x05, 1, 2, 3, 0}), F::Bit8), "Convert4BitRLETo4BitRGB: Bad RLE Data 7");
  EXPECT_EQ(convert(*RunLengthDib(4, 3, 1, {0x05, 0xAB, 0x00, 0x01}), F::Bit24), "Convert4BitRLETo4BitRGB: Bad RLE Data 8");

  auto nibbles = RunLengthDib(4, 3, 1, {0x03, 0xAB, 0x00, 0x01});
  nibbles->SetPixelFormat(F::Bit8);
  EXPECT_EQ(test::IndexOf(*nibbles, 0, 0), 0xA);
  EXPECT_EQ(test::IndexOf(*nibbles, 1, 0), 0xB);
  EXPECT_EQ(test::IndexOf(*nibbles, 2, 0), 0xA);
}

// Records what a DIB reports while it converts.
struct ProgressLog {
  std::vector<ProgressStage> Stages;
  std::vector<int> Percents;
  std::vector<ByteString> Messages;
  std::vector<Rect> Rects;
  void Attach(TVxDIB& dib) {
    dib.SetOnProgress([this](Graphic&, ProgressStage stage, std::uint8_t percent, bool, const Rect& rect,
                             const ByteString& message) {
      Stages.push_back(stage);
      Percents.push_back(percent);
      Messages.push_back(message);
      Rects.push_back(rect);
    });
  }
};

std::unique_ptr<TVxDIB> Noise(int bits, int width, int height) {
  std::mt19937 random(5);
  std::vector<std::uint32_t> values;
  for (int i = 0; i < width * height; ++i) values.push_back(bits == 24 ? random() & 0xFFFFFF : random() % 256);
  return test::LoadDib(test::BmpOf(bits, width, height, bits == 8 ? test::GreyColors(256) : std::vector<Rgb3>{}, values));
}

TEST(PixelFormat, ReductionsReportOneStepPerLeaf) {
  auto dib = FourColourPicture();
  ProgressLog log;
  log.Attach(*dib);
  dib->SetPixelFormat(F::Bit8);
  ASSERT_EQ(log.Stages.size(), 257u);  // starting, 255 running (the last step is the end), ending
  EXPECT_EQ(log.Stages.front(), ProgressStage::Starting);
  EXPECT_EQ(log.Percents.front(), 0);
  EXPECT_EQ(log.Stages[1], ProgressStage::Running);
  EXPECT_EQ(log.Percents[3], 3 * 100 / 256);
  EXPECT_EQ(log.Percents[255], 255 * 100 / 256);
  EXPECT_EQ(log.Stages.back(), ProgressStage::Ending);
  EXPECT_EQ(log.Percents.back(), 100);
  EXPECT_EQ(log.Messages[7], "PixelFormat 24Bit -> 8Bit");
  EXPECT_EQ(log.Rects[0], (Rect{0, 0, 32, 8}));

  TVxDIB chain;
  chain.Assign(dib.get());
  ProgressLog chainLog;
  chainLog.Attach(chain);
  chain.SetPixelFormat(F::Bit4Rle);  // 8 -> 4, then encoded
  EXPECT_EQ(chainLog.Stages.size(), 17u);
  EXPECT_EQ(chainLog.Messages.back(), "PixelFormat 8Bit -> 4BitRLE");

  ProgressLog quiet;
  quiet.Attach(chain);
  chain.SetPixelFormat(F::Bit24);  // expansions report nothing
  EXPECT_TRUE(quiet.Stages.empty());
}

TEST(PixelFormat, FailedEncodingsStillEndTheirProgressAndKeepThePixels) {
  auto dib = Noise(24, 40, 12);
  const Bytes before = test::SaveDib(*dib);
  ProgressLog log;
  log.Attach(*dib);
  EXPECT_EQ(ErrorMessage<EVxDIBCompressionFailed>([&] { dib->SetPixelFormat(F::Bit8Rle); }),
            "Convert8BitRGBTo8BitRLE: Compression Failed");
  EXPECT_EQ(log.Stages.back(), ProgressStage::Ending);
  EXPECT_EQ(log.Messages.back(), "PixelFormat 24Bit -> 8BitRLE");
  EXPECT_EQ(test::SaveDib(*dib), before);

  auto eight = Noise(8, 40, 12);
  EXPECT_EQ(ErrorMessage<EVxDIBCompressionFailed>([&] { eight->SetPixelFormat(F::Bit8Rle); }),
            "Convert8BitRGBTo8BitRLE: Compression Failed");
  EXPECT_EQ(eight->GetPixelFormat(), F::Bit8);
  auto four = Noise(8, 40, 12);
  four->SetPixelFormat(F::Bit4);
  // 4-bit noise from 16 colours may still fit; a picture of alternating nibbles cannot.
  std::fill(four->InternalDIB().Dib().Bits.Data(), four->InternalDIB().Dib().Bits.Data() + four->InternalDIB().Dib().BitsSize(), 0x12);
  for (std::uint32_t i = 0; i < four->InternalDIB().Dib().BitsSize(); i += 2) four->InternalDIB().Dib().Bits.Data()[i] = 0x34;
  EXPECT_EQ(ErrorMessage<EVxDIBCompressionFailed>([&] { four->SetPixelFormat(F::Bit4Rle); }),
            "Convert4BitRGBTo4BitRLE: Compression Failed");
  EXPECT_EQ(four->GetPixelFormat(), F::Bit4);
}

TEST(PixelFormat, ConvertersCheckTheirSourceAndTheDispatchItsCells) {
  auto dib = test::LoadDib(test::BmpOf(8, 2, 1, test::GreyColors(4), {0, 1}));
  const DibRecord& eight = dib->InternalDIB().Dib();
  EXPECT_EQ(ErrorMessage<EVxDIBBadDIBType>([&] { Convert1BitRGBTo4BitRGB(eight, false); }),
            "Convert1BitRGBTo4BitRGB: Invalid Bitcount & Compression Combination");
  EXPECT_EQ(ErrorMessage<EVxDIBBadDIBType>([&] { ConvertTrueColorTo8BitRGBHigh(eight, false, nullptr); }),
            "ConvertTrueColorTo8BitRGBHigh: Invalid Bitcount");
  EXPECT_EQ(ErrorMessage<EVxDIBBadDIBType>([&] { Convert4BitRGBTo1BitRGB(eight, {}, false); }),
            "Convert4BitRGBTo1BitRGB: Invalid Bitcount");
  EXPECT_EQ(ErrorMessage<EAssertionFailed>([&] { SetPixelsFormat(eight, F::Bit8, 0, nullptr, {}, false); }),
            "TVxIntenalDIB.SetPixelsFormat: PixelFormat Error");
  auto truecolour = test::LoadDib(test::BmpOf(24, 1, 1, {}, {0}));
  EXPECT_EQ(ErrorMessage<EAssertionFailed>(
                [&] { SetPixelsFormat(truecolour->InternalDIB().Dib(), F::Bit8, 2, nullptr, {}, false); }),
            "TVxIntenalDIB.SetPixelsFormat: PixelFormat Error");
  // A header the DIB does not store cannot be converted.
  dib->InternalDIB().Dib().Header.Compression = 3;
  EXPECT_EQ(ErrorMessage<EVxDIBInvalidDIB>([&] { dib->SetPixelFormat(F::Bit24); }),
            "TVxInternalDIB.GetPixelFormat: Invalid DIB(8Bit)");
}

}  // namespace
}  // namespace quorvex
