#include <gtest/gtest.h>

#include "platform/Canvas.h"
#include "metafile/Metafile.h"
#include "support/BmpBuilder.h"
#include "support/EmfBuilder.h"
#include "support/MetafileProbe.h"

namespace quorvex {
namespace {

using test::Bytes;
using test::EmfBuilder;

constexpr std::uint32_t kNullPen = 0x80000008;

int U16At(const Bytes& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }

std::string Refusal(const Bytes& emf) {
  try {
    EnhancedToPlaceableMetafile(emf);
  } catch (const EInvalidGraphic& e) {
    return e.Message();
  }
  return "accepted";
}

// 25.4 x 12.7 mm on a reference device of 96 pixels per inch: 96 x 48 pixels.
TEST(EmfToWmf, RectanglePolygonAndTextPlayAtTheFramesSize) {
  EmfBuilder emf;
  emf.SelectObject(kNullPen);
  emf.CreateBrush(1, 0, 0x0000FF).SelectObject(1);
  emf.Rectangle(10, 10, 40, 30);
  emf.CreateBrush(2, 0, 0xFF0000).SelectObject(2);
  emf.Polygon({50, 10, 90, 10, 90, 20, 50, 20});
  emf.CreateFont(3, -16, 128, u"ＭＳ ゴシック").SelectObject(3);
  emf.Record(18, {1});  // transparent background
  emf.TextOut(50, 26, u"日本語");
  const Bytes wmf = EnhancedToPlaceableMetafile(emf.Build(0, 0, 2540, 1270));

  ASSERT_GE(wmf.size(), 40u);
  EXPECT_EQ(wmf[0] | (wmf[1] << 8) | (wmf[2] << 16) | (std::uint32_t{wmf[3]} << 24), kPlaceableKey);
  EXPECT_EQ(U16At(wmf, 6), 0);    // left
  EXPECT_EQ(U16At(wmf, 8), 0);    // top
  EXPECT_EQ(U16At(wmf, 10), 96);  // right
  EXPECT_EQ(U16At(wmf, 12), 48);  // bottom
  EXPECT_EQ(U16At(wmf, 14), 96);  // units per inch
  Metafile metafile(wmf);
  ASSERT_EQ(metafile.Width(), 96);
  ASSERT_EQ(metafile.Height(), 48);

  const auto bitmap = test::PlayOnWhite(wmf);
  // Without a pen the rectangle covers 10..38 x 10..28, as GDI fills it.
  EXPECT_EQ(bitmap->PixelColor(10, 10), RgbColor(255, 0, 0));
  EXPECT_EQ(bitmap->PixelColor(38, 28), RgbColor(255, 0, 0));
  EXPECT_EQ(bitmap->PixelColor(39, 28), RgbColor(255, 255, 255));
  EXPECT_EQ(bitmap->PixelColor(9, 10), RgbColor(255, 255, 255));
  EXPECT_EQ(test::InkPixels(*bitmap, 10, 10, 39, 29), 29 * 19);
  // The polygon fills 50..89 x 10..19 by pixel centres.
  EXPECT_EQ(bitmap->PixelColor(50, 10), RgbColor(0, 0, 255));
  EXPECT_EQ(bitmap->PixelColor(89, 19), RgbColor(0, 0, 255));
  EXPECT_EQ(bitmap->PixelColor(90, 19), RgbColor(255, 255, 255));
  EXPECT_EQ(test::InkPixels(*bitmap, 50, 10, 96, 20), 40 * 10);
  // The text lies below the polygon.
  EXPECT_GT(test::InkPixels(*bitmap, 50, 26, 96, 48), 60);
  EXPECT_EQ(test::InkPixels(*bitmap, 0, 30, 49, 48), 0);
}

TEST(EmfToWmf, TextAdvancesCarryOverForDoubleByteCharacters) {
  auto play = [](const std::vector<int>& dx) {
    EmfBuilder emf;
    emf.CreateFont(1, -16, 128, u"ＭＳ ゴシック").SelectObject(1).Record(18, {1});
    emf.TextOut(2, 2, u"日本", dx);
    return test::PlayOnWhite(EnhancedToPlaceableMetafile(emf.Build(0, 0, 2540, 1270)));
  };
  auto spread = [](const Bitmap& b) {
    int left = 1000, right = -1;
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) {
        if (b.PixelColor(x, y) != RgbColor(255, 255, 255)) left = std::min(left, x), right = std::max(right, x);
      }
    }
    return right - left;
  };
  EXPECT_LT(spread(*play({})), 34);
  EXPECT_GT(spread(*play({40, 40})), 50);  // the second character starts 40 pixels on
}

TEST(EmfToWmf, PageAndWorldTransformsAreTakenIntoTheCoordinates) {
  EmfBuilder emf;
  emf.SelectObject(kNullPen);
  emf.CreateBrush(1, 0, 0x000000).SelectObject(1);
  emf.Record(17, {8});              // MM_ANISOTROPIC
  emf.Record(9, {100, 100});        // window extent
  emf.Record(11, {480, 240});       // viewport extent: 4.8 x 2.4 device pixels per unit
  emf.Rectangle(0, 0, 50, 50);      // device 0..240 x 0..120
  // The frame is the whole reference device, 254 x 127 mm at 96 pixels per
  // inch: one output pixel per device pixel.
  const Bytes small = EnhancedToPlaceableMetafile(emf.Build(0, 0, 25400, 12700, 960, 480, 254, 127));
  Metafile metafile(small);
  EXPECT_EQ(metafile.Width(), 960);
  EXPECT_EQ(metafile.Height(), 480);
  const auto bitmap = test::PlayOnWhite(small);
  EXPECT_EQ(bitmap->PixelColor(238, 118), RgbColor(0, 0, 0));
  EXPECT_EQ(bitmap->PixelColor(239, 118), RgbColor(255, 255, 255));
  EXPECT_EQ(bitmap->PixelColor(238, 119), RgbColor(255, 255, 255));

  EmfBuilder turned;
  turned.SelectObject(kNullPen);
  turned.CreateBrush(1, 0, 0x000000).SelectObject(1);
  // Shifted by 20, 10 through the world transform (floats 1, 0, 0, 1, 20, 10).
  turned.Record(35, {0x3F800000, 0, 0, 0x3F800000, 0x41A00000, 0x41200000});
  turned.Rectangle(0, 0, 10, 10);
  const auto shifted = test::PlayOnWhite(EnhancedToPlaceableMetafile(turned.Build(0, 0, 2540, 1270)));
  EXPECT_EQ(shifted->PixelColor(20, 10), RgbColor(0, 0, 0));
  EXPECT_EQ(shifted->PixelColor(19, 10), RgbColor(255, 255, 255));
  EXPECT_EQ(test::InkPixels(*shifted, 0, 0, 96, 48), 9 * 9);
}

TEST(EmfToWmf, PathsAreFilledAsPolygons) {
  EmfBuilder emf;
  emf.CreateBrush(1, 0, 0x00FF00).SelectObject(1);
  emf.Record(59, {});                 // begin path
  emf.Record(27, {10, 10});           // move to
  emf.Record(54, {30, 10});           // line to
  emf.Record(54, {30, 30});
  emf.Record(54, {10, 30});
  emf.Record(61, {});                 // close figure
  emf.Record(60, {});                 // end path
  emf.Record(62, {0, 0, 0, 0});       // fill path (bounds)
  const auto bitmap = test::PlayOnWhite(EnhancedToPlaceableMetafile(emf.Build(0, 0, 2540, 1270)));
  EXPECT_EQ(test::InkPixels(*bitmap, 0, 0, 96, 48), 20 * 20);  // filled, no outline
  EXPECT_EQ(bitmap->PixelColor(10, 10), RgbColor(0, 255, 0));
  EXPECT_EQ(bitmap->PixelColor(29, 29), RgbColor(0, 255, 0));
}

// 2 x 2 pixels, 24 bits, stored bottom row first: blue white on top, red green below.
Bytes TwoByTwoDib() {
  test::BmpBuilder bmp;
  bmp.Width = 2;
  bmp.Height = 2;
  bmp.BitCount = 24;
  bmp.Pixels = test::PadRows({{0, 0, 255, 0, 255, 0}, {255, 0, 0, 255, 255, 255}});
  const Bytes file = bmp.Build();
  return Bytes(file.begin() + 14, file.end());
}

Bytes Values(std::initializer_list<std::int64_t> values) {
  Bytes out;
  for (std::int64_t v : values) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i)));
  }
  return out;
}

// EMR_STRETCHDIBITS: source rectangles of a bottom-up DIB count from its bottom row.
Bytes StretchDiBits(int x, int y, int w, int h, int xSrc, int ySrc, int cxSrc, int cySrc) {
  const Bytes dib = TwoByTwoDib();
  Bytes body = Values({0, 0, 0, 0, x, y, xSrc, ySrc, cxSrc, cySrc, 80, 40, 120, std::int64_t(dib.size()) - 40, 0,
                       0x00CC0020, w, h});
  body.insert(body.end(), dib.begin(), dib.end());
  return body;
}

// EMR_STRETCHBLT: the source is a device bitmap, whose rows count from the top.
Bytes StretchBlt(int x, int y, int w, int h, int xSrc, int ySrc, int cxSrc, int cySrc) {
  const Bytes dib = TwoByTwoDib();
  Bytes body = Values({0, 0, 0, 0, x, y, w, h, 0x00CC0020, xSrc, ySrc, 0x3F800000, 0, 0, 0x3F800000, 0, 0, 0, 0,
                       108, 40, 148, std::int64_t(dib.size()) - 40, cxSrc, cySrc});
  body.insert(body.end(), dib.begin(), dib.end());
  return body;
}

TEST(EmfToWmf, BitmapsKeepTheirSourceRectangles) {
  EmfBuilder emf;
  emf.RecordBytes(81, StretchDiBits(0, 0, 4, 4, 0, 0, 2, 2));
  emf.RecordBytes(81, StretchDiBits(6, 0, 2, 2, 0, 0, 1, 1));  // the bottom-left pixel: red
  emf.RecordBytes(77, StretchBlt(10, 0, 2, 2, 0, 0, 1, 1));    // the top-left pixel: blue
  const auto bitmap = test::PlayOnWhite(EnhancedToPlaceableMetafile(emf.Build(0, 0, 318, 106)));  // 12 x 4
  EXPECT_EQ(test::Picture(*bitmap),
            "bb....rr..bb\n"
            "bb....rr..bb\n"
            "rrgg........\n"
            "rrgg........\n");
}

TEST(EmfToWmf, AnObjectDeletedWhileSelectedStaysInUse) {
  EmfBuilder emf;
  emf.CreatePen(1, 0, 0, 0x0000FF).SelectObject(1).Record(40, {1});  // red pen, deleted while selected
  emf.SelectObject(0x80000005);                                       // null brush
  emf.Record(59, {}).Record(27, {0, 0}).Record(54, {2, 0}).Record(54, {2, 2}).Record(60, {});
  emf.Record(62, {0, 0, 0, 0});  // a path fill draws without the pen...
  emf.Rectangle(4, 0, 8, 4);     // ...and the rectangle after it with it
  const auto bitmap = test::PlayOnWhite(EnhancedToPlaceableMetafile(emf.Build(0, 0, 318, 106)));
  EXPECT_EQ(bitmap->PixelColor(4, 0), RgbColor(255, 0, 0));
  EXPECT_EQ(bitmap->PixelColor(7, 3), RgbColor(255, 0, 0));
  EXPECT_EQ(bitmap->PixelColor(5, 1), RgbColor(255, 255, 255));
}

TEST(EmfToWmf, MalformedFilesAreRefused) {
  EmfBuilder emf;
  emf.Rectangle(0, 0, 10, 10);
  const Bytes good = emf.Build(0, 0, 2540, 1270);
  EXPECT_EQ(Refusal(good), "accepted");
  EXPECT_EQ(Refusal({}), "Metafile is not valid");
  Bytes signature = good;
  signature[40] = 'X';
  EXPECT_EQ(Refusal(signature), "Metafile is not valid");
  Bytes type = good;
  type[0] = 2;
  EXPECT_EQ(Refusal(type), "Metafile is not valid");
  Bytes recordSize = good;
  recordSize[88 + 4] = 0xF0;  // the rectangle claims more than the file holds
  EXPECT_EQ(Refusal(recordSize), "Metafile is not valid");
  Bytes odd = good;
  odd[88 + 4] = 7;  // below the smallest record
  EXPECT_EQ(Refusal(odd), "Metafile is not valid");
  EXPECT_EQ(Refusal(Bytes(good.begin(), good.end() - 3)), "Metafile is not valid");
}

}  // namespace
}  // namespace quorvex
