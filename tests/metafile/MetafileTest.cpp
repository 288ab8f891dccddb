#include "metafile/Metafile.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "platform/Canvas.h"
#include "support/MetafileProbe.h"
#include "support/WmfBuilder.h"

namespace quorvex {
namespace {

using test::Bytes;
using test::WmfBuilder;

constexpr Color kWhiteColor = RgbColor(255, 255, 255);
constexpr Color kBlackColor = RgbColor(0, 0, 0);
constexpr Color kBlueColor = RgbColor(0, 0, 255);

std::unique_ptr<Bitmap> Play(const Bytes& placeable) { return test::PlayOnWhite(placeable); }
std::string Picture(const std::unique_ptr<Bitmap>& bitmap) { return test::Picture(*bitmap); }
using test::WhiteBitmap;

TEST(MulDiv, RoundsHalvesAwayFromZeroWithEverySign) {
  EXPECT_EQ(MulDiv(10, 3, 4), 8);    // 7.5
  EXPECT_EQ(MulDiv(-10, 3, 4), -8);  // -7.5
  EXPECT_EQ(MulDiv(10, -3, 4), -8);
  EXPECT_EQ(MulDiv(10, 3, -4), -8);
  EXPECT_EQ(MulDiv(-10, -3, -4), -8);
  EXPECT_EQ(MulDiv(-10, -3, 4), 8);
  EXPECT_EQ(MulDiv(7, 1, 3), 2);     // 2.33
  EXPECT_EQ(MulDiv(8, 1, 3), 3);     // 2.67
  EXPECT_EQ(MulDiv(-8, 1, 3), -3);
  EXPECT_EQ(MulDiv(1270, 96, 2540), 48);
  EXPECT_EQ(MulDiv(2540, 96, 2540), 96);
  EXPECT_EQ(MulDiv(0, 5, 7), 0);
}

TEST(MulDiv, UsesA64BitProductAndGivesMinusOneForZeroDivisorOrOverflow) {
  EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
  EXPECT_EQ(MulDiv(INT_MIN, 2, 2), INT_MIN);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
}

TEST(Metafile, RefusesAWrongPlaceableOrMetafileHeader) {
  const Bytes good = WmfBuilder().Placeable(0, 0, 10, 10, 96);
  EXPECT_NO_THROW(Metafile{good});
  auto refused = [](Bytes bytes) {
    try {
      Metafile m(std::move(bytes));
    } catch (const EInvalidGraphic& e) {
      return std::string(e.Message());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(refused({}), "Metafile is not valid");
  EXPECT_EQ(refused(Bytes(good.begin(), good.begin() + 39)), "Metafile is not valid");
  Bytes key = good;
  key[0] ^= 1;
  EXPECT_EQ(refused(key), "Metafile is not valid");
  Bytes checksum = good;
  checksum[20] ^= 1;
  EXPECT_EQ(refused(checksum), "Metafile is not valid");
  Bytes type = good;
  type[22] = 3;
  EXPECT_EQ(refused(type), "Metafile is not valid");
  Bytes headerSize = good;
  headerSize[24] = 8;
  EXPECT_EQ(refused(headerSize), "Metafile is not valid");
}

TEST(Metafile, SizeIsTheBoxAt96PixelsPerInch) {
  Metafile inches(WmfBuilder().Placeable(100, 50, 1540, 770, 1440));
  EXPECT_EQ(inches.Width(), 96);
  EXPECT_EQ(inches.Height(), 48);
  Metafile zero(WmfBuilder().Placeable(0, 0, 30, 20, 0));  // 0 counts as 96
  EXPECT_EQ(zero.Width(), 30);
  EXPECT_EQ(zero.Height(), 20);
  Metafile odd(WmfBuilder().Placeable(0, 0, 1000, 1, 2540));  // 37.8 and 0.038
  EXPECT_EQ(odd.Width(), 38);
  EXPECT_EQ(odd.Height(), 0);
}

TEST(MetafilePlayback, RectangleLeavesOutItsRightColumnAndBottomRow) {
  WmfBuilder b;
  b.CreatePen(0, 0, 0x000000).SelectObject(0).CreateBrush(0, 0x0000FF).SelectObject(1);
  b.Rectangle(1, 1, 7, 5);
  EXPECT_EQ(Picture(Play(b.Placeable(0, 0, 8, 6, 96))),
            "........\n"
            ".######.\n"
            ".#rrrr#.\n"
            ".#rrrr#.\n"
            ".######.\n"
            "........\n");
}

TEST(MetafilePlayback, RectangleWithoutPenIsOnePixelSmaller) {
  WmfBuilder b;
  b.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(0, 0xFF0000).SelectObject(1);
  b.Rectangle(1, 1, 7, 5);
  EXPECT_EQ(Picture(Play(b.Placeable(0, 0, 8, 6, 96))),
            "........\n"
            ".bbbbb..\n"
            ".bbbbb..\n"
            ".bbbbb..\n"
            "........\n"
            "........\n");
}

TEST(MetafilePlayback, LinesLeaveOutTheirLastPixel) {
  WmfBuilder b;
  b.MoveTo(1, 0).LineTo(6, 0).MoveTo(0, 1).LineTo(4, 5).MoveTo(7, 5).LineTo(7, 2);
  EXPECT_EQ(Picture(Play(b.Placeable(0, 0, 8, 6, 96))),
            ".#####..\n"
            "#.......\n"
            ".#......\n"
            "..#....#\n"
            "...#...#\n"
            ".......#\n");
}

TEST(MetafilePlayback, PolygonFillsByPixelCentresAndOutlinesThroughItsCorners) {
  WmfBuilder filled;
  filled.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(0, 0x0000FF).SelectObject(1);
  filled.Polygon({1, 1, 6, 1, 6, 4, 1, 4});
  EXPECT_EQ(Picture(Play(filled.Placeable(0, 0, 8, 6, 96))),
            "........\n"
            ".rrrrr..\n"
            ".rrrrr..\n"
            ".rrrrr..\n"
            "........\n"
            "........\n");
  WmfBuilder outlined;
  outlined.CreateBrush(1, 0).SelectObject(0);
  outlined.Polygon({1, 1, 6, 1, 6, 4, 1, 4});
  EXPECT_EQ(Picture(Play(outlined.Placeable(0, 0, 8, 6, 96))),
            "........\n"
            ".######.\n"
            ".#....#.\n"
            ".#....#.\n"
            ".######.\n"
            "........\n");
}

TEST(MetafilePlayback, TheWindowOfTheRecordsMapsOntoThePicture) {
  // 1000 x 500 units at 1000 per inch: 96 x 48 pixels; the records' window
  // of 200 x 100 units is what fills them.
  WmfBuilder b;
  b.SetWindowOrg(100, 100).SetWindowExt(200, 100);
  b.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(0, 0xFF0000).SelectObject(1);
  b.Rectangle(100, 100, 200, 150);  // the top-left quarter: 48 x 24 pixels
  const auto picture = Play(b.Placeable(0, 0, 1000, 500, 1000));
  const Bitmap& bitmap = *picture;
  ASSERT_EQ(bitmap.Width(), 96);
  ASSERT_EQ(bitmap.Height(), 48);
  EXPECT_EQ(bitmap.PixelColor(0, 0), kBlueColor);
  EXPECT_EQ(bitmap.PixelColor(46, 22), kBlueColor);  // without a pen one pixel less
  EXPECT_EQ(bitmap.PixelColor(47, 22), kWhiteColor);
  EXPECT_EQ(bitmap.PixelColor(46, 23), kWhiteColor);
}

TEST(MetafilePlayback, WithoutWindowRecordsTheBoxMapsOntoThePictureAtItsPlace) {
  WmfBuilder b;
  b.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(0, 0xFF0000).SelectObject(1);
  b.Rectangle(1500, 750, 3000, 1500);  // the bottom-right quarter of the box
  Metafile metafile(b.Placeable(0, 0, 3000, 1500, 1500));  // 192 x 96 pixels
  auto picture = WhiteBitmap(200, 100);
  Bitmap& bitmap = *picture;
  metafile.Draw(bitmap, 4, 2);
  EXPECT_EQ(bitmap.PixelColor(4 + 96, 2 + 48), kBlueColor);
  EXPECT_EQ(bitmap.PixelColor(4 + 95, 2 + 48), kWhiteColor);
  EXPECT_EQ(bitmap.PixelColor(4 + 190, 2 + 94), kBlueColor);
  EXPECT_EQ(bitmap.PixelColor(4 + 191, 2 + 94), kWhiteColor);
}

TEST(MetafilePlayback, DrawsAsA24BitPictureOverWhatIsThere) {
  WmfBuilder b;
  b.MoveTo(0, 0).LineTo(4, 0);
  Metafile metafile(b.Placeable(0, 0, 4, 2, 96));
  Bitmap bitmap(4, 2, PixelFormat::Bit8);
  metafile.Draw(bitmap, 0, 0);
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bit24);
  EXPECT_EQ(bitmap.PixelColor(3, 0), kBlackColor);
  EXPECT_EQ(bitmap.PixelColor(3, 1), kBlackColor);  // untouched: the 8-bit picture was black
}

}  // namespace
}  // namespace quorvex
