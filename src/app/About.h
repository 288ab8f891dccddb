#pragma once
// TAboutBox: the small modal box of the version button, showing the
// program's name in a shaded label and its version.

#include <string_view>

#include <QDialog>
#include <QString>

class QLabel;

namespace quorvex {

class TLabel3D;

/// "Version " + at most 32 characters of `productVersion` (which ends at its
/// first NUL); just "Version" when there is no version.
QString VersionCaption(std::string_view productVersion);

class TAboutBox : public QDialog {
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  TLabel3D* Label3D1;
  QLabel* Version;
  QLabel* NoticeLabel;

  /// Places the box 100 pixels left of and 30 above the mouse and fills in
  /// the program's version.
  void FormCreate();
  /// Closes the box with the result "OK".
  void FormClick();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace quorvex
