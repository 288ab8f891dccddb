#include "app/ToolImages.h"

#include <gtest/gtest.h>

#include "app/gui/QtPrinting.h"

#include <QColor>
#include <QImage>

#include <set>

namespace quorvex {
namespace {

TEST(ToolImages, ChoiceFollowsTheDisplayDepth) {
  EXPECT_FALSE(UsesSmoothImages(4));
  EXPECT_FALSE(UsesSmoothImages(16));
  EXPECT_TRUE(UsesSmoothImages(24));
  EXPECT_TRUE(UsesSmoothImages(32));
}

// The classic set must show on a sixteen-colour display: only those colours,
// each pixel either opaque or transparent. The smooth set blends its edges.
TEST(ToolImages, ClassicSetHasSixteenColoursAndHardEdges) {
  const std::set<QRgb> vga = {
      qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0), qRgb(0, 0, 128),   qRgb(128, 0, 128),
      qRgb(0, 128, 128),   qRgb(192, 192, 192), qRgb(128, 128, 128), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0),
      qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
  for (const QPixmap& picture : ClassicImages()) {
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        QRgb pixel = image.pixel(x, y);
        if (qAlpha(pixel) == 0) continue;
        ASSERT_EQ(qAlpha(pixel), 255) << x << "," << y;
        ASSERT_TRUE(vga.count(pixel | 0xFF000000u)) << std::hex << pixel << " at " << std::dec << x << "," << y;
        ++opaque;
      }
    }
    EXPECT_GT(opaque, 40);
  }
  int blended = 0;
  for (const QPixmap& picture : SmoothImages()) {
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        int alpha = qAlpha(image.pixel(x, y));
        if (alpha > 0 && alpha < 255) ++blended;
      }
    }
  }
  EXPECT_GT(blended, 0);
}

}  // namespace
}  // namespace quorvex
