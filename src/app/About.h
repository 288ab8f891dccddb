#pragma once
// TAboutBox: the small modal box of the version button, showing the
// program's name in a shaded label and its version.

#include <string_view>

#include <QDialog>
#include <QString>

class QLabel;

namespace quorvex {

class TLabel3D;

/// The narrowest width at which a window's title bar shows `title` whole: the
/// text in the wider of the application's and the platform's title font, with
/// room for the window's icon and three buttons beside it.
int TitleBarWidth(const QString& title);

/// "Version " + at most 32 characters of `productVersion` (which ends at its
/// first NUL); just "Version" when there is no version.
QString VersionCaption(std::string_view productVersion);

class TAboutBox : public QDialog {
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  TLabel3D* Label3D1 = nullptr;
  QLabel* Version = nullptr;
  QLabel* NoticeLabel = nullptr;

  /// Places the box 100 pixels left of and 30 above the mouse and fills in
  /// the program's version.
  void FormCreate();
  /// Sizes the box to its title and its labels in their present fonts; it
  /// keeps its classic 167 x 59 where they fit.
  void FitToText();
  /// Closes the box with the result "OK".
  void FormClick();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace quorvex
