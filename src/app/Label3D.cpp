#include "app/Label3D.h"

#include <QMouseEvent>
#include <QPainter>

namespace quorvex {

TLabel3D::TLabel3D(QWidget* parent) : QWidget(parent), font_(QWidget::font()) {
  // The control paints its own background in Color, as a windowed control's
  // erase does, so that the text lies on a known colour.
  setAutoFillBackground(true);
  resize(96, 24);
}

void TLabel3D::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  update();
}

QColor TLabel3D::Color() const { return palette().color(QPalette::Window); }

void TLabel3D::SetColor(const QColor& color) {
  QPalette colors = palette();
  colors.setColor(QPalette::Window, color);
  setPalette(colors);
}

void TLabel3D::SetFont(const QFont& font) {
  font_ = font;
  update();
}

void TLabel3D::SetFontColor(const QColor& color) {
  fontColor_ = color;
  update();
}

void TLabel3D::SetShadeColor(const QColor& color) {
  shadeColor_ = color;
  repaint();
}

void TLabel3D::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font_);
  // Text only, no background box behind it: the shade must show through
  // where the text leaves gaps.
  painter.setBackgroundMode(Qt::TransparentMode);
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
  QRect area = rect().adjusted(2, 2, -2, -2).translated(2, 2);
  painter.setPen(shadeColor_);
  painter.drawText(area, flags, caption_);
  area.translate(-2, -2);
  painter.setPen(fontColor_);
  painter.drawText(area, flags, caption_);
}

void TLabel3D::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
  event->accept();
}

void TLabel3D::mouseReleaseEvent(QMouseEvent* event) {
  bool clicked = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  event->accept();
  if (clicked) emit Click();
}

}  // namespace quorvex
