// Bitmaps, device-context state and the curved figures played from records.

#include <gtest/gtest.h>

#include "platform/Canvas.h"
#include "metafile/Metafile.h"
#include "support/BmpBuilder.h"
#include "support/MetafileProbe.h"
#include "support/WmfBuilder.h"

namespace quorvex {
namespace {

using test::Bytes;
using test::Picture;
using test::PlayOnWhite;
using test::WmfBuilder;

// A packed DIB (information header, colour table, rows) from the BMP builder.
Bytes PackedDib(const test::BmpBuilder& bmp) {
  const Bytes file = bmp.Build();
  return Bytes(file.begin() + 14, file.end());
}

// 2 x 2 pixels, 24 bits, bottom row first: red green / blue white on the screen reads
// blue white on top, red green below.
test::BmpBuilder TwoByTwo24() {
  test::BmpBuilder bmp;
  bmp.Width = 2;
  bmp.Height = 2;
  bmp.BitCount = 24;
  bmp.Pixels = test::PadRows({{0, 0, 255, 0, 255, 0}, {255, 0, 0, 255, 255, 255}});
  return bmp;
}

TEST(MetafileBitmaps, A24BitDibIsStretchedPixelForPixel) {
  WmfBuilder b;
  b.StretchDib(PackedDib(TwoByTwo24()), 0, 0, 4, 4, 2, 2);
  EXPECT_EQ(Picture(*PlayOnWhite(b.Placeable(0, 0, 4, 4, 96))),
            "bb..\n"
            "bb..\n"
            "rrgg\n"
            "rrgg\n");
  test::BmpBuilder topDown = TwoByTwo24();
  topDown.Height = -2;
  topDown.Pixels = test::PadRows({{255, 0, 0, 255, 255, 255}, {0, 0, 255, 0, 255, 0}});
  WmfBuilder t;
  t.StretchDib(PackedDib(topDown), 0, 0, 4, 4, 2, 2);
  EXPECT_EQ(Picture(*PlayOnWhite(t.Placeable(0, 0, 4, 4, 96))), Picture(*PlayOnWhite(b.Placeable(0, 0, 4, 4, 96))));
}

TEST(MetafileBitmaps, An8BitDibTakesItsColoursFromItsTable) {
  test::BmpBuilder bmp;
  bmp.Width = 3;
  bmp.Height = 1;
  bmp.BitCount = 8;
  bmp.ClrUsed = 3;
  bmp.Colors = {{255, 0, 0}, {0, 0, 255}, {0, 255, 0}};
  bmp.Pixels = test::PadRows({{1, 0, 2}});
  WmfBuilder b;
  b.StretchDib(PackedDib(bmp), 0, 0, 3, 1, 3, 1);
  EXPECT_EQ(Picture(*PlayOnWhite(b.Placeable(0, 0, 3, 1, 96))), "brg\n");
  // Run-length data: three pixels of index 2, end of bitmap.
  bmp.Compression = 1;
  bmp.Pixels = {3, 2, 0, 1};
  WmfBuilder rle;
  rle.StretchDib(PackedDib(bmp), 0, 0, 3, 1, 3, 1);
  EXPECT_EQ(Picture(*PlayOnWhite(rle.Placeable(0, 0, 3, 1, 96))), "ggg\n");
}

TEST(MetafileBitmaps, SourceRectangleOfABottomUpDibCountsFromItsBottomRow) {
  test::BmpBuilder bmp;  // one column: red at the bottom, then green, blue, black on top
  bmp.Width = 1;
  bmp.Height = 4;
  bmp.BitCount = 24;
  bmp.Pixels = test::PadRows({{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {0, 0, 0}});
  Bytes p;
  auto put16 = [&](int v) { p.push_back(v & 0xFF), p.push_back((v >> 8) & 0xFF); };
  put16(0x0020), put16(0x00CC);  // SRCCOPY
  put16(0);                      // RGB colours
  for (int v : {2, 1, 0, 0, 2, 1, 0, 0}) put16(v);  // source 1 x 2 at 0, 0; target 1 x 2 at 0, 0
  const Bytes dib = PackedDib(bmp);
  p.insert(p.end(), dib.begin(), dib.end());
  WmfBuilder b;
  b.RecordBytes(0x0F43, p);
  EXPECT_EQ(Picture(*PlayOnWhite(b.Placeable(0, 0, 1, 2, 96))), "g\nr\n");
}

TEST(MetafileBitmaps, PaletteIndexesAndRasterOperations) {
  test::BmpBuilder bmp;
  bmp.Width = 2;
  bmp.Height = 1;
  bmp.BitCount = 8;
  bmp.ClrUsed = 2;
  bmp.Colors = {{0, 0, 0}, {0, 0, 0}};
  bmp.Pixels = test::PadRows({{0, 1}});
  Bytes dib = PackedDib(bmp);
  // With palette colours the table holds 16-bit indexes into the selected palette.
  Bytes indexed(dib.begin(), dib.begin() + 40);
  for (int v : {1, 0}) indexed.push_back(static_cast<std::uint8_t>(v)), indexed.push_back(0);
  indexed.insert(indexed.end(), dib.begin() + 48, dib.end());
  WmfBuilder b;
  b.RecordBytes(0x00F7, {0x00, 0x03, 2, 0, 0, 0, 255, 0, 255, 0, 0, 0});  // palette: blue, red
  b.Record(0x0234, {0});                                                  // select it
  Bytes p;
  auto put16 = [&](int v) { p.push_back(v & 0xFF), p.push_back((v >> 8) & 0xFF); };
  put16(0x0020), put16(0x00CC);
  put16(1);  // palette colours
  for (int v : {1, 2, 0, 0, 1, 2, 0, 0}) put16(v);
  p.insert(p.end(), indexed.begin(), indexed.end());
  b.RecordBytes(0x0F43, p);
  EXPECT_EQ(Picture(*PlayOnWhite(b.Placeable(0, 0, 2, 1, 96))), "rb\n");

  // PatBlt: PATCOPY paints the brush, DSTINVERT inverts, BLACKNESS blacks out.
  WmfBuilder ops;
  ops.CreateBrush(0, 0x0000FF).SelectObject(0);
  ops.Record(0x061D, {0x0021, 0x00F0, 1, 4, 0, 0});  // PATCOPY over row 0
  ops.Record(0x061D, {0x0009, 0x0055, 1, 2, 0, 0});  // DSTINVERT: red -> cyan
  ops.Record(0x061D, {0x0042, 0x0000, 1, 1, 1, 3});  // BLACKNESS at 3, 1
  EXPECT_EQ(Picture(*PlayOnWhite(ops.Placeable(0, 0, 4, 2, 96))),
            "??rr\n"
            "...#\n");
}

TEST(MetafileState, RestoreDcBringsBackObjectsAndClip) {
  WmfBuilder b;
  b.CreatePen(5, 0, 0).SelectObject(0);
  b.CreateBrush(0, 0x0000FF).SelectObject(1).CreateBrush(0, 0xFF0000);
  b.SaveDC().SelectObject(2).IntersectClipRect(0, 0, 2, 2);
  b.Rectangle(0, 0, 5, 3);  // blue, clipped to 2 x 2
  b.RestoreDC(-1);
  b.Rectangle(0, 3, 5, 5);  // red again, unclipped
  EXPECT_EQ(Picture(*PlayOnWhite(b.Placeable(0, 0, 4, 4, 96))),
            "bb..\n"
            "bb..\n"
            "....\n"
            "rrrr\n");
}

TEST(MetafileState, Rop2XorTwiceRestoresAndNotInverts) {
  WmfBuilder b;
  b.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(0, 0x00FFFF).SelectObject(1);  // yellow
  b.SetRop2(7);  // R2_XORPEN: white ^ yellow = blue
  b.Rectangle(0, 0, 3, 2).Rectangle(1, 0, 4, 2);
  b.SetRop2(6).Rectangle(0, 1, 2, 3);  // R2_NOT: without a pen only the pixel 0, 1
  EXPECT_EQ(Picture(*PlayOnWhite(b.Placeable(0, 0, 4, 2, 96))),
            "b.b.\n"
            "#...\n");
}

TEST(MetafileState, IsotropicMappingKeepsTheSmallerScale) {
  WmfBuilder b;
  b.SetMapMode(7).SetWindowExt(10, 10).SetViewportExt(40, 20);  // 2 pixels per unit both ways
  b.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(0, 0xFF0000).SelectObject(1);
  b.Rectangle(0, 0, 3, 2);
  const auto bitmap = PlayOnWhite(b.Placeable(0, 0, 40, 20, 96));
  EXPECT_EQ(test::InkPixels(*bitmap, 0, 0, 40, 20), 5 * 3);
  EXPECT_EQ(bitmap->PixelColor(4, 2), RgbColor(0, 0, 255));
}

TEST(MetafileShapes, EllipseAndPieStayInsideTheirBox) {
  WmfBuilder e;
  e.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(0, 0).SelectObject(1);
  e.Ellipse(0, 0, 9, 9);  // without a pen: the box 0..8
  const std::string ellipse = Picture(*PlayOnWhite(e.Placeable(0, 0, 9, 9, 96)));
  EXPECT_EQ(ellipse.substr(4 * 10, 10), "########.\n");  // the middle row spans the box
  EXPECT_EQ(ellipse[0], '.');
  EXPECT_EQ(ellipse.substr(8 * 10), ".........\n");

  WmfBuilder pie;
  pie.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(0, 0).SelectObject(1);
  pie.Record(0x081A, {0, 10, 10, 20, 20, 20, 0, 0});  // from the right (20, 10) to the top (10, 0)
  const auto bitmap = PlayOnWhite(pie.Placeable(0, 0, 20, 20, 96));
  EXPECT_GT(test::InkPixels(*bitmap, 10, 0, 20, 10), 50);  // the upper right quarter
  EXPECT_EQ(test::InkPixels(*bitmap, 0, 0, 9, 20), 0);
  EXPECT_EQ(test::InkPixels(*bitmap, 0, 11, 20, 20), 0);
}

TEST(MetafileShapes, HatchedBrushOverATransparentBackground) {
  WmfBuilder b;
  b.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(2, 0x000000, 4).SelectObject(1);  // HS_CROSS
  b.SetBkMode(1);
  b.Rectangle(0, 0, 17, 17);
  const auto bitmap = PlayOnWhite(b.Placeable(0, 0, 16, 16, 96));
  EXPECT_EQ(test::InkPixels(*bitmap, 0, 0, 16, 16), 2 * (16 + 16) - 4);  // two lines each way
}

TEST(MetafileRecords, UnknownRecordsAreSkippedAndABrokenRecordEndsThePlayback) {
  WmfBuilder b;
  b.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(0, 0).SelectObject(1);
  b.Record(0x0F00, {1, 2, 3});  // nobody knows it
  b.Rectangle(0, 0, 3, 3);
  b.Record(0x041B, {});         // a rectangle without parameters is left out
  Bytes placeable = b.Placeable(0, 0, 4, 4, 96);
  // A record claiming more than the file holds: playback ends there.
  const Bytes broken = {0xFF, 0xFF, 0, 0, 0x1B, 0x04, 4, 0, 4, 0, 0, 0, 0, 0};
  placeable.insert(placeable.end() - 6, broken.begin(), broken.end());
  EXPECT_EQ(Picture(*PlayOnWhite(placeable)),
            "##..\n"
            "##..\n"
            "....\n"
            "....\n");
}

}  // namespace
}  // namespace quorvex
