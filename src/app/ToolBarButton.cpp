#include "app/ToolBarButton.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace quorvex {

ToolBarButton::ToolBarButton(const QString& caption, QWidget* parent) : QToolButton(parent) {
  setText(caption);
  setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  setIconSize(QSize(16, 16));
  setAutoRaise(true);
  setFixedSize(52, 35);
}

void ToolBarButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  // The style draws the frame only (raised under the mouse, sunken while
  // pressed); picture and caption are placed here.
  QStyleOptionToolButton option;
  initStyleOption(&option);
  option.text.clear();
  option.icon = QIcon();
  painter.drawComplexControl(QStyle::CC_ToolButton, option);

  const int shift = isDown() ? 1 : 0;
  const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
  icon().paint(&painter, QRect((width() - 16) / 2 + shift, 3 + shift, 16, 16), Qt::AlignCenter, mode);
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(QRect(shift, 20 + shift, width(), height() - 20), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                   text());
}

}  // namespace quorvex
