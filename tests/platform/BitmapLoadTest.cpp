#include <gtest/gtest.h>

#include "base/Errors.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/PictureFormats.h"
#include "support/BmpBuilder.h"
#include "support/ErrorMessage.h"

namespace quorvex {
namespace {

using test::BmpBuilder;
using test::Bytes;
using test::PadRows;

constexpr char kNotValid[] = "Bitmap image is not valid";

std::string LoadError(const Bytes& file) {
  return test::ErrorMessage<EInvalidGraphic>([&] {
    Bitmap bitmap;
    bitmap.LoadFromMemory(file);
  });
}

// A 3 x 2 picture of 8 bits whose file rows are 0,1,2 (bottom) and 3,4,5 (top).
BmpBuilder EightBit() {
  BmpBuilder b;
  b.Width = 3;
  b.Height = 2;
  b.BitCount = 8;
  b.Colors = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  b.Pixels = PadRows({{0, 1, 2}, {3, 4, 5}});
  return b;
}

// Writes the three masks at offset 40 of the information header, where the
// headers of 52 bytes and more keep them.
void PutMasksInHeader(Bytes& file, const std::uint32_t (&masks)[3]) {
  for (int m = 0; m < 3; ++m) {
    for (int i = 0; i < 4; ++i) file[14 + 40 + 4 * m + i] = static_cast<std::uint8_t>(masks[m] >> (8 * i));
  }
}

TEST(BitmapLoad, PaletteBitmapRowsCountFromTheTopAndTheFileSizeFieldIsIgnored) {
  BmpBuilder b = EightBit();
  b.FileSize = 7;  // wrong, as many writers leave it
  Bitmap bitmap;
  bitmap.LoadFromMemory(b.Build());
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bit8);
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.PixelValue(0, 0), 3u);  // the top row is the file's last
  EXPECT_EQ(bitmap.PixelValue(2, 1), 2u);
  ASSERT_EQ(bitmap.GetPalette().size(), 6u);
  EXPECT_EQ(bitmap.GetPalette()[1], (PaletteEntry{40, 50, 60, 0}));
  EXPECT_EQ(bitmap.PixelColor(0, 0), RgbColor(1, 2, 3));
}

TEST(BitmapLoad, EveryHeaderSizeGivesTheSamePicture) {
  for (std::uint32_t size : {12u, 40u, 52u, 56u, 108u, 124u}) {
    BmpBuilder b;
    b.HeaderSize = size;
    b.Width = 3;
    b.Height = 2;
    b.BitCount = 4;
    b.Colors = test::GreyColors(16);
    b.Pixels = PadRows({{0x12, 0x30}, {0xAB, 0xC0}});
    Bitmap bitmap;
    bitmap.LoadFromMemory(b.Build());
    EXPECT_EQ(bitmap.Format(), PixelFormat::Bit4) << size;
    EXPECT_EQ(bitmap.GetPalette().size(), 16u) << size;
    EXPECT_EQ(bitmap.PixelValue(0, 0), 0xAu) << size;
    EXPECT_EQ(bitmap.PixelValue(2, 0), 0xCu) << size;
    EXPECT_EQ(bitmap.PixelValue(1, 1), 0x2u) << size;
    EXPECT_EQ(bitmap.PixelColor(1, 0), RgbColor(187, 187, 187)) << size;
  }
}

TEST(BitmapLoad, TopDownRowsAndTwentyFourBits) {
  BmpBuilder b;
  b.Width = 2;
  b.Height = -2;
  b.BitCount = 24;
  b.Pixels = PadRows({{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}});
  Bitmap bitmap;
  bitmap.LoadFromMemory(b.Build());
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bit24);
  EXPECT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.PixelColor(0, 0), RgbColor(3, 2, 1));  // blue, green, red in the file
  EXPECT_EQ(bitmap.PixelColor(1, 1), RgbColor(12, 11, 10));
}

TEST(BitmapLoad, RunLengthPicturesAreDecodedBottomRowFirst) {
  BmpBuilder rle8;
  rle8.Width = 4;
  rle8.Height = 3;
  rle8.Compression = 1;
  rle8.Colors = test::GreyColors(256);
  // bottom row: run of 4 x 7; end of line; delta (1, 1) skips the middle row;
  // top row: literal 9 8 7 at x 1; end of bitmap
  rle8.Pixels = {4, 7, 0, 0, 0, 2, 1, 1, 0, 3, 9, 8, 7, 0, 0, 1};
  Bitmap eight;
  eight.LoadFromMemory(rle8.Build());
  EXPECT_EQ(eight.Format(), PixelFormat::Bit8);
  EXPECT_EQ(eight.PixelValue(3, 2), 7u);
  EXPECT_EQ(eight.PixelValue(0, 1), 0u);
  EXPECT_EQ(eight.PixelValue(0, 0), 0u);
  EXPECT_EQ(eight.PixelValue(1, 0), 9u);
  EXPECT_EQ(eight.PixelValue(3, 0), 7u);

  BmpBuilder rle4 = rle8;
  rle4.BitCount = 4;
  rle4.Compression = 2;
  rle4.Colors = test::GreyColors(16);
  rle4.Height = 2;
  rle4.Pixels = {3, 0x12, 0, 0, 0, 4, 0xAB, 0xCD, 0, 1};
  Bitmap four;
  four.LoadFromMemory(rle4.Build());
  EXPECT_EQ(four.Format(), PixelFormat::Bit4);
  EXPECT_EQ(four.PixelValue(0, 1), 1u);
  EXPECT_EQ(four.PixelValue(2, 1), 1u);
  EXPECT_EQ(four.PixelValue(3, 0), 0xDu);

  rle8.Pixels = {0, 2, 9, 9};  // a delta leaving the picture
  EXPECT_EQ(LoadError(rle8.Build()), kNotValid);
  rle8.Height = -3;  // run-length rows are never top-down
  rle8.Pixels = {0, 1};
  EXPECT_EQ(LoadError(rle8.Build()), kNotValid);
}

TEST(BitmapLoad, BitFieldsKeepTheirFormatOrAreWidened) {
  BmpBuilder plain16;
  plain16.Width = 1;
  plain16.BitCount = 16;
  plain16.Pixels = PadRows({{0xE0, 0x03}});  // 5-5-5: full green
  Bitmap bitmap;
  bitmap.LoadFromMemory(plain16.Build());
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bit15);
  EXPECT_EQ(bitmap.PixelColor(0, 0), RgbColor(0, 255, 0));

  BmpBuilder masked = plain16;
  masked.Compression = 3;
  masked.Masks = {0xF800, 0x07E0, 0x001F};
  masked.Pixels = PadRows({{0xE0, 0x07}});  // 5-6-5: full green
  bitmap.LoadFromMemory(masked.Build());
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bit16);
  EXPECT_EQ(bitmap.PixelColor(0, 0), RgbColor(0, 255, 0));

  masked.Masks = {0x0F00, 0x00F0, 0x000F};  // 4-4-4 has no bitmap format of its own
  masked.Pixels = PadRows({{0x8F, 0x0F}});
  bitmap.LoadFromMemory(masked.Build());
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bit24);
  EXPECT_EQ(bitmap.PixelColor(0, 0), RgbColor(255, 136, 255));

  BmpBuilder v4;  // masks inside a 108-byte header; blue and red swapped
  v4.HeaderSize = 108;
  v4.Width = 1;
  v4.BitCount = 32;
  v4.Compression = 3;
  v4.Pixels = {0x11, 0x22, 0x33, 0x44};
  Bytes file = v4.Build();
  PutMasksInHeader(file, {0x0000FF, 0x00FF00, 0xFF0000});
  bitmap.LoadFromMemory(file);
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bit24);
  EXPECT_EQ(bitmap.PixelColor(0, 0), RgbColor(0x11, 0x22, 0x33));
  PutMasksInHeader(file, {0xFF0000, 0x00FF00, 0x0000FF});
  bitmap.LoadFromMemory(file);
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bit32);
  EXPECT_EQ(bitmap.PixelColor(0, 0), RgbColor(0x33, 0x22, 0x11));
}

TEST(BitmapLoad, ColourTableEndsWhereThePixelsStart) {
  BmpBuilder b = EightBit();
  b.ClrUsed = 0;  // 256 entries in principle, but only 6 stored before the pixels
  Bitmap bitmap;
  bitmap.LoadFromMemory(b.Build());
  EXPECT_EQ(bitmap.GetPalette().size(), 6u);

  b.ClrUsed = 6;
  b.PixelOffset = 0;  // a sloppy writer: the pixels follow the table
  bitmap.LoadFromMemory(b.Build());
  EXPECT_EQ(bitmap.PixelValue(1, 0), 4u);
  EXPECT_EQ(bitmap.GetPalette().size(), 6u);
}

TEST(BitmapLoad, UnreadablePicturesRaiseOneClearErrorAndChangeNothing) {
  auto with = [](auto change) {
    BmpBuilder b = EightBit();
    change(b);
    return b.Build();
  };
  EXPECT_EQ(LoadError(with([](BmpBuilder& b) { b.Type = 0x4D43; })), kNotValid);
  EXPECT_EQ(LoadError(with([](BmpBuilder& b) { b.HeaderSize = 64; })), kNotValid);
  EXPECT_EQ(LoadError(with([](BmpBuilder& b) { b.BitCount = 2; })), kNotValid);
  EXPECT_EQ(LoadError(with([](BmpBuilder& b) { b.Compression = 2; })), kNotValid);  // 4-bit codes, 8 bits
  EXPECT_EQ(LoadError(with([](BmpBuilder& b) { b.Compression = 4; })), kNotValid);  // JPEG
  EXPECT_EQ(LoadError(with([](BmpBuilder& b) { b.Width = 0; })), kNotValid);
  EXPECT_EQ(LoadError(with([](BmpBuilder& b) { b.Height = 0; })), kNotValid);
  EXPECT_EQ(LoadError(with([](BmpBuilder& b) { b.Pixels.pop_back(); })), kNotValid);
  EXPECT_EQ(LoadError(with([](BmpBuilder& b) { b.PixelOffset = 5000; })), kNotValid);
  EXPECT_EQ(LoadError(with([](BmpBuilder& b) { b.Height = 1 << 20; })), kNotValid);  // rows the file lacks
  EXPECT_EQ(LoadError(with([](BmpBuilder& b) {
              b.Width = 1 << 30;  // a run-length picture may claim any size: the cap stops it
              b.Compression = 1;
              b.Pixels = {0, 1};
            })),
            "Bitmap image is too large");
  EXPECT_EQ(LoadError(Bytes{'B', 'M'}), kNotValid);

  Bitmap bitmap(2, 2, PixelFormat::Bit24);
  bitmap.SetPixelColor(1, 1, 0x123456);
  EXPECT_THROW(bitmap.LoadFromMemory(with([](BmpBuilder& b) { b.Pixels.resize(4); })), EInvalidGraphic);
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_EQ(bitmap.PixelColor(1, 1), 0x123456);
}

// Every prefix and every single-bit flip of a few pictures: a picture that
// loads, or the bitmap's own error, never anything else.
TEST(BitmapLoad, MutatedFilesLoadOrFailCleanly) {
  BmpBuilder rle = EightBit();
  rle.Compression = 1;
  rle.Pixels = {3, 1, 0, 0, 0, 3, 2, 3, 4, 0, 0, 1};
  BmpBuilder core;
  core.HeaderSize = 12;
  core.Width = 5;
  core.Height = 2;
  core.BitCount = 4;
  core.Colors = test::GreyColors(16);
  core.Pixels = PadRows({{0x12, 0x34, 0x50}, {0x67, 0x89, 0xA0}});
  BmpBuilder fields;
  fields.Width = 2;
  fields.Height = -1;
  fields.BitCount = 16;
  fields.Compression = 3;
  fields.Masks = {0xF000, 0x0F00, 0x00F0};
  fields.Pixels = {1, 2, 3, 4};
  // Each picture with the length below which no prefix may load: plain
  // pixels must all be there, run-length codes may simply stop.
  const std::pair<Bytes, std::size_t> cases[] = {{EightBit().Build(), EightBit().Build().size()},
                                                 {rle.Build(), rle.Build().size() - rle.Pixels.size()},
                                                 {core.Build(), core.Build().size()},
                                                 {fields.Build(), fields.Build().size()}};
  for (const auto& [file, mustHold] : cases) {
    auto tryLoad = [](const Bytes& candidate) {
      Bitmap bitmap;
      try {
        bitmap.LoadFromMemory(candidate);
        return true;
      } catch (const EInvalidGraphic&) {
        return false;
      }
    };
    ASSERT_TRUE(tryLoad(file));
    for (std::size_t length = 0; length < file.size(); ++length) {
      bool loaded = tryLoad(Bytes(file.begin(), file.begin() + length));
      EXPECT_TRUE(length >= mustHold || !loaded) << length;
    }
    for (std::size_t at = 0; at < file.size(); ++at) {
      for (int bit = 0; bit < 8; ++bit) {
        Bytes mutated = file;
        mutated[at] ^= static_cast<std::uint8_t>(1 << bit);
        tryLoad(mutated);
      }
    }
  }
}

TEST(BitmapLoad, FilesAreReadWholeAndTheBitmapIsRegisteredForBmp) {
  Bitmap bitmap;
  EXPECT_THROW(bitmap.LoadFromFile("/nonexistent/quorvex/none.bmp"), EFOpenError);
  ASSERT_TRUE(FindPictureFormat("BMP").has_value());
  EXPECT_EQ(FindPictureFormat("bmp")->ClassName, "TBitmap");
  EXPECT_NE(dynamic_cast<Bitmap*>(CreateGraphicForFile("x\\Logo.Bmp").get()), nullptr);
}

}  // namespace
}  // namespace quorvex
