#include "app/Label3D.h"

#include <gtest/gtest.h>

#include "app/gui/QtPrinting.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace quorvex {
namespace {

const QColor kBackground(0, 0, 255);
const QColor kText(255, 0, 0);
const QColor kShade(0, 255, 0);

QFont SharpFont() {
  QFont font = TLabel3D().Font();
  font.setPixelSize(20);
  font.setBold(true);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

// Without antialiasing every pixel is background, text or shade.
QImage Draw(const QColor& shade) {
  TLabel3D label;
  label.resize(120, 40);
  label.SetFont(SharpFont());
  label.SetColor(kBackground);
  label.SetFontColor(kText);
  label.SetShadeColor(shade);
  label.SetCaption("Quorvex");
  return label.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(Label3D, NewLabel) {
  TLabel3D label;
  EXPECT_EQ(label.size(), QSize(96, 24));
  EXPECT_EQ(label.Caption(), "");
  EXPECT_EQ(label.FontColor(), QColor(Qt::white));
  EXPECT_EQ(label.ShadeColor(), QColor(Qt::black));
}

TEST(Label3D, ShadeLiesTwoPixelsRightAndBelowTheText) {
  const QImage textOnly = Draw(kBackground);  // a shade in the background colour is invisible
  const QImage shaded = Draw(kShade);
  ASSERT_EQ(textOnly.size(), shaded.size());

  // Expected: the text's pixels moved by (2, 2) in the shade colour, the text
  // itself on top.
  QImage expected(textOnly.size(), QImage::Format_RGB32);
  expected.fill(kBackground);
  int textPixels = 0;
  for (int y = 0; y < textOnly.height(); ++y) {
    for (int x = 0; x < textOnly.width(); ++x) {
      QRgb pixel = textOnly.pixel(x, y);
      if (pixel == kText.rgb()) {
        ++textPixels;
        if (x + 2 < expected.width() && y + 2 < expected.height()) expected.setPixel(x + 2, y + 2, kShade.rgb());
      } else {
        ASSERT_EQ(pixel, kBackground.rgb()) << x << "," << y;
      }
    }
  }
  ASSERT_GT(textPixels, 50);

  // The text itself sits 2 pixels inside the control's top-left corner.
  QImage plain(textOnly.size(), QImage::Format_RGB32);
  plain.fill(kBackground);
  {
    QPainter painter(&plain);
    painter.setFont(SharpFont());
    painter.setPen(kText);
    painter.drawText(QRect(2, 2, plain.width() - 4, plain.height() - 4),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs, "Quorvex");
  }
  EXPECT_TRUE(plain == textOnly);
  for (int y = 0; y < textOnly.height(); ++y) {
    for (int x = 0; x < textOnly.width(); ++x) {
      if (textOnly.pixel(x, y) == kText.rgb()) expected.setPixel(x, y, kText.rgb());
    }
  }
  int differences = 0;
  for (int y = 0; y < expected.height(); ++y) {
    for (int x = 0; x < expected.width(); ++x) {
      if (shaded.pixel(x, y) != expected.pixel(x, y)) ++differences;
    }
  }
  EXPECT_EQ(differences, 0);
}

TEST(Label3D, ClickNeedsPressAndReleaseOverTheLabel) {
  TLabel3D label;
  label.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
  QSignalSpy clicks(&label, &TLabel3D::Click);
  QTest::mouseClick(&label, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
  QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(200, 5));
  EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
}  // namespace quorvex
