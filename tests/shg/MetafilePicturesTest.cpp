#include <gtest/gtest.h>

#include <memory>

#include "platform/Canvas.h"
#include "shg/RunLen.h"
#include "shg/shg.h"
#include "support/EmfBuilder.h"
#include "support/ErrorMessage.h"
#include "support/ShgBuilder.h"
#include "support/TempDir.h"
#include "support/WmfBuilder.h"

namespace quorvex {
namespace {

using test::Bytes;

class MetafilePicturesTest : public ::testing::Test {
 protected:
  std::unique_ptr<Bitmap> Render(const Bytes& bytes, const std::string& name) {
    dir_.Write(name, std::string(bytes.begin(), bytes.end()));
    TShg shg;
    shg.LoadFromFile(dir_.Engine() + name);
    auto bitmap = std::make_unique<Bitmap>(2, 2, PixelFormat::Bit8);  // replaced whole by the rendering
    shg.RenderToBitmap(*bitmap);
    return bitmap;
  }
  test::TempDir dir_;
};

// A red rectangle with a black frame at 1, 1 - 7, 5 of an 8 x 6 picture.
test::WmfBuilder FramedRectangle() {
  test::WmfBuilder b;
  b.CreatePen(0, 0, 0x000000).SelectObject(0).CreateBrush(0, 0x0000FF).SelectObject(1);
  b.Rectangle(1, 1, 7, 5);
  return b;
}

std::string Picture(const Bitmap& bitmap) {
  std::string out;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const Color c = bitmap.PixelColor(x, y);
      out += c == RgbColor(255, 255, 255) ? '.' : c == RgbColor(0, 0, 0) ? '#' : c == RgbColor(255, 0, 0) ? 'r' : '?';
    }
    out += '\n';
  }
  return out;
}

constexpr char kFramedRectangle[] =
    "........\n"
    ".######.\n"
    ".#rrrr#.\n"
    ".#rrrr#.\n"
    ".######.\n"
    "........\n";

TEST_F(MetafilePicturesTest, HeldMetafilesArePlayedOntoAWhiteBitmapOfTheirSize) {
  test::ShgBuilder shg;
  shg.PictureType = 8;
  shg.Packing = 1;
  shg.MetricWidth = 212;  // 8 pixels
  shg.MetricHeight = 159;  // 6 pixels
  shg.Data = PackRunLen(FramedRectangle().Records());
  const auto fromShg = Render(shg.Build(), "pic.shg");
  EXPECT_EQ(fromShg->Format(), PixelFormat::Bit24);
  EXPECT_EQ(Picture(*fromShg), kFramedRectangle);

  // A placeable file of 1440 units per inch is held at 96 pixels per inch.
  const auto fromWmf = Render(FramedRectangle().Placeable(0, 0, 120, 90, 1440), "pic.wmf");
  EXPECT_EQ(Picture(*fromWmf), kFramedRectangle);
}

TEST_F(MetafilePicturesTest, SidesBeyondTheBoundingBoxAndBrokenRecordsAreRefused) {
  auto message = [&](const Bytes& bytes, const std::string& name) {
    return test::ErrorMessage<EInvalidGraphic>([&] { Render(bytes, name); });
  };
  // 30000 units of 1 per inch: millions of pixels, more than a placeable box holds.
  EXPECT_EQ(message(FramedRectangle().Placeable(0, 0, 30000, 10, 1), "big.wmf"), "Metafile picture is too large");
  test::ShgBuilder shg;
  shg.PictureType = 8;
  shg.Data = {1, 2, 3, 4};
  EXPECT_EQ(message(shg.Build(), "junk.shg"), "Metafile is not valid");
}

TEST_F(MetafilePicturesTest, EnhancedMetafilesAreHeldAsPlaceableOnesAtNinetySixPerInch) {
  test::EmfBuilder emf;
  emf.CreatePen(1, 5, 0, 0).SelectObject(1).CreateBrush(2, 0, 0x0000FF).SelectObject(2);
  emf.Rectangle(10, 10, 70, 50);
  const Bytes file = emf.Build(0, 0, 2117, 1588);  // 80 x 60 pixels on a 96 per inch device
  dir_.Write("Chart.EMF", std::string(file.begin(), file.end()));
  TShg shg;
  shg.LoadFromFile(dir_.Engine() + "Chart.EMF");
  EXPECT_EQ(shg.BitmapHeader.PictureType, 8);
  EXPECT_EQ(shg.MetafileHeader.MetaWidth, 80u);
  EXPECT_EQ(shg.MetafileHeader.MetaHeight, 60u);
  Bitmap bitmap;
  shg.RenderToBitmap(bitmap);
  EXPECT_EQ(bitmap.Width(), 80);
  EXPECT_EQ(bitmap.PixelColor(2, 2), RgbColor(255, 255, 255));
  EXPECT_EQ(bitmap.PixelColor(40, 30), RgbColor(255, 0, 0));

  EXPECT_THROW(Render({1, 0, 0, 0}, "broken.emf"), EInvalidGraphic);
}

}  // namespace
}  // namespace quorvex
