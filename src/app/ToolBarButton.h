#pragma once
// A flat tool-bar button with its picture above its caption, laid out to the
// pixel so that a caption of the button's full width still fits: Qt's own
// layout keeps margins that would cut it short in a 52 x 35 button.

#include <QToolButton>

namespace quorvex {

class ToolBarButton : public QToolButton {
 public:
  ToolBarButton(const QString& caption, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quorvex
