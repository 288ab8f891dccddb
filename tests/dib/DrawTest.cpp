// TVxDIB.Draw and TVxDIBCanvas: plain stretching, the halftone drawing path,
// and a canvas that writes straight into a DIB's pixels.

#include <gtest/gtest.h>

#include "dib/VxDIB.h"
#include "dib/VxDIBCanvas.h"
#include "support/DibProbe.h"
#include "support/ErrorMessage.h"

namespace quorvex {
namespace {

using test::ErrorMessage;

Color HalftoneColor(int index) {
  const PaletteEntry& e = HalftonePalette()[index];
  return RgbColor(e.Red, e.Green, e.Blue);
}

std::unique_ptr<TVxDIB> MidGrey(int bits, int width, int height) {
  if (bits == 24) return test::LoadDib(test::BmpOf(24, width, height, {}, std::vector<std::uint32_t>(width * height, 0x808080)));
  return test::LoadDib(test::BmpOf(bits, width, height, {{0, 0, 0}, {128, 128, 128}},
                                   std::vector<std::uint32_t>(width * height, 1)));
}

TEST(Draw, PlainModeStretchesThePicture) {
  auto dib = test::LoadDib(test::BmpOf(8, 2, 1, {{10, 0, 0}, {0, 20, 0}}, {0, 1}));
  Bitmap bitmap(4, 2, PixelFormat::Bit24);
  BitmapCanvas canvas(bitmap);
  dib->Draw(canvas, {0, 0, 4, 2});
  EXPECT_EQ(bitmap.PixelColor(1, 1), RgbColor(10, 0, 0));
  EXPECT_EQ(bitmap.PixelColor(2, 0), RgbColor(0, 20, 0));
}

TEST(Draw, ColourHalftoneDrawsTheDiffusedPicture) {
  auto dib = MidGrey(24, 4, 2);
  dib->SetHalftoneMode(1);
  Bitmap bitmap(4, 2, PixelFormat::Bit24);
  BitmapCanvas canvas(bitmap);
  dib->Draw(canvas, {0, 0, 4, 2});
  EXPECT_EQ(dib->HalftoneMode(), 1);
  // The bottom row is diffused first: 122 = (153, 128, 128), then 87 = (102, 128, 128).
  EXPECT_EQ(bitmap.PixelColor(0, 1), HalftoneColor(122));
  EXPECT_EQ(bitmap.PixelColor(1, 1), HalftoneColor(87));
  EXPECT_EQ(bitmap.PixelColor(0, 0), HalftoneColor(87));
  EXPECT_EQ(test::ColorOf(*dib, 0, 0), RgbColor(128, 128, 128));  // the DIB itself is untouched
}

TEST(Draw, HalftonesWorkOnTheStretchedPictureInItsOwnColours) {
  // A 1 x 1 grey picture drawn into 4 x 1: the four stretched pixels are diffused together.
  auto dib = MidGrey(8, 1, 1);
  dib->SetHalftoneMode(2);
  Bitmap bitmap(4, 1, PixelFormat::Bit24);
  BitmapCanvas canvas(bitmap);
  dib->Draw(canvas, {0, 0, 4, 1});
  const Color white = RgbColor(255, 255, 255);
  EXPECT_EQ(bitmap.PixelColor(0, 0), white);
  EXPECT_EQ(bitmap.PixelColor(1, 0), 0);
  EXPECT_EQ(bitmap.PixelColor(2, 0), white);
  EXPECT_EQ(bitmap.PixelColor(3, 0), 0);

  auto four = MidGrey(4, 3, 1);
  four->SetHalftoneMode(1);
  four->Draw(canvas, {0, 0, 4, 1});
  EXPECT_EQ(bitmap.PixelColor(0, 0), HalftoneColor(122));
}

TEST(Draw, OtherModesAndEmptyRectanglesDrawNothing) {
  auto dib = MidGrey(24, 2, 2);
  Bitmap bitmap(2, 2, PixelFormat::Bit24);
  BitmapCanvas canvas(bitmap);
  dib->SetHalftoneMode(3);
  dib->Draw(canvas, {0, 0, 2, 2});
  dib->SetHalftoneMode(1);
  dib->Draw(canvas, {0, 0, 0, 2});
  EXPECT_EQ(bitmap.PixelColor(0, 0), 0);

  // The temporary picture needs a mapping for its canvas; the mode comes back on failure too.
  SetDefaultUseFMO(false);
  EXPECT_EQ(ErrorMessage<EVxDIBCanvasFailed>([&] { dib->Draw(canvas, {0, 0, 2, 2}); }),
            "TVxDIBCanvas.Create: Cannot Create Canvas");
  SetDefaultUseFMO(true);
  EXPECT_EQ(dib->HalftoneMode(), 1);
}

TEST(DIBCanvas, WritesStraightIntoThePixels) {
  auto dib = test::LoadDib(test::BmpOf(4, 3, 2, {{0, 0, 0}, {250, 0, 0}, {0, 0, 250}}, {0, 0, 0, 0, 0, 0}));
  TVxDIB shared;
  shared.Assign(dib.get());
  int changes = 0;
  dib->SetOnChange([&](Graphic&) { ++changes; });
  {
    TVxDIBCanvas canvas(dib.get());
    EXPECT_NE(&dib->InternalDIB(), &shared.InternalDIB());  // made unique first
    EXPECT_EQ(canvas.SurfaceWidth(), 3);
    EXPECT_EQ(canvas.SurfaceHeight(), 2);
    canvas.FillRect({1, 0, 3, 1}, RgbColor(255, 0, 0));
    canvas.SetPixel(0, 1, RgbColor(0, 0, 200));
    EXPECT_EQ(test::IndexOf(*dib, 1, 0), 1);  // visible at once through the DIB's own view
    EXPECT_EQ(test::IndexOf(*dib, 2, 0), 1);
    EXPECT_EQ(test::IndexOf(*dib, 0, 1), 2);
    EXPECT_EQ(changes, 0);
  }
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(test::IndexOf(shared, 1, 0), 0);

  TVxDIB truecolour;
  truecolour.SetBitCount(24);
  truecolour.SetHeight(-2);
  {
    TVxDIBCanvas canvas(&truecolour);
    canvas.SetPixel(0, 0, RgbColor(1, 2, 3));
  }
  EXPECT_EQ(test::ColorOf(truecolour, 0, 0), RgbColor(1, 2, 3));
}

TEST(DIBCanvas, NeedsAPlainDibInAMapping) {
  EXPECT_EQ(ErrorMessage<EVxDIBCanvasFailed>([] { TVxDIBCanvas canvas(nullptr); }),
            "TVxDIBCanvas.Create: Cannot Create Canvas");
  SetDefaultUseFMO(false);
  TVxDIB heap;
  SetDefaultUseFMO(true);
  EXPECT_EQ(ErrorMessage<EVxDIBCanvasFailed>([&] { TVxDIBCanvas canvas(&heap); }),
            "TVxDIBCanvas.Create: Cannot Create Canvas");
  test::BmpBuilder rle;
  rle.Width = 2;
  rle.Compression = 1;
  rle.Colors = test::GreyColors(256);
  rle.Pixels = {0x02, 0x01, 0x00, 0x01};
  auto encoded = test::LoadDib(rle.Build());
  EXPECT_EQ(ErrorMessage<EOutOfResources>([&] { TVxDIBCanvas canvas(encoded.get()); }),
            "TVxDIBCanvas.Create: Cannot Create Memory DC");
}

}  // namespace
}  // namespace quorvex
