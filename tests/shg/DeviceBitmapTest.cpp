#include <gtest/gtest.h>

#include "platform/Canvas.h"
#include "shg/RunLen.h"
#include "shg/shg.h"
#include "support/ShgBuilder.h"

namespace quorvex {
namespace {

using test::Bytes;

struct Pixel {
  int X, Y;
  Color Colour;
};

struct DeviceBitmapCase {
  const char* Name;
  std::uint16_t Planes, BitCount;
  std::uint32_t Width, Height;
  Bytes Rows;  // top row first, every plane's row padded to 16 bits
  std::vector<Pixel> Expected;
};

// Help files of Windows 3.0 keep bitmaps in the display's own form: no
// palette, rows top first, plane after plane.
TEST(DeviceBitmap, HelpPicturesOfEveryShapeRenderInTheDisplayColours) {
  const Color black = RgbColor(0, 0, 0), white = RgbColor(255, 255, 255);
  const std::vector<DeviceBitmapCase> cases = {
      {"monochrome", 1, 1, 3, 2, {0xA0, 0, 0x40, 0},
       {{0, 0, white}, {1, 0, black}, {2, 0, white}, {0, 1, black}, {1, 1, white}}},
      {"four planes", 4, 1, 2, 1, {0x80, 0, 0x40, 0, 0xC0, 0, 0, 0},
       {{0, 0, RgbColor(128, 0, 128)}, {1, 0, RgbColor(0, 128, 128)}}},
      {"four bits packed", 1, 4, 3, 1, {0x9F, 0x20}, {{0, 0, RgbColor(255, 0, 0)}, {1, 0, white}, {2, 0, RgbColor(0, 128, 0)}}},
  };
  for (const DeviceBitmapCase& c : cases) {
    for (std::uint8_t packing : {0, 1}) {
      test::ShgBuilder b;
      b.PictureType = 5;
      b.Planes = c.Planes;
      b.BitCount = c.BitCount;
      b.Width = c.Width;
      b.Height = c.Height;
      b.Packing = packing;
      b.Data = packing == 1 ? PackRunLen(c.Rows) : c.Rows;
      TShg shg;
      shg.LoadFromHelpPicture(b.Build());
      Bitmap bitmap;
      shg.RenderToBitmap(bitmap);
      ASSERT_EQ(bitmap.Width(), static_cast<int>(c.Width)) << c.Name;
      ASSERT_EQ(bitmap.Height(), static_cast<int>(c.Height)) << c.Name;
      for (const Pixel& p : c.Expected) EXPECT_EQ(bitmap.PixelColor(p.X, p.Y), p.Colour) << c.Name << " " << p.X << "," << p.Y;
    }
  }
}

TEST(DeviceBitmap, ShapesOfNoKnownLayoutAndShortDataAreRefused) {
  test::ShgBuilder b;
  b.PictureType = 5;
  b.BitCount = 8;
  b.Width = 2;
  b.Data = {1, 2};
  TShg shg;
  shg.LoadFromHelpPicture(b.Build());
  Bitmap bitmap;
  EXPECT_THROW(shg.RenderToBitmap(bitmap), EInvalidGraphic);

  b.BitCount = 1;
  b.Height = 3;  // three rows of two bytes wanted, two held
  b.Data = {0xFF, 0, 0xFF, 0};
  shg.LoadFromHelpPicture(b.Build());
  EXPECT_THROW(shg.RenderToBitmap(bitmap), EInvalidGraphic);
  shg.FillShortPixelData = true;  // as a help conversion asks: the missing row is black
  shg.RenderToBitmap(bitmap);
  EXPECT_EQ(bitmap.PixelColor(0, 1), RgbColor(255, 255, 255));
  EXPECT_EQ(bitmap.PixelColor(0, 2), RgbColor(0, 0, 0));

  b.Height = 5;  // less than half of the rows: damage, not a picture cut short
  shg.LoadFromHelpPicture(b.Build());
  EXPECT_THROW(shg.RenderToBitmap(bitmap), EInvalidGraphic);
}

}  // namespace
}  // namespace quorvex
