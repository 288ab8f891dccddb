#include "app/About.h"

#include <gtest/gtest.h>

#include "app/gui/QtPrinting.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>

#include <algorithm>
#include <string>

#include "Version.h"
#include "app/Label3D.h"
#include "app/WindowFont.h"

namespace quorvex {
namespace {

TEST(AboutBox, VersionCaption) {
  EXPECT_EQ(VersionCaption(kQuorvexVersion), QString("Version ") + kQuorvexVersion);
  EXPECT_EQ(VersionCaption(""), "Version");
  EXPECT_EQ(VersionCaption(std::string_view("\0" "1.0", 4)), "Version");
  EXPECT_EQ(VersionCaption(std::string_view("1.0\0junk", 8)), "Version 1.0");
  const std::string longVersion = "1.2.3.4-abcdefghijklmnopqrstuvwxyz-0123456789";
  EXPECT_EQ(VersionCaption(longVersion), QString::fromStdString("Version " + longVersion.substr(0, 32)));
  EXPECT_EQ(VersionCaption(longVersion.substr(0, 32)), QString::fromStdString("Version " + longVersion.substr(0, 32)));
}

TEST(AboutBox, LaysOutItsLabels) {
  TAboutBox box;
  EXPECT_EQ(box.windowTitle(), QString::fromUtf8("バージョン情報"));
  // The classic 167 x 59, wider where the title needs it.
  EXPECT_EQ(box.width(), std::max(167, TitleBarWidth(box.windowTitle())));
  EXPECT_EQ(box.height(), 59);
  EXPECT_EQ(box.cursor().shape(), Qt::PointingHandCursor);
  EXPECT_FALSE(box.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(box.Label3D1->geometry(), QRect(8, 4, box.width() - 14, 21));
  EXPECT_EQ(box.Label3D1->Caption(), "Quorvex");
  EXPECT_EQ(box.Label3D1->FontColor(), QColor(Qt::black));
  EXPECT_EQ(box.Label3D1->ShadeColor(), QColor(Qt::white));
  EXPECT_TRUE(box.Label3D1->Font().bold());
  EXPECT_EQ(box.Label3D1->Font().pixelSize(), 13);
  EXPECT_EQ(box.Version->pos(), QPoint(76, 24));
  EXPECT_FALSE(box.NoticeLabel->text().isEmpty());
  EXPECT_EQ(box.NoticeLabel->geometry().right() + 1, box.width() - 6) << "right-aligned label keeps its right edge";
  EXPECT_EQ(box.NoticeLabel->y(), 40);
  // The whole version must be readable, however long the label grows.
  EXPECT_GE(box.Version->width(), box.Version->sizeHint().width());
}

// Whatever the fonts, the title bar has room for the title, and every label
// shows its whole text inside the box, one below the other.
TEST(AboutBox, FitsItsTitleAndTextInAnyFont) {
  const QFont applicationFont = QApplication::font();
  int previousWidth = 0;
  for (int pixels : {9, 12, 20, 32}) {
    SCOPED_TRACE(pixels);
    QFont titleFont = applicationFont;
    titleFont.setPixelSize(pixels);
    QApplication::setFont(titleFont);
    TAboutBox box;
    box.setFont(JapaneseFont("No Such Face", pixels));
    box.Version->setText(VersionCaption("10.20.30-a-rather-long-build-name"));
    box.FitToText();

    const QFontMetrics title(titleFont);
    EXPECT_GE(TitleBarWidth(box.windowTitle()), title.horizontalAdvance(box.windowTitle()) + 3 * title.height());
    EXPECT_GE(box.width(), TitleBarWidth(box.windowTitle()));
    EXPECT_GT(box.width(), previousWidth);
    previousWidth = box.width();

    for (QLabel* label : {box.Version, box.NoticeLabel}) {
      EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
      EXPECT_GE(label->height(), label->sizeHint().height()) << label->text().toStdString();
    }
    const QFontMetrics name(box.Label3D1->Font());
    EXPECT_GE(box.Label3D1->width(), name.horizontalAdvance("Quorvex") + 6);
    EXPECT_GE(box.Label3D1->height(), name.height() + 6);
    for (QWidget* part : {static_cast<QWidget*>(box.Label3D1), static_cast<QWidget*>(box.Version),
                          static_cast<QWidget*>(box.NoticeLabel)}) {
      EXPECT_TRUE(box.rect().contains(part->geometry())) << part->metaObject()->className();
    }
    EXPECT_LE(box.Version->y(), box.Label3D1->geometry().bottom());  // under the name, as in the classic box
    EXPECT_GT(box.NoticeLabel->y(), box.Version->geometry().bottom());
  }
  QApplication::setFont(applicationFont);
}

TEST(AboutBox, OpensBesideTheMouseWithoutCorrection) {
  QCursor::setPos(400, 300);
  if (QCursor::pos() != QPoint(400, 300)) GTEST_SKIP() << "the platform cannot move the mouse";
  TAboutBox box;
  EXPECT_EQ(box.pos(), QPoint(300, 270));
  QCursor::setPos(20, 10);
  TAboutBox nearTheCorner;
  EXPECT_EQ(nearTheCorner.pos(), QPoint(-80, -20));
}

TEST(AboutBox, ClickOnTheBoxOrAnyLabelClosesItWithOk) {
  for (int target = 0; target < 4; ++target) {
    TAboutBox box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QWidget* widgets[] = {&box, box.Label3D1, box.Version, box.NoticeLabel};
    QPoint inside = target == 0 ? QPoint(3, 57) : QPoint(2, 2);
    QTest::mouseClick(widgets[target], Qt::LeftButton, {}, inside);
    EXPECT_EQ(box.result(), QDialog::Accepted) << "target " << target;
    EXPECT_FALSE(box.isVisible()) << "target " << target;
  }
}

TEST(AboutBox, RightButtonDoesNotClose) {
  TAboutBox box;
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  QTest::mouseClick(box.Label3D1, Qt::RightButton);
  EXPECT_TRUE(box.isVisible());
}

}  // namespace
}  // namespace quorvex
