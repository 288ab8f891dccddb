#include <gtest/gtest.h>

#include <random>

#include "dib/DibErrors.h"
#include "shg/PictureImages.h"
#include "shg/RunLen.h"
#include "shg/shg.h"
#include "support/BmpBuilder.h"
#include "support/ErrorMessage.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::BmpBuilder;
using test::Bytes;
using test::PadRows;

class PictureFilesTest : public ::testing::Test {
 protected:
  void Load(TShg& shg, const Bytes& bytes, const std::string& name) {
    dir_.Write(name, std::string(bytes.begin(), bytes.end()));
    shg.LoadFromFile(dir_.Engine() + name);
  }
  test::TempDir dir_;
};

// The bytes of `shg`'s data after the palette.
Bytes HeldPixels(const TShg& shg) {
  const Bytes& all = shg.PictureData.Bytes();
  return Bytes(all.begin() + 4 * shg.BitmapHeader.ColorsUsed, all.end());
}

// A placeable metafile whose bounding box is 0, 0, `right`, `bottom`.
Bytes Placeable(std::int16_t right, std::int16_t bottom, std::uint16_t inch, const Bytes& records) {
  Bytes file = BuildPlaceableMetafile(0, 0, records);
  auto put16 = [&](std::size_t at, std::uint16_t v) {
    file[at] = static_cast<std::uint8_t>(v);
    file[at + 1] = static_cast<std::uint8_t>(v >> 8);
  };
  put16(10, static_cast<std::uint16_t>(right));
  put16(12, static_cast<std::uint16_t>(bottom));
  put16(14, inch);
  put16(20, PlaceableChecksum(file));
  return file;
}

TEST_F(PictureFilesTest, BitmapFilesAreHeldPackedAndRenderAsLoaded) {
  BmpBuilder b;
  b.Width = 8;
  b.Height = 2;
  b.ClrUsed = 3;
  b.Colors = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  b.Pixels = PadRows({{1, 1, 1, 1, 1, 1, 2, 2}, {0, 0, 0, 0, 0, 0, 0, 0}});
  TShg shg;
  Load(shg, b.Build(), "Logo.BMP");
  const TShgBitmapHeader& h = shg.BitmapHeader;
  EXPECT_EQ(shg.FileHeader.Magic, 0x506C);
  EXPECT_EQ(shg.FileHeader.PictureOffset, 8u);
  EXPECT_EQ(h.PictureType, 6);
  EXPECT_EQ(h.PackingMethod, 1);
  EXPECT_EQ(h.XDpi, 96);
  EXPECT_EQ(h.Width, 8);
  EXPECT_EQ(h.BitCount, 8);
  EXPECT_EQ(h.ColorsUsed, 3);
  EXPECT_EQ(HeldPixels(shg), (Bytes{6, 1, 2, 2, 8, 0}));
  EXPECT_EQ(h.CompressedSize, 6u);
  EXPECT_EQ(shg.HotSpotCount(), 0);
  Bitmap bitmap;
  shg.RenderToBitmap(bitmap);
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bit8);
  EXPECT_EQ(bitmap.PixelValue(7, 1), 2u);
  EXPECT_EQ(bitmap.PixelValue(7, 0), 0u);
  EXPECT_EQ(bitmap.GetPalette().size(), 3u);
}

TEST_F(PictureFilesTest, NoiseIsHeldStoredBecausePackingWouldGrowIt) {
  BmpBuilder b;
  b.Width = 4;
  b.Height = 3;
  b.BitCount = 24;
  std::mt19937 random(3);
  b.Pixels.resize(36);
  for (auto& v : b.Pixels) v = static_cast<std::uint8_t>(random());
  TShg shg;
  Load(shg, b.Build(), "noise.bmp");
  EXPECT_EQ(shg.BitmapHeader.PackingMethod, 0);
  EXPECT_EQ(shg.BitmapHeader.CompressedSize, 36u);
  EXPECT_EQ(HeldPixels(shg), b.Pixels);
  Bitmap bitmap;
  shg.RenderToBitmap(bitmap);
  EXPECT_EQ(bitmap.PixelValue(0, 2), b.Pixels[0] | (b.Pixels[1] << 8) | (b.Pixels[2] << 16));
}

TEST_F(PictureFilesTest, RunLengthBitmapsAreHeldAsPlainPixels) {
  BmpBuilder rle8;
  rle8.Width = 4;
  rle8.Height = 2;
  rle8.Compression = 1;
  rle8.ClrUsed = 16;
  rle8.Colors = test::GreyColors(16);
  rle8.Pixels = {4, 7, 0, 0, 2, 9, 2, 3, 0, 1};
  TShg shg;
  Load(shg, rle8.Build(), "rle8.bmp");
  EXPECT_EQ(shg.BitmapHeader.BitCount, 8);
  EXPECT_EQ(UnpackRunLen(HeldPixels(shg), 100), (Bytes{7, 7, 7, 7, 9, 9, 3, 3}));

  BmpBuilder rle4 = rle8;
  rle4.BitCount = 4;
  rle4.Compression = 2;
  rle4.Pixels = {4, 0x12, 0, 1};
  Load(shg, rle4.Build(), "rle4.bmp");
  EXPECT_EQ(shg.BitmapHeader.BitCount, 4);
  EXPECT_EQ(UnpackRunLen(HeldPixels(shg), 100), (Bytes{0x12, 0x12, 0, 0, 0, 0, 0, 0}));
  Bitmap bitmap;
  shg.RenderToBitmap(bitmap);
  EXPECT_EQ(bitmap.PixelValue(1, 1), 2u);
}

TEST_F(PictureFilesTest, ErrorsOfTheDibModelPassThrough) {
  BmpBuilder b;
  b.Type = 0x4D43;
  TShg shg;
  EXPECT_EQ(test::ErrorMessage<EVxDIBError>([&] { Load(shg, b.Build(), "bad.bmp"); }),
            "TVxInternalDIB.LoadFromFile: File type is invalid");
}

TEST_F(PictureFilesTest, PlaceableMetafilesAreHeldWithTheirSizeInPixels) {
  const Bytes records = {3, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0};
  TShg shg;
  Load(shg, Placeable(1440, 720, 1440, records), "Chart.WMF");
  const TShgMetafileHeader& m = shg.MetafileHeader;
  EXPECT_EQ(shg.BitmapHeader.PictureType, 8);
  EXPECT_EQ(shg.FileHeader.PictureCount, 1);
  EXPECT_EQ(m.MetaPictureType, 8);
  EXPECT_EQ(m.MappingMode, 8);
  EXPECT_EQ(m.MetaWidth, 96u);
  EXPECT_EQ(m.MetaHeight, 48u);
  EXPECT_EQ(m.DecompressedSize, 18);
  EXPECT_EQ(m.MetaPackingMethod, 1);
  EXPECT_EQ(shg.PictureData.Bytes(), PackRunLen(records));
  EXPECT_EQ(m.MetaCompressedSize, shg.PictureData.Bytes().size());

  Load(shg, Placeable(200, 100, 0, {1, 2, 3}), "plain.wmf");  // 0 units per inch count as 96
  EXPECT_EQ(shg.MetafileHeader.MetaWidth, 200u);
  EXPECT_EQ(shg.MetafileHeader.MetaPackingMethod, 0);  // 129 1 2 3 would be longer
  EXPECT_EQ(shg.PictureData.Bytes(), (Bytes{1, 2, 3}));

  auto refused = [&](Bytes file) {
    return test::ErrorMessage<EShgErrorFile>([&] { Load(shg, file, "bad.wmf"); });
  };
  Bytes file = Placeable(10, 10, 96, records);
  file[21] ^= 1;
  EXPECT_EQ(refused(file), "TShg.LoadFromFile: File type is invalid");
  file = Placeable(10, 10, 96, records);
  file[0] = 0;  // the checksum matches, the key does not
  const std::uint16_t checksum = PlaceableChecksum(file);
  file[20] = static_cast<std::uint8_t>(checksum);
  file[21] = static_cast<std::uint8_t>(checksum >> 8);
  EXPECT_EQ(refused(file), "TShg.LoadFromFile: File type is invalid");
  EXPECT_EQ(refused(Bytes(file.begin(), file.begin() + 21)), "TShg.LoadFromFile: File type is invalid");
}

}  // namespace
}  // namespace quorvex
