#include "png/QelPNG.h"

#include <gtest/gtest.h>

#include "base/Files.h"
#include "platform/PictureFormats.h"
#include "support/BitmapBuilder.h"
#include "support/ForeignGraphic.h"
#include "support/PngOracle.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;
using test::BE32;
using test::PngChunk;

Bytes Save(TQelPNG& png) {
  MemoryStream out;
  png.SaveToStream(out);
  EXPECT_EQ(test::CheckValidPng(out.Bytes()), "");
  return out.Bytes();
}

using test::ForeignGraphic;

class NotAGraphic : public Persistent {
 public:
  const char* ClassName() const override { return "TThing"; }
};

TEST(QelPNG, FreshObjectWritesTheFixedChunkSequence) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 10, 10);
  TQelPNG png;
  png.Assign(source.get());
  Bytes file = Save(png);
  ASSERT_GE(file.size(), 8u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 8), (Bytes{137, 80, 78, 71, 13, 10, 26, 10}));

  std::vector<PngChunk> chunks = test::ParseChunks(file);
  EXPECT_EQ(test::ChunkTypes(chunks), (Strings{"IHDR", "tIME", "tEXt", "tpNG", "gAMA", "IDAT", "IEND"}));
  for (const PngChunk& c : chunks) EXPECT_TRUE(c.CrcOk) << c.Type;
  EXPECT_EQ(chunks[0].Data, (Bytes{0, 0, 0, 10, 0, 0, 0, 10, 8, 2, 0, 0, 0}));
  DateTime now = CurrentUtcTime();
  ASSERT_EQ(chunks[1].Data.size(), 7u);
  EXPECT_EQ(test::BE16(chunks[1].Data, 0), now.Year);
  std::string text(chunks[2].Data.begin(), chunks[2].Data.end());
  EXPECT_EQ(text, std::string("Software\0QelPNG ver 3.4", 23));
  EXPECT_EQ(chunks[3].Data, (Bytes{'Q', 'e', 'l', '3', 0, 0, 0, 0}));
  EXPECT_EQ(BE32(chunks[4].Data, 0), 45455u);
  EXPECT_TRUE(chunks[6].Data.empty());

  Bytes rows = test::InflateImageData(chunks);
  ASSERT_EQ(rows.size(), 10u * 31u);
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(rows[y * 31], 0) << "row " << y;
    for (int x = 0; x < 10; ++x) {
      Color c = source->PixelColor(x, y);
      EXPECT_EQ(rows[y * 31 + 1 + 3 * x], c & 0xFF);
      EXPECT_EQ(rows[y * 31 + 3 + 3 * x], (c >> 16) & 0xFF);
    }
  }
}

TEST(QelPNG, PaletteBitmapsKeepTheirDepthAndPalette) {
  auto eight = test::NoiseBitmap(PixelFormat::Bit8, 5, 5);
  TQelPNG png;
  png.Assign(eight.get());
  std::vector<PngChunk> chunks = test::ParseChunks(Save(png));
  EXPECT_EQ(test::ChunkTypes(chunks), (Strings{"IHDR", "tIME", "tEXt", "tpNG", "gAMA", "PLTE", "IDAT", "IEND"}));
  EXPECT_EQ(chunks[0].Data[8], 8);
  EXPECT_EQ(chunks[0].Data[9], 3);
  Palette palette = eight->GetPalette();
  ASSERT_EQ(chunks[5].Data.size(), 3 * palette.size());
  EXPECT_EQ(chunks[5].Data[3 * 7 + 1], palette[7].Green);

  auto one = test::NoiseBitmap(PixelFormat::Bit1, 5, 5);
  png.Assign(one.get());
  chunks = test::ParseChunks(Save(png));
  EXPECT_EQ(chunks[0].Data[8], 1);
  EXPECT_EQ(chunks[0].Data[9], 3);
}

TEST(QelPNG, FifteenAndSixteenBitsBecomeRgbWithTheirSignificantBits) {
  Bitmap b15(1, 1, PixelFormat::Bit15);
  b15.SetPixelValue(0, 0, 0x7FFF);
  Bitmap b16(1, 1, PixelFormat::Bit16);
  b16.SetPixelValue(0, 0, 0xFFFF);
  const std::pair<Bitmap*, Bytes> cases[] = {{&b15, {5, 5, 5}}, {&b16, {5, 6, 5}}};
  for (const auto& [bitmap, sbit] : cases) {
    TQelPNG png;
    png.Assign(bitmap);
    Bytes file = Save(png);
    std::vector<PngChunk> chunks = test::ParseChunks(file);
    const PngChunk* found = test::FindChunk(chunks, "sBIT");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->Data, sbit);
    test::DecodedPng decoded = test::DecodeWithLibpng(file);
    ASSERT_TRUE(decoded.Ok) << decoded.Error;
    EXPECT_EQ(decoded.ColorType, 2);
    EXPECT_EQ(decoded.Rows[0], (Bytes{255, 255, 255}));
  }
}

TEST(QelPNG, ReportsTheSizeOfTheAssignedBitmapAndCopiesIt) {
  TQelPNG png;
  EXPECT_TRUE(png.Empty());
  auto source = test::NoiseBitmap(PixelFormat::Bit8, 7, 3);
  png.Assign(source.get());
  EXPECT_FALSE(png.Empty());
  EXPECT_EQ(png.Width(), 7);
  EXPECT_EQ(png.Height(), 3);
  EXPECT_EQ(png.GetPalette(), source->GetPalette());
  source->SetPixelValue(0, 0, source->PixelValue(0, 0) ^ 1);
  EXPECT_NE(png.Image().PixelValue(0, 0), source->PixelValue(0, 0));

  Bitmap back;
  back.Assign(&png);  // the graphic hands its image over
  EXPECT_EQ(back.Width(), 7);
  EXPECT_EQ(back.Format(), PixelFormat::Bit8);
  EXPECT_EQ(back.PixelValue(0, 0), png.Image().PixelValue(0, 0));
}

TEST(QelPNG, AssignmentErrorsLeaveTheImageAlone) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 4, 2);
  TQelPNG png;
  png.Assign(source.get());
  try {
    png.Assign(nullptr);
    FAIL();
  } catch (const EAssignError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a nil to a TQelPNG");
  }
  NotAGraphic thing;
  EXPECT_THROW(png.Assign(&thing), EAssignError);
  ForeignGraphic foreign;
  EXPECT_THROW(png.Assign(&foreign), EAssignError);
  EXPECT_EQ(png.Width(), 4);
  EXPECT_EQ(png.Image().PixelValue(3, 1), source->PixelValue(3, 1));
}

TEST(QelPNG, AssigningAnotherPngCopiesItsWriterOptionsOnly) {
  TQelPNG from;
  auto source = test::NoiseBitmap(PixelFormat::Bit4, 3, 3);
  from.Assign(source.get());
  from.CompressionLevel = 3;
  from.FilterMode = kFilterPaeth;
  from.IDATSize = 999;
  from.Interlace = 1;
  from.GrayScale = true;
  from.Comment = "c";
  from.BackgroundColor = 5;
  from.TransparentColor = 6;
  from.Gamma = 1.0;
  from.SignificantBits = 0x040404;
  from.PhysUnit = 2;
  from.PhysX = from.PhysY = 300;
  from.UseCurrentTime = false;
  from.StoredTime = {2000, 1, 2, 3, 4, 5};
  from.Chromaticity[7] = 42;
  from.HasAlpha = true;
  from.RowKey = "key";
  from.GifExtension[0] = 1;

  TQelPNG to;
  to.Assign(&from);
  EXPECT_EQ(to.Width(), 3);
  EXPECT_EQ(to.Image().Format(), PixelFormat::Bit4);
  EXPECT_EQ(to.CompressionLevel, 3);
  EXPECT_EQ(to.FilterMode, kFilterPaeth);
  EXPECT_EQ(to.IDATSize, 999);
  EXPECT_EQ(to.Interlace, 1);
  EXPECT_TRUE(to.GrayScale);
  EXPECT_EQ(to.Comment, "c");
  EXPECT_EQ(to.BackgroundColor, 5);
  EXPECT_EQ(to.TransparentColor, 6);
  EXPECT_EQ(to.Gamma, 1.0);
  EXPECT_EQ(to.SignificantBits, 0x040404);
  EXPECT_EQ(to.PhysUnit, 2);
  EXPECT_EQ(to.PhysY, 300);
  EXPECT_FALSE(to.UseCurrentTime);
  EXPECT_EQ(to.StoredTime, (DateTime{2000, 1, 2, 3, 4, 5}));
  EXPECT_EQ(to.Chromaticity[7], 42u);
  EXPECT_FALSE(to.HasAlpha);
  EXPECT_EQ(to.RowKey, "");
  EXPECT_EQ(to.GifExtension[0], 0);
}

TEST(QelPNG, SetWidthTouchesOnlyBitmapsThatAreNotEmpty) {
  TQelPNG png;
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 4, 4);
  png.Assign(source.get());
  png.SetWidth(9);
  EXPECT_EQ(png.Width(), 9);
  EXPECT_TRUE(png.AlphaBitmap().Empty());
  EXPECT_EQ(png.AlphaBitmap().Width(), 0);

  png.AlphaBitmap().Assign(test::NoiseBitmap(PixelFormat::Bit8, 4, 4).get());
  png.SetHeight(6);
  EXPECT_EQ(png.Height(), 6);
  EXPECT_EQ(png.AlphaBitmap().Height(), 6);

  TQelPNG empty;
  empty.SetWidth(5);
  EXPECT_EQ(empty.Width(), 0);
}

TEST(QelPNG, TransparencyFollowsTheAssignedBitmap) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 2, 2);
  source->SetTransparent(true);
  TQelPNG png;
  int changes = 0;
  png.SetOnChange([&](Graphic&) { ++changes; });
  png.Assign(source.get());
  EXPECT_TRUE(png.Transparent());
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(png.PaletteModified());

  png.SetTransparent(false);
  EXPECT_FALSE(png.Image().Transparent());
  EXPECT_EQ(changes, 2);
}

TEST(QelPNG, SaveToStreamPassesTheOptions) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 12, 9);
  auto alpha = test::NoiseBitmap(PixelFormat::Bit8, 12, 9);
  TQelPNG png;
  png.Assign(source.get());
  png.AlphaBitmap().Assign(alpha.get());
  png.HasAlpha = true;
  png.Interlace = 1;
  png.UseCurrentTime = false;
  png.StoredTime = {2020, 6, 7, 8, 9, 10};
  png.Comment = "note";
  png.PhysUnit = 2;
  png.PhysX = png.PhysY = 96;
  png.Gamma = 0;
  std::vector<PngChunk> chunks = test::ParseChunks(Save(png));
  EXPECT_EQ(test::ChunkTypes(chunks), (Strings{"IHDR", "tIME", "tEXt", "tEXt", "tpNG", "pHYs", "IDAT", "IEND"}));
  EXPECT_EQ(chunks[0].Data[9], 6);
  EXPECT_EQ(chunks[0].Data[12], 1);
  EXPECT_EQ(chunks[1].Data, (Bytes{0x07, 0xE4, 6, 7, 8, 9, 10}));
  EXPECT_EQ(BE32(chunks[5].Data, 0), 3779u);

  png.IDATSize = 255;
  MemoryStream out;
  try {
    png.SaveToStream(out);
    FAIL();
  } catch (const EQelPNG& e) {
    EXPECT_EQ(e.Message(), "Write PNG Param: Err IDAT Size(min:256  max:100000)");
  }
  EXPECT_EQ(out.Size(), 0);
}

TEST(QelPNG, ImageRefIsUsedInsteadOfTheOwnedImage) {
  auto owned = test::NoiseBitmap(PixelFormat::Bit24, 2, 2);
  auto referenced = test::NoiseBitmap(PixelFormat::Bit8, 6, 5);
  TQelPNG png;
  png.Assign(owned.get());
  png.ImageRef = referenced.get();
  EXPECT_EQ(png.Width(), 6);
  std::vector<PngChunk> chunks = test::ParseChunks(Save(png));
  EXPECT_EQ(BE32(chunks[0].Data, 0), 6u);

  // WriteData always encodes the owned image.
  MemoryStream data;
  png.WriteData(data);
  chunks = test::ParseChunks(data.Bytes());
  EXPECT_EQ(BE32(chunks[0].Data, 0), 2u);
}

TEST(QelPNG, WriteDataUsesTheWritersDefaultsAndSkipsAnEmptyImage) {
  TQelPNG png;
  MemoryStream nothing;
  png.WriteData(nothing);
  EXPECT_EQ(nothing.Size(), 0);

  auto source = test::NoiseBitmap(PixelFormat::Bit8, 40, 30);
  png.Assign(source.get());
  png.CompressionLevel = 0;
  png.FilterMode = kFilterPaeth;
  png.Interlace = 1;
  png.IDATSize = 256;
  png.UseCurrentTime = false;
  png.Comment = "kept";
  MemoryStream out;
  png.WriteData(out);
  EXPECT_EQ(test::CheckValidPng(out.Bytes()), "");
  std::vector<PngChunk> chunks = test::ParseChunks(out.Bytes());
  EXPECT_EQ(test::ChunkTypes(chunks),
            (Strings{"IHDR", "tIME", "tEXt", "tEXt", "tpNG", "gAMA", "PLTE", "IDAT", "IEND"}));
  EXPECT_EQ(chunks[0].Data[12], 0);
  Bytes rows = test::InflateImageData(chunks);
  for (std::size_t i = 0; i < rows.size(); i += 41) EXPECT_EQ(rows[i], 0);
}

TEST(QelPNG, SaveToFileWritesInsideTheOutputFolderOnly) {
  test::TempDir dir;
  auto source = test::NoiseBitmap(PixelFormat::Bit4, 5, 5);
  TQelPNG png;
  png.Assign(source.get());
  ForceDirectories(dir.Engine() + "img");
  png.SaveToFile(dir.Engine() + "img\\pic.png", dir.Engine());
  std::string written = dir.Read("img/pic.png");
  test::DecodedPng decoded = test::DecodeWithLibpng(Bytes(written.begin(), written.end()));
  ASSERT_TRUE(decoded.Ok) << decoded.Error;
  EXPECT_EQ(decoded.Width, 5u);
  EXPECT_THROW(png.SaveToFile(dir.Engine() + "..\\escape.png", dir.Engine()), EFCreateError);
}

TEST(QelPNG, ProgressHandlerIsLentToTheImageForTheSave) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 3, 12);
  TQelPNG png;
  png.Assign(source.get());
  int own = 0;
  png.Image().SetOnProgress([&](Graphic&, ProgressStage, std::uint8_t, bool, const Rect&, const ByteString&) { ++own; });
  std::vector<int> percents;
  png.SetOnProgress([&](Graphic& sender, ProgressStage, std::uint8_t percent, bool, const Rect&, const ByteString&) {
    EXPECT_EQ(&sender, &png.Image());
    percents.push_back(percent);
  });
  Save(png);
  EXPECT_EQ(own, 0);
  EXPECT_EQ(percents.front(), 0);
  EXPECT_EQ(percents.back(), 100);

  png.Image().Progress(ProgressStage::Running, 5, false, {}, "");
  EXPECT_EQ(own, 1);  // the bitmap's own handler is back

  png.IDATSize = 1;  // a failing save also gives it back
  EXPECT_THROW(Save(png), EQelPNG);
  png.Image().Progress(ProgressStage::Running, 5, false, {}, "");
  EXPECT_EQ(own, 2);
}

TEST(QelPNG, RegisteredForThePngExtension) {
  std::optional<PictureFormat> format = FindPictureFormat("png");
  ASSERT_TRUE(format.has_value());
  EXPECT_EQ(format->Description, "PNG Format");
  EXPECT_EQ(format->ClassName, "TQelPNG");
  std::unique_ptr<Graphic> graphic = CreateGraphicForFile("img\\picture.PNG");
  EXPECT_NE(dynamic_cast<TQelPNG*>(graphic.get()), nullptr);
}

}  // namespace
}  // namespace quorvex
