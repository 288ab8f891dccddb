// Reading and writing BMP files through TVxDIB.LoadFromStream and SaveToStream.

#include <gtest/gtest.h>

#include "dib/VxDIB.h"
#include "support/BmpBuilder.h"
#include "support/DibProbe.h"
#include "support/ErrorMessage.h"

namespace quorvex {
namespace {

using test::BmpBuilder;
using test::Bytes;
using test::ErrorMessage;
using test::LoadDib;
using test::Rgb3;
using test::SaveDib;

std::uint32_t U32At(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// The message a BMP file image is refused with, or "<no error>".
std::string LoadError(const Bytes& file) {
  return ErrorMessage<Exception>([&] { LoadDib(file); });
}

BmpBuilder EightBit(std::uint32_t colorsUsed, int entries) {
  BmpBuilder bmp;
  bmp.Width = 2;
  bmp.Height = 2;
  bmp.BitCount = 8;
  bmp.ClrUsed = colorsUsed;
  bmp.Colors = test::GreyColors(entries);
  bmp.Pixels = test::PadRows({{1, 2}, {3, 255}});
  return bmp;
}

TEST(BmpReader, ColorsUsedZeroMeansTheWholeTableAndSavesExplicitly) {
  auto dib = LoadDib(EightBit(0, 256).Build());
  const BitmapInfoHeader& h = dib->InternalDIB().Dib().Header;
  EXPECT_EQ(h.ClrUsed, 256u);
  EXPECT_EQ(h.XPelsPerMeter, 3780);  // 0 in the file
  EXPECT_EQ(dib->GetPalette().size(), 256u);
  EXPECT_EQ(dib->GetPalette()[255], (PaletteEntry{255, 255, 255, 0}));

  Bytes saved = SaveDib(*dib);
  EXPECT_EQ(U32At(saved, 10), 1078u);            // pixel-data offset
  EXPECT_EQ(U32At(saved, 2), 1078u + 8u);        // file size
  EXPECT_EQ(U32At(saved, 14 + 32), 256u);        // colours used
  EXPECT_EQ(saved.size(), 1078u + 8u);
  EXPECT_EQ(Bytes(saved.end() - 8, saved.end()), (Bytes{1, 2, 0, 0, 3, 255, 0, 0}));
}

TEST(BmpReader, LongColorTablesKeep256EntriesAndFindThePixelsAtTheOffset) {
  BmpBuilder bmp = EightBit(300, 300);
  bmp.Colors[255] = {1, 2, 3};
  bmp.Colors[299] = {9, 9, 9};
  auto dib = LoadDib(bmp.Build());
  EXPECT_EQ(dib->InternalDIB().Dib().Header.ClrUsed, 256u);
  EXPECT_EQ(dib->GetPalette()[255], (PaletteEntry{1, 2, 3, 0}));
  EXPECT_EQ(test::IndexOf(*dib, 0, 1), 1);
  EXPECT_EQ(test::IndexOf(*dib, 1, 0), 255);
}

TEST(BmpReader, GapBeforeThePixelsIsSkippedAndStreamsMayStartAnywhere) {
  BmpBuilder bmp = EightBit(2, 2);
  bmp.Gap = Bytes(13, 0xEE);
  Bytes file(5, 0xAA);
  Bytes image = bmp.Build();
  file.insert(file.end(), image.begin(), image.end());
  auto dib = std::make_unique<TVxDIB>();
  MemoryStream stream(file);
  stream.SetPosition(5);
  dib->LoadFromStream(stream);
  EXPECT_EQ(test::IndexOf(*dib, 1, 0), 255);
  EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(file.size()));
}

TEST(BmpReader, SixteenBitPixelsWidenWithTheDefaultMasks) {
  BmpBuilder bmp;
  bmp.Width = 3;
  bmp.Height = 1;
  bmp.BitCount = 16;
  bmp.Pixels = test::PadRows({{0xFF, 0x7F, 0x00, 0x04, 0x1F, 0x00}});
  auto dib = LoadDib(bmp.Build());
  EXPECT_EQ(dib->BitCount(), 24);
  EXPECT_EQ(dib->GetPixelFormat(), DibPixelFormat::Bit24);
  EXPECT_EQ(test::ColorOf(*dib, 0, 0), RgbColor(255, 255, 255));
  EXPECT_EQ(test::ColorOf(*dib, 1, 0), RgbColor(8, 0, 0));  // 255 * 8 div 248
  EXPECT_EQ(test::ColorOf(*dib, 2, 0), RgbColor(0, 0, 255));
  EXPECT_EQ(dib->InternalDIB().Dib().BitsSize(), 12u);
  EXPECT_EQ(dib->InternalDIB().Dib().Bits.Data()[9], 0);  // the padding is zeroed
}

TEST(BmpReader, BitFieldMasksComeBeforeTheTableAndAreDroppedFromIt) {
  BmpBuilder bmp;
  bmp.Width = 2;
  bmp.Height = 1;
  bmp.BitCount = 16;
  bmp.Compression = 3;
  bmp.Masks = {0xF800, 0x07E0, 0x001F};  // 5-6-5
  bmp.ClrUsed = 1;
  bmp.Colors = {{10, 20, 30}};
  bmp.Pixels = test::PadRows({{0xE0, 0x07, 0x00, 0x08}});
  auto dib = LoadDib(bmp.Build());
  EXPECT_EQ(test::ColorOf(*dib, 0, 0), RgbColor(0, 255, 0));
  EXPECT_EQ(test::ColorOf(*dib, 1, 0), RgbColor(8, 0, 0));  // lowest red bit: 1 * 255 div 31
  const DibRecord& record = dib->InternalDIB().Dib();
  EXPECT_EQ(record.Header.Compression, 0u);
  EXPECT_EQ(record.Colors[0], (RgbQuad{30, 20, 10, 0}));
  EXPECT_EQ(record.Colors[1], RgbQuad{});
}

TEST(BmpReader, ThirtyTwoBitPixelsWidenWithAnyMaskShape) {
  BmpBuilder bmp;
  bmp.Width = 2;
  bmp.Height = 1;
  bmp.BitCount = 32;
  bmp.Pixels = {0x10, 0x20, 0x30, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
  auto dib = LoadDib(bmp.Build());
  EXPECT_EQ(test::ColorOf(*dib, 0, 0), RgbColor(0x30, 0x20, 0x10));
  EXPECT_EQ(test::ColorOf(*dib, 1, 0), RgbColor(255, 255, 255));

  bmp.Compression = 3;
  bmp.Masks = {0xFFFF0000, 0x0000FF00, 0x00000001};  // wide red, one-bit blue
  auto masked = LoadDib(bmp.Build());
  EXPECT_EQ(test::ColorOf(*masked, 0, 0), RgbColor(255, 0x20, 0));  // red from the top byte 0xFF
  EXPECT_EQ(test::ColorOf(*masked, 1, 0), RgbColor(0, 255, 255));

  bmp.Masks = {0, 0xFF00, 0xFF};
  EXPECT_EQ(LoadError(bmp.Build()), "TVxInternalDIB.LoadFromStream: Invalid Masks");
  // Run-length compression with 16 bits has no masks at all.
  bmp.Compression = 1;
  bmp.Masks.clear();
  EXPECT_EQ(LoadError(bmp.Build()), "TVxInternalDIB.LoadFromStream: Invalid Masks");
}

TEST(BmpReader, TopDownPicturesKeepTheirNegativeHeight) {
  BmpBuilder bmp = EightBit(2, 2);
  bmp.Height = -2;
  auto dib = LoadDib(bmp.Build());
  EXPECT_EQ(dib->Height(), 2);
  EXPECT_EQ(dib->InternalDIB().Dib().Header.Height, -2);
  EXPECT_EQ(test::IndexOf(*dib, 0, 0), 1);  // first row in the file is the top row
  Bytes saved = SaveDib(*dib);
  EXPECT_EQ(static_cast<std::int32_t>(U32At(saved, 22)), -2);
}

TEST(BmpReader, CoreHeadersBecomeInfoHeaders) {
  BmpBuilder bmp;
  bmp.HeaderSize = 12;
  bmp.Width = 3;
  bmp.Height = 1;
  bmp.BitCount = 4;
  bmp.Colors = test::GreyColors(16);
  bmp.Colors[2] = {0x11, 0x22, 0x33};
  bmp.Pixels = {0x02, 0xF0, 0, 0};
  auto dib = LoadDib(bmp.Build());
  const BitmapInfoHeader& h = dib->InternalDIB().Dib().Header;
  EXPECT_EQ(h.Size, 40u);
  EXPECT_EQ(h.ClrUsed, 16u);
  EXPECT_EQ(h.XPelsPerMeter, 3780);
  EXPECT_EQ(test::ColorOf(*dib, 1, 0), RgbColor(0x11, 0x22, 0x33));
  EXPECT_EQ(test::ColorOf(*dib, 2, 0), RgbColor(255, 255, 255));
  EXPECT_EQ(dib->InternalDIB().Dib().Colors[2].Reserved, 0);
}

TEST(BmpReader, RefusalsNameWhatIsWrong) {
  BmpBuilder bmp = EightBit(2, 2);
  bmp.Type = 0x4142;
  EXPECT_EQ(LoadError(bmp.Build()), "TVxInternalDIB.LoadFromFile: File type is invalid");

  bmp = EightBit(2, 2);
  bmp.HeaderSize = 108;
  EXPECT_EQ(LoadError(bmp.Build()), "TVxInternalDIB.LoadFromStream: Invalid Bitmap Header Size");

  bmp = EightBit(2, 2);
  bmp.BitCount = 2;
  EXPECT_EQ(LoadError(bmp.Build()), "TVxInternalDIB.LoadFromStream: Invalid BitCout");

  bmp = EightBit(2, 2);
  bmp.PixelOffset = 14 + 40 + 8 - 1;
  EXPECT_EQ(LoadError(bmp.Build()), "TVxInternalDIB.LoadFromFile: bfOffBits is too small");

  for (auto [w, h] : {std::pair{0, 2}, {2, 0}, {-2, 2}}) {
    bmp = EightBit(2, 2);
    bmp.Width = w;
    bmp.Height = h;
    EXPECT_EQ(LoadError(bmp.Build()), "TVxInternalDIB.LoadFromStream: Invalid Width or Height");
  }

  BmpBuilder core;
  core.HeaderSize = 12;
  core.BitCount = 16;
  EXPECT_EQ(LoadError(core.Build()), "TVxInternalDIB.LoadFromStream: Invalid BitCount");
  core.BitCount = 1;
  core.Colors = test::GreyColors(2);
  core.Pixels = Bytes(4);
  core.PixelOffset = 14 + 12 + 6 - 1;
  EXPECT_EQ(LoadError(core.Build()), "TVxInternalDIB.LoadFromFile: bfOffBits is too small");
}

TEST(BmpReader, HugeClaimsAreRefusedBeforeAnythingIsAllocated) {
  BmpBuilder bmp = EightBit(2, 2);
  bmp.Width = 100000;
  bmp.Height = 100000;
  EXPECT_EQ(LoadError(bmp.Build()), "TVxInternalDIB.LoadFromStream: Invalid Width or Height");
  bmp.FileSize = 0xFFFFFFF0u;  // still too little for 10^10 pixels
  EXPECT_EQ(LoadError(bmp.Build()), "TVxInternalDIB.LoadFromStream: Invalid Width or Height");
  bmp.Width = 1000;
  bmp.Height = 1000;
  bmp.FileSize = 14 + 40 + 8 + 1000000;  // enough for the rows, but not in the file
  EXPECT_EQ(LoadError(bmp.Build()), "Stream read error");
  bmp.Width = 100000;
  bmp.Height = 100000;
  bmp.BitCount = 32;
  bmp.ClrUsed = 0;
  bmp.Colors.clear();
  EXPECT_EQ(LoadError(bmp.Build()), "Stream read error");
  bmp.Width = 0x7FFFFFFF;
  bmp.Height = -0x7FFFFFFF;
  EXPECT_EQ(LoadError(bmp.Build()), "Stream read error");
  bmp.Height = static_cast<std::int32_t>(0x80000000u);
  EXPECT_EQ(LoadError(bmp.Build()), "TVxInternalDIB.LoadFromStream: Invalid Width or Height");

  // A colour table of 2^32 - 1 entries is skipped over, not read.
  bmp = EightBit(0xFFFFFFFFu, 2);
  EXPECT_EQ(LoadError(bmp.Build()), "Stream read error");
}

TEST(BmpReader, PixelDataShorterThanTheRowsIsRefused) {
  BmpBuilder bmp = EightBit(2, 2);
  bmp.FileSize = static_cast<std::uint32_t>(bmp.Build().size() - 1);
  EXPECT_EQ(LoadError(bmp.Build()), "TVxInternalDIB.LoadFromStream: Invalid Width or Height");
  bmp.FileSize = 10;  // smaller than the pixel-data offset
  EXPECT_EQ(LoadError(bmp.Build()), "Stream read error");
  bmp = EightBit(2, 2);
  bmp.FileSize = static_cast<std::uint32_t>(bmp.Build().size() + 1);
  EXPECT_EQ(LoadError(bmp.Build()), "Stream read error");
}

TEST(BmpReader, RunLengthPicturesLoadAsTheyAre) {
  BmpBuilder bmp;
  bmp.Width = 4;
  bmp.Height = 2;
  bmp.BitCount = 8;
  bmp.Compression = 1;
  bmp.Colors = test::GreyColors(256);
  bmp.Pixels = {0x04, 0x07, 0x00, 0x00, 0x04, 0x09, 0x00, 0x01};
  auto dib = LoadDib(bmp.Build());
  EXPECT_EQ(dib->GetPixelFormat(), DibPixelFormat::Bit8Rle);
  EXPECT_EQ(dib->InternalDIB().Dib().BitsSize(), 8u);
  Bytes saved = SaveDib(*dib);
  EXPECT_EQ(Bytes(saved.end() - 8, saved.end()), bmp.Pixels);
}

TEST(BmpReader, AFailedLoadLeavesTheDibAsItWas) {
  auto dib = LoadDib(EightBit(2, 2).Build());
  Bytes before = SaveDib(*dib);
  BmpBuilder bad = EightBit(2, 2);
  bad.HeaderSize = 108;
  MemoryStream stream(bad.Build());
  EXPECT_THROW(dib->LoadFromStream(stream), EVxDIBInvalidDIB);
  EXPECT_EQ(SaveDib(*dib), before);
}

TEST(BmpReader, SavedFilesLoadBackUnchanged) {
  for (int bits : {1, 4, 8, 24}) {
    std::vector<std::uint32_t> values;
    for (int i = 0; i < 15; ++i) values.push_back(bits == 24 ? static_cast<std::uint32_t>(i * 0x10203) : i % (1 << std::min(bits, 8)));
    auto dib = LoadDib(test::BmpOf(bits, 5, 3, bits == 24 ? std::vector<Rgb3>{} : test::GreyColors(1 << bits), values));
    Bytes saved = SaveDib(*dib);
    EXPECT_EQ(SaveDib(*LoadDib(saved)), saved) << bits;
  }
}

// Every prefix and many bit flips of valid files: a clean error or a valid
// DIB, never a read out of bounds (the sanitizers watch) or a crash.
TEST(BmpReader, TruncatedAndMutatedFilesFailCleanly) {
  SetDefaultUseFMO(false);  // heap blocks, so the address sanitizer sees every byte
  std::vector<Bytes> samples;
  samples.push_back(EightBit(4, 4).Build());
  BmpBuilder rle;
  rle.Width = 5;
  rle.Height = 3;
  rle.BitCount = 4;
  rle.Compression = 2;
  rle.Colors = test::GreyColors(16);
  rle.Pixels = {0x05, 0x12, 0x00, 0x00, 0x00, 0x03, 0x45, 0x60, 0x00, 0x02, 0x01, 0x01, 0x02, 0x77, 0x00, 0x01};
  samples.push_back(rle.Build());
  BmpBuilder masks;
  masks.Width = 3;
  masks.Height = -2;
  masks.BitCount = 16;
  masks.Compression = 3;
  masks.Masks = {0xF800, 0x07E0, 0x001F};
  masks.Pixels = Bytes(16, 0x5A);
  samples.push_back(masks.Build());
  BmpBuilder core;
  core.HeaderSize = 12;
  core.Width = 9;
  core.Height = 2;
  core.BitCount = 1;
  core.Colors = test::GreyColors(2);
  core.Pixels = Bytes(8, 0xA5);
  samples.push_back(core.Build());

  auto tryLoad = [](const Bytes& file) {
    try {
      auto dib = LoadDib(file);
      // A DIB that loads must also survive being used; a flipped high bit
      // of the width of a run-length picture makes one of a billion pixels,
      // which is only worth decoding when it is small.
      if (std::int64_t{dib->Width()} * dib->Height() < (1 << 20)) {
        if (dib->GetPixelFormat() != DibPixelFormat::Bit24) dib->SetPixelFormat(DibPixelFormat::Bit24);
      }
      SaveDib(*dib);
    } catch (const EVxDIBError&) {
    } catch (const EStreamError&) {
    } catch (const Exception& e) {
      const std::string message = e.Message();
      // Only running out of memory for a huge but well-formed run-length picture is acceptable.
      EXPECT_TRUE(message.rfind("GetMemory", 0) == 0 || message == "Out of memory") << message;
    }
  };
  const Bytes fullTable = EightBit(0, 256).Build();
  for (std::size_t length = 0; length < fullTable.size(); ++length) tryLoad(Bytes(fullTable.begin(), fullTable.begin() + length));
  for (const Bytes& sample : samples) {
    for (std::size_t length = 0; length < sample.size(); ++length) tryLoad(Bytes(sample.begin(), sample.begin() + length));
    for (std::size_t at = 0; at < sample.size(); ++at) {
      for (int bit = 0; bit < 8; ++bit) {
        Bytes mutated = sample;
        mutated[at] ^= static_cast<std::uint8_t>(1 << bit);
        tryLoad(mutated);
      }
    }
  }
  SetDefaultUseFMO(true);
}

}  // namespace
}  // namespace quorvex
