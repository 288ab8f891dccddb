#include "app/ToolImages.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace quorvex {
namespace {

// Colours of one set. The classic set uses only the sixteen colours of a
// 4-bit display.
struct Palette {
  bool smooth;
  QColor outline, door, doorLight, arrow, arrowDark, paper, paperLine, page2, page2Dark, info, infoLight, white;
};

Palette ClassicPalette() {
  return {false,          QColor(0, 0, 0),     QColor(128, 0, 0),   QColor(128, 128, 0),
          QColor(0, 128, 0), QColor(0, 128, 0), QColor(255, 255, 255), QColor(128, 128, 128),
          QColor(0, 255, 255), QColor(0, 128, 128), QColor(0, 0, 128), QColor(0, 0, 255),
          QColor(255, 255, 255)};
}

Palette SmoothPalette() {
  return {true,              QColor(60, 60, 70),   QColor(150, 90, 40),   QColor(205, 145, 80),
          QColor(40, 170, 60), QColor(20, 110, 40), QColor(255, 255, 255), QColor(150, 160, 180),
          QColor(200, 225, 255), QColor(70, 120, 200), QColor(30, 80, 190), QColor(110, 170, 250),
          QColor(255, 255, 255)};
}

QPixmap Blank() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

void Prepare(QPainter& painter, const Palette& colours) {
  painter.setRenderHint(QPainter::Antialiasing, colours.smooth);
}

QBrush Fill(const Palette& colours, const QColor& light, const QColor& dark, QPointF from, QPointF to) {
  if (!colours.smooth) return dark;
  QLinearGradient gradient(from, to);
  gradient.setColorAt(0, light);
  gradient.setColorAt(1, dark);
  return gradient;
}

// A right-pointing arrow with its tip at (tipX, y).
void DrawArrow(QPainter& painter, const Palette& colours, qreal tipX, qreal y, qreal length) {
  QPainterPath arrow;
  arrow.moveTo(tipX, y);
  arrow.lineTo(tipX - 4, y - 4);
  arrow.lineTo(tipX - 4, y - 2);
  arrow.lineTo(tipX - length, y - 2);
  arrow.lineTo(tipX - length, y + 2);
  arrow.lineTo(tipX - 4, y + 2);
  arrow.lineTo(tipX - 4, y + 4);
  arrow.closeSubpath();
  painter.setPen(QPen(colours.arrowDark, 1));
  painter.setBrush(Fill(colours, colours.arrow.lighter(140), colours.arrow, {0, y - 4}, {0, y + 4}));
  painter.drawPath(arrow);
}

// An open door with an arrow leaving through it.
QPixmap ExitImage(const Palette& colours) {
  QPixmap pixmap = Blank();
  QPainter painter(&pixmap);
  Prepare(painter, colours);
  painter.setPen(QPen(colours.outline, 1));
  painter.setBrush(colours.paper);
  painter.drawRect(QRectF(1.5, 1.5, 8, 13));
  QPolygonF leaf({{1.5, 1.5}, {6.5, 3.5}, {6.5, 15.5}, {1.5, 14.5}});
  painter.setBrush(Fill(colours, colours.doorLight, colours.door, {1.5, 0}, {6.5, 0}));
  painter.drawPolygon(leaf);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colours.outline);
  painter.drawRect(QRectF(5, 8, 1, 2));
  DrawArrow(painter, colours, 15.5, 8.5, 8);
  return pixmap;
}

void DrawPage(QPainter& painter, const Palette& colours, QRectF page, const QColor& light, const QColor& dark) {
  QPainterPath path;
  path.moveTo(page.left(), page.top());
  path.lineTo(page.right() - 3, page.top());
  path.lineTo(page.right(), page.top() + 3);
  path.lineTo(page.right(), page.bottom());
  path.lineTo(page.left(), page.bottom());
  path.closeSubpath();
  painter.setPen(QPen(colours.outline, 1));
  painter.setBrush(Fill(colours, light, dark, page.topLeft(), page.bottomRight()));
  painter.drawPath(path);
  painter.setPen(QPen(colours.paperLine, 1));
  for (qreal y = page.top() + 3; y < page.bottom() - 1; y += 2) {
    painter.drawLine(QPointF(page.left() + 2, y), QPointF(page.right() - 3, y));
  }
}

// A plain page turning into a coloured one.
QPixmap ConvertImage(const Palette& colours) {
  QPixmap pixmap = Blank();
  QPainter painter(&pixmap);
  Prepare(painter, colours);
  DrawPage(painter, colours, QRectF(0.5, 0.5, 7, 10), colours.paper, colours.paper);
  DrawPage(painter, colours, QRectF(8.5, 5.5, 7, 10), colours.page2.lighter(110), colours.page2);
  DrawArrow(painter, colours, 11.5, 2.5, 5);
  painter.setPen(QPen(colours.page2Dark, 1));
  painter.drawLine(QPointF(10.5, 14.5), QPointF(14.5, 14.5));
  return pixmap;
}

// A round sign with a lower-case "i".
QPixmap VersionImage(const Palette& colours) {
  QPixmap pixmap = Blank();
  QPainter painter(&pixmap);
  Prepare(painter, colours);
  QBrush disc = colours.info;
  if (colours.smooth) {
    QRadialGradient gradient(QPointF(6, 5), 10);
    gradient.setColorAt(0, colours.infoLight);
    gradient.setColorAt(1, colours.info);
    disc = gradient;
  }
  painter.setPen(QPen(colours.outline, 1));
  painter.setBrush(disc);
  painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  painter.setPen(Qt::NoPen);
  painter.setBrush(colours.white);
  painter.drawRect(QRectF(7, 3, 2, 2));
  painter.drawRect(QRectF(7, 6, 2, 7));
  painter.drawRect(QRectF(6, 6, 1, 1));
  painter.drawRect(QRectF(6, 12, 4, 1));
  return pixmap;
}

ImageList Draw(const Palette& colours) { return {ExitImage(colours), ConvertImage(colours), VersionImage(colours)}; }

}  // namespace

ImageList ClassicImages() { return Draw(ClassicPalette()); }

ImageList SmoothImages() { return Draw(SmoothPalette()); }

bool UsesSmoothImages(int screenDepth) { return screenDepth >= 24; }

}  // namespace quorvex
