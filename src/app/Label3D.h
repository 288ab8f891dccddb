#pragma once
// TLabel3D: a caption drawn twice, a shade 2 pixels right of and below the
// text, so that the text seems to stand out of the control.

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

namespace quorvex {

class TLabel3D : public QWidget {
  Q_OBJECT

 public:
  /// A new label is 96 x 24, white text on the control's default background
  /// with a black shade.
  explicit TLabel3D(QWidget* parent = nullptr);

  const QString& Caption() const { return caption_; }
  /// Changing the caption redraws the control.
  void SetCaption(const QString& caption);
  /// Background colour of the control.
  QColor Color() const;
  void SetColor(const QColor& color);
  /// Face, size and style of the text; its colour is FontColor.
  const QFont& Font() const { return font_; }
  void SetFont(const QFont& font);
  const QColor& FontColor() const { return fontColor_; }
  void SetFontColor(const QColor& color);
  const QColor& ShadeColor() const { return shadeColor_; }
  /// Stores the colour and redraws the control at once.
  void SetShadeColor(const QColor& color);

 signals:
  /// The control was clicked (pressed and released over it).
  void Click();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString caption_;
  QFont font_;
  QColor fontColor_{Qt::white};
  QColor shadeColor_{Qt::black};
  bool pressed_ = false;
};

}  // namespace quorvex
