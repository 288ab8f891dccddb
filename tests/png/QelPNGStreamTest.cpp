#include "png/QelPNGStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "support/BitmapBuilder.h"
#include "support/PngOracle.h"
#include "support/TestStreams.h"

namespace quorvex {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;
using test::BE16;
using test::BE32;
using test::PngChunk;

// A writer without the clock's chunk unless a test asks for it.
Bytes Encode(Bitmap& source, const std::function<void(TQelPNGWriteStream&)>& configure = {}) {
  TQelPNGWriteStream writer;
  writer.UseCurrentTime = false;
  if (configure) configure(writer);
  MemoryStream out;
  writer.SaveBitmap(source, out);
  EXPECT_EQ(test::CheckValidPng(out.Bytes()), "");
  return out.Bytes();
}

std::vector<PngChunk> Chunks(Bitmap& source, const std::function<void(TQelPNGWriteStream&)>& configure = {}) {
  std::vector<PngChunk> chunks = test::ParseChunks(Encode(source, configure));
  for (const PngChunk& c : chunks) EXPECT_TRUE(c.CrcOk) << c.Type;
  return chunks;
}

Bytes DataOf(const std::vector<PngChunk>& chunks, const std::string& type) {
  const PngChunk* c = test::FindChunk(chunks, type);
  return c ? c->Data : Bytes{};
}

bool Has(const std::vector<PngChunk>& chunks, const std::string& type) {
  return test::FindChunk(chunks, type) != nullptr;
}

TEST(QelPNGWriteStream, EveryOptionalChunkInItsPlace) {
  auto source = test::NoiseBitmap(PixelFormat::Bit8, 8, 8);
  const DateTime time{2001, 2, 3, 4, 5, 6};
  const Chromaticities chrm = {31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000};
  const GifExtensionData gif = {0, 0, 0, 5};
  std::vector<PngChunk> chunks = Chunks(*source, [&](TQelPNGWriteStream& w) {
    w.StoredTime = &time;
    w.Comment = "hello";
    w.GifExtension = &gif;
    w.Gamma = 0.5;
    w.Chromaticity = &chrm;
    w.SignificantBits = 0x070605;
    w.BackgroundColor = kPaletteIndexMark | 2;
    w.TransparentColor = kPaletteIndexMark | 1;
    w.PhysX = w.PhysY = 1;
  });
  EXPECT_EQ(test::ChunkTypes(chunks), (Strings{"IHDR", "tIME", "tEXt", "tEXt", "tpNG", "gIFg", "gAMA", "cHRM", "sBIT",
                                               "PLTE", "bKGD", "tRNS", "pHYs", "IDAT", "IEND"}));
  EXPECT_EQ(chunks[1].Data, (Bytes{0x07, 0xD1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(chunks[2].Data, (Bytes{'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'e', 'l', 'l', 'o'}));
  EXPECT_EQ(chunks[5].Data, (Bytes{0, 0, 0, 5}));
  EXPECT_EQ(BE32(chunks[6].Data, 0), 50000u);
  EXPECT_EQ(BE32(chunks[7].Data, 28), 6000u);
  EXPECT_EQ(chunks[8].Data, (Bytes{5, 6, 7}));
  EXPECT_EQ(chunks[10].Data, (Bytes{2}));
  EXPECT_EQ(chunks[11].Data, (Bytes{255, 0}));
  EXPECT_TRUE(chunks.back().Data.empty());
}

TEST(QelPNGWriteStream, ChunksLeftOutWhenTheirValuesSayNothing) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 4, 4);
  const Chromaticities chrm = {0, 32900, 1, 1, 1, 1, 1, 1};
  const GifExtensionData gif = {0, 0, 0, 0};
  std::vector<PngChunk> chunks = Chunks(*source, [&](TQelPNGWriteStream& w) {
    w.Gamma = 0.000001;  // 0.1 truncates to 0
    w.Chromaticity = &chrm;
    w.GifExtension = &gif;
    w.PhysX = 0;
    w.PhysY = 96;
  });
  EXPECT_EQ(test::ChunkTypes(chunks), (Strings{"IHDR", "tEXt", "tpNG", "IDAT", "IEND"}));
  EXPECT_EQ(chunks[1].Data, (Bytes{'S', 'o', 'f', 't', 'w', 'a', 'r', 'e', 0, 'Q', 'e', 'l', 'P', 'N', 'G', ' ', 'v',
                                   'e', 'r', ' ', '3', '.', '4'}));
  EXPECT_EQ(chunks[2].Data, (Bytes{'Q', 'e', 'l', '3', 0, 0, 0, 0}));
}

TEST(QelPNGWriteStream, StoredTimeIsWrittenOnlyWhenValid) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 2, 2);
  auto timeChunk = [&](DateTime t) {
    return DataOf(Chunks(*source, [&](TQelPNGWriteStream& w) { w.StoredTime = &t; }), "tIME");
  };
  EXPECT_EQ(timeChunk({1999, 12, 31, 23, 59, 60}), (Bytes{0x07, 0xCF, 12, 31, 23, 59, 60}));
  EXPECT_TRUE(timeChunk({1999, 12, 31, 23, 59, 61}).empty());
  EXPECT_TRUE(timeChunk({1999, 13, 1, 0, 0, 0}).empty());
  EXPECT_TRUE(timeChunk({1999, 1, 0, 0, 0, 0}).empty());
  EXPECT_TRUE(timeChunk({1999, 1, 1, 24, 0, 0}).empty());
  EXPECT_TRUE(timeChunk({0, 1, 1, 0, 0, 0}).empty());

  DateTime before = CurrentUtcTime();
  Bytes now = DataOf(Chunks(*source, [](TQelPNGWriteStream& w) { w.UseCurrentTime = true; }), "tIME");
  ASSERT_EQ(now.size(), 7u);
  EXPECT_GE(BE16(now, 0), before.Year);
  EXPECT_GE(now[2], 1);
}

TEST(QelPNGWriteStream, IdatSizeBoundsAndPieces) {
  TQelPNGWriteStream writer;
  EXPECT_EQ(writer.IDATSize(), 32768);
  writer.SetIDATSize(256);
  EXPECT_EQ(writer.IDATSize(), 256);
  writer.SetIDATSize(100000);
  EXPECT_EQ(writer.IDATSize(), 100000);
  for (std::int32_t bad : {255, 100001}) {
    try {
      writer.SetIDATSize(bad);
      FAIL() << bad;
    } catch (const EQelPNG& e) {
      EXPECT_EQ(e.Message(), "Write PNG Param: Err IDAT Size(min:256  max:100000)");
    }
  }
  EXPECT_EQ(writer.IDATSize(), 100000);

  auto noise = test::NoiseBitmap(PixelFormat::Bit24, 40, 40);
  std::vector<PngChunk> chunks = Chunks(*noise, [](TQelPNGWriteStream& w) { w.SetIDATSize(256); });
  std::vector<std::size_t> sizes;
  for (const PngChunk& c : chunks) {
    if (c.Type == "IDAT") sizes.push_back(c.Data.size());
  }
  ASSERT_GT(sizes.size(), 10u);
  for (std::size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], 256u);
  EXPECT_GT(sizes.back(), 0u);
  EXPECT_LE(sizes.back(), 256u);
}

TEST(QelPNGWriteStream, LevelsOutsideZeroToNineMeanZlibsDefault) {
  auto source = test::NoiseBitmap(PixelFormat::Bit8, 64, 32);
  auto withLevel = [&](std::int32_t level) {
    return Encode(*source, [&](TQelPNGWriteStream& w) { w.CompressionLevel = level; });
  };
  Bytes standard = withLevel(-1);
  EXPECT_EQ(withLevel(10), standard);
  EXPECT_EQ(withLevel(-5), standard);
  EXPECT_EQ(withLevel(6), standard);
  EXPECT_NE(withLevel(0), standard);
}

TEST(QelPNGWriteStream, PaletteTransparencyAndBackground) {
  auto source = test::NoiseBitmap(PixelFormat::Bit8, 4, 4);
  source->SetPalette({{0, 0, 0, 0}, {250, 0, 0, 0}, {0, 250, 0, 0}, {9, 9, 9, 0}});
  auto chunks = [&](ColorRef background, ColorRef transparent) {
    return Chunks(*source, [&](TQelPNGWriteStream& w) {
      w.BackgroundColor = background;
      w.TransparentColor = transparent;
    });
  };
  std::vector<PngChunk> marked = chunks(kNoColor, kPaletteIndexMark | 3);
  EXPECT_EQ(DataOf(marked, "tRNS"), (Bytes{255, 255, 255, 0}));
  EXPECT_FALSE(Has(marked, "bKGD"));

  std::vector<PngChunk> nearest = chunks(0x00F000, 255);  // green and red by their nearest entries
  EXPECT_EQ(DataOf(nearest, "bKGD"), (Bytes{2}));
  EXPECT_EQ(DataOf(nearest, "tRNS"), (Bytes{255, 0}));

  // An index the palette does not hold would make an invalid file: no chunk.
  std::vector<PngChunk> outside = chunks(kPaletteIndexMark | 4, kPaletteIndexMark | 200);
  EXPECT_FALSE(Has(outside, "bKGD"));
  EXPECT_FALSE(Has(outside, "tRNS"));
}

TEST(QelPNGWriteStream, ColourAndGreyTransparencyAndBackground) {
  auto rgb = test::NoiseBitmap(PixelFormat::Bit24, 4, 4);
  std::vector<PngChunk> colour = Chunks(*rgb, [](TQelPNGWriteStream& w) {
    w.BackgroundColor = 0x123456;
    w.TransparentColor = 0x0000FF;
  });
  EXPECT_EQ(DataOf(colour, "bKGD"), (Bytes{0, 0x56, 0, 0x34, 0, 0x12}));
  EXPECT_EQ(DataOf(colour, "tRNS"), (Bytes{0, 0xFF, 0, 0, 0, 0}));

  std::vector<PngChunk> grey = Chunks(*rgb, [](TQelPNGWriteStream& w) {
    w.GrayScale = true;
    w.BackgroundColor = 0xFFFFFF;
    w.TransparentColor = 0x0000FF;  // red: (255 * 77) >> 8 = 76
  });
  EXPECT_EQ(DataOf(grey, "bKGD"), (Bytes{0, 255}));
  EXPECT_EQ(DataOf(grey, "tRNS"), (Bytes{0, 76}));

  auto four = test::NoiseBitmap(PixelFormat::Bit4, 4, 4);
  four->SetPalette({{0, 0, 0, 0}, {255, 255, 255, 0}});
  std::vector<PngChunk> greyIndex = Chunks(*four, [](TQelPNGWriteStream& w) {
    w.GrayScale = true;
    w.BackgroundColor = kPaletteIndexMark | 1;  // white: 255 >> 4
  });
  EXPECT_EQ(DataOf(greyIndex, "bKGD"), (Bytes{0, 15}));

  auto one = test::NoiseBitmap(PixelFormat::Bit1, 4, 4);
  std::vector<PngChunk> greyOne = Chunks(*one, [](TQelPNGWriteStream& w) {
    w.GrayScale = true;
    w.TransparentColor = 0x808080;
  });
  EXPECT_EQ(DataOf(greyOne, "tRNS"), (Bytes{0, 1}));

  auto alpha = test::NoiseBitmap(PixelFormat::Bit8, 4, 4);
  std::vector<PngChunk> withAlpha = Chunks(*rgb, [&](TQelPNGWriteStream& w) {
    w.AlphaBitmap = alpha.get();
    w.TransparentColor = 0;
  });
  EXPECT_FALSE(Has(withAlpha, "tRNS"));
  EXPECT_EQ(DataOf(withAlpha, "IHDR")[9], 6);
}

TEST(QelPNGWriteStream, PhysicalPixelDimensions) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 2, 2);
  auto phys = [&](std::int32_t unit, std::int32_t x, std::int32_t y) {
    return DataOf(Chunks(*source, [&](TQelPNGWriteStream& w) {
                    w.PhysUnit = unit;
                    w.PhysX = x;
                    w.PhysY = y;
                  }),
                  "pHYs");
  };
  EXPECT_EQ(phys(2, 96, 72), (Bytes{0, 0, 0x0E, 0xC3, 0, 0, 0x0B, 0x12, 1}));  // 3779 and 2834 per metre
  EXPECT_EQ(phys(1, 3780, 3780), (Bytes{0, 0, 0x0E, 0xC4, 0, 0, 0x0E, 0xC4, 1}));
  EXPECT_EQ(phys(0, 2, 1), (Bytes{0, 0, 0, 2, 0, 0, 0, 1, 0}));
  EXPECT_TRUE(phys(2, 96, 0).empty());
}

TEST(QelPNGWriteStream, SignificantBits) {
  auto rgb = test::NoiseBitmap(PixelFormat::Bit24, 2, 2);
  EXPECT_EQ(DataOf(Chunks(*rgb, [](TQelPNGWriteStream& w) { w.SignificantBits = 0x080808; }), "sBIT"),
            (Bytes{8, 8, 8}));
  EXPECT_FALSE(Has(Chunks(*rgb, [](TQelPNGWriteStream& w) {
                     w.SignificantBits = 0x080808;
                     w.GrayScale = true;
                   }),
                   "sBIT"));

  auto b15 = test::NoiseBitmap(PixelFormat::Bit15, 2, 2);
  EXPECT_EQ(DataOf(Chunks(*b15), "sBIT"), (Bytes{5, 5, 5}));
  auto custom = test::NoiseBitmap(PixelFormat::Custom, 2, 2);
  EXPECT_EQ(DataOf(Chunks(*custom), "sBIT"), (Bytes{5, 5, 5}));
  auto b16 = test::NoiseBitmap(PixelFormat::Bit16, 2, 2);
  EXPECT_EQ(DataOf(Chunks(*b16, [](TQelPNGWriteStream& w) { w.SignificantBits = 0x080808; }), "sBIT"),
            (Bytes{5, 6, 5}));
  auto alpha = test::NoiseBitmap(PixelFormat::Bit8, 2, 2);
  EXPECT_EQ(DataOf(Chunks(*b16, [&](TQelPNGWriteStream& w) { w.AlphaBitmap = alpha.get(); }), "sBIT"),
            (Bytes{5, 6, 5, 8}));
}

TEST(QelPNGWriteStream, FifteenAndSixteenBitWhiteStaysWhite) {
  Bitmap b15(1, 1, PixelFormat::Bit15);
  b15.SetPixelValue(0, 0, 0x7FFF);
  Bitmap b16(1, 1, PixelFormat::Bit16);
  b16.SetPixelValue(0, 0, 0xFFFF);
  for (Bitmap* source : {&b15, &b16}) {
    test::DecodedPng d = test::DecodeWithLibpng(Encode(*source));
    ASSERT_TRUE(d.Ok) << d.Error;
    EXPECT_EQ(d.ColorType, 2);
    EXPECT_EQ(d.Rows[0], (Bytes{255, 255, 255}));
  }
}

TEST(QelPNGWriteStream, AlphaBitmapIsUsedOnlyWhenItFits) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 5, 3);
  auto colourType = [&](const Bitmap* alpha) {
    return DataOf(Chunks(*source, [&](TQelPNGWriteStream& w) { w.AlphaBitmap = alpha; }), "IHDR")[9];
  };
  auto fits = test::NoiseBitmap(PixelFormat::Bit8, 5, 3);
  auto wrongSize = test::NoiseBitmap(PixelFormat::Bit8, 5, 4);
  auto wrongFormat = test::NoiseBitmap(PixelFormat::Bit24, 5, 3);
  Bitmap empty;
  EXPECT_EQ(colourType(fits.get()), 6);
  EXPECT_EQ(colourType(wrongSize.get()), 2);
  EXPECT_EQ(colourType(wrongFormat.get()), 2);
  EXPECT_EQ(colourType(&empty), 2);
  EXPECT_EQ(colourType(source.get()), 2);

  auto palette = test::NoiseBitmap(PixelFormat::Bit8, 5, 3);
  EXPECT_EQ(DataOf(Chunks(*palette, [&](TQelPNGWriteStream& w) { w.AlphaBitmap = fits.get(); }), "IHDR")[9], 3);
}

TEST(QelPNGWriteStream, OneByOneAdam7WritesOneRow) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 1, 1);
  std::vector<std::int32_t> hookRows;
  std::vector<PngChunk> chunks = Chunks(*source, [&](TQelPNGWriteStream& w) {
    w.Interlace = 1;
    w.RowKey = "k";
    w.OnWriteRow = [&](TQelPNGWriteStream&, std::uint8_t*, const ByteString&, std::int32_t index, std::int32_t length) {
      hookRows.push_back(index);
      EXPECT_EQ(length, 3);
    };
  });
  EXPECT_EQ(DataOf(chunks, "IHDR")[12], 1);
  Bytes rows = test::InflateImageData(chunks);
  Color c = source->PixelColor(0, 0);
  EXPECT_EQ(rows, (Bytes{0, static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                         static_cast<std::uint8_t>(c >> 16)}));
  EXPECT_EQ(hookRows, std::vector<std::int32_t>{0});
}

TEST(QelPNGWriteStream, RowHookSeesEveryRowAndMayChangeIt) {
  auto source = test::NoiseBitmap(PixelFormat::Bit8, 6, 4);
  std::vector<std::int32_t> indexes;
  std::vector<PngChunk> chunks = Chunks(*source, [&](TQelPNGWriteStream& w) {
    w.RowKey = "secret";
    w.OnWriteRow = [&](TQelPNGWriteStream&, std::uint8_t* row, const ByteString& key, std::int32_t index,
                       std::int32_t length) {
      EXPECT_EQ(key, "secret");
      EXPECT_EQ(length, 6);
      indexes.push_back(index);
      for (int i = 0; i < length; ++i) row[i] = static_cast<std::uint8_t>(index);
    };
  });
  EXPECT_EQ(indexes, (std::vector<std::int32_t>{0, 1, 2, 3}));
  EXPECT_EQ(DataOf(chunks, "tpNG")[4], 1);
  Bytes rows = test::InflateImageData(chunks);
  ASSERT_EQ(rows.size(), 28u);
  EXPECT_EQ(Bytes(rows.begin() + 21, rows.end()), (Bytes{0, 3, 3, 3, 3, 3, 3}));

  int calls = 0;
  std::vector<PngChunk> unkeyed = Chunks(*source, [&](TQelPNGWriteStream& w) {
    w.OnWriteRow = [&](TQelPNGWriteStream&, std::uint8_t*, const ByteString&, std::int32_t, std::int32_t) { ++calls; };
  });
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(DataOf(unkeyed, "tpNG")[4], 0);
}

TEST(QelPNGWriteStream, FilterModesReachTheRows) {
  auto fourBit = test::NoiseBitmap(PixelFormat::Bit4, 64, 8);
  auto eightBit = test::NoiseBitmap(PixelFormat::Bit8, 64, 8);
  auto filterBytes = [](Bitmap& source, std::int32_t mode) {
    Bytes rows = test::InflateImageData(Chunks(source, [&](TQelPNGWriteStream& w) { w.FilterMode = mode; }));
    std::size_t rowLength = rows.size() / static_cast<std::size_t>(source.Height());
    std::set<int> types;
    for (std::size_t i = 0; i < rows.size(); i += rowLength) types.insert(rows[i]);
    return types;
  };
  EXPECT_EQ(filterBytes(*fourBit, kFilterAdaptive), std::set<int>{0});  // 4-bit images keep None
  EXPECT_EQ(filterBytes(*eightBit, kFilterPaeth), std::set<int>{4});
  EXPECT_EQ(filterBytes(*eightBit, kFilterSub), std::set<int>{1});
  EXPECT_EQ(filterBytes(*eightBit, 9), std::set<int>{0});
}

class StoppingWriter : public TQelPNGWriteStream {
 public:
  bool Progress(std::int32_t percent) override { return percent >= 50; }
};

TEST(QelPNGWriteStream, AStopRequestEndsTheRowsWithoutIend) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 1000, 40);
  StoppingWriter writer;
  writer.UseCurrentTime = false;
  writer.SetIDATSize(256);
  MemoryStream out;
  writer.SaveBitmap(*source, out);
  std::vector<PngChunk> chunks = test::ParseChunks(out.Bytes());
  Strings types = test::ChunkTypes(chunks);
  EXPECT_EQ(types.front(), "IHDR");
  EXPECT_EQ(types.back(), "IDAT");  // the chunks written before the stop stay; nothing follows
  EXPECT_LT(std::count(types.begin(), types.end(), "IDAT"), 40 * 3000 / 256);
}

TEST(QelPNGWriteStream, FailuresPassThrough) {
  Bitmap empty;
  TQelPNGWriteStream writer;
  MemoryStream out;
  try {
    writer.SaveBitmap(empty, out);
    FAIL();
  } catch (const EQelPNG& e) {
    EXPECT_EQ(e.Message(), "Write Image (PNG): Image is empty");
  }
  EXPECT_EQ(out.Size(), 0);

  auto big = test::NoiseBitmap(PixelFormat::Bit24, 200, 200);
  test::FailingStream full(1000);
  TQelPNGWriteStream second;
  EXPECT_THROW(second.SaveBitmap(*big, full), EWriteError);
}

TEST(QelPNGWriteStream, ProgressReachesTheBitmapInOrder) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 3, 30);
  std::vector<int> percents;
  std::vector<ProgressStage> stages;
  source->SetOnProgress([&](Graphic& sender, ProgressStage stage, std::uint8_t percent, bool, const Rect&,
                            const ByteString&) {
    EXPECT_EQ(&sender, source.get());
    stages.push_back(stage);
    percents.push_back(percent);
  });
  Encode(*source);
  ASSERT_GE(percents.size(), 4u);
  EXPECT_EQ(stages.front(), ProgressStage::Starting);
  EXPECT_EQ(percents[1], 29);  // the chunks before the image data
  EXPECT_EQ(stages.back(), ProgressStage::Ending);
  EXPECT_EQ(percents.back(), 100);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
}

}  // namespace
}  // namespace quorvex
