#include "app/About.h"

#include <algorithm>

#include <QCursor>
#include <QLabel>
#include <QMouseEvent>

#include "Version.h"
#include "app/Label3D.h"
#include "app/UiText.h"
#include "app/WindowFont.h"
#include "base/Texts.h"

namespace quorvex {

QString VersionCaption(std::string_view productVersion) {
  std::string_view text = productVersion.substr(0, productVersion.find('\0'));
  if (text.empty()) return "Version";
  return "Version " + QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).left(32);
}

namespace {

// A label as wide as its text, as labels that size themselves are; a
// right-aligned one grows to the left and keeps its right edge.
void PlaceLabel(QLabel* label, int x, int y, int width, int height) {
  int needed = label->sizeHint().width();
  int right = x + width;
  if (label->alignment() & Qt::AlignRight) {
    width = std::max(width, needed);
    x = right - width;
  } else {
    width = needed;
  }
  label->setGeometry(x, y, width, std::max(height, label->sizeHint().height()));
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint) {
  setWindowTitle(Ui(kAboutCaption));
  setFont(WindowFont());
  setFixedSize(167, 59);
  setCursor(Qt::PointingHandCursor);

  Label3D1 = new TLabel3D(this);
  Label3D1->setGeometry(8, 4, 153, 21);
  Label3D1->setCursor(Qt::PointingHandCursor);
  Label3D1->SetCaption("Quorvex");
  QFont nameFont = JapaneseFont(Ui(kFontName), 13);
  nameFont.setBold(true);
  Label3D1->SetFont(nameFont);
  Label3D1->SetFontColor(Qt::black);
  Label3D1->SetShadeColor(Qt::white);
  connect(Label3D1, &TLabel3D::Click, this, &TAboutBox::FormClick);

  Version = new QLabel("Version", this);
  PlaceLabel(Version, 76, 24, 39, 12);

  NoticeLabel = new QLabel(Ui(kAboutNotice), this);
  NoticeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  PlaceLabel(NoticeLabel, 18, 40, 143, 12);

  FormCreate();
}

void TAboutBox::FormCreate() {
  move(QCursor::pos() - QPoint(100, 30));
  Version->setText(VersionCaption(kQuorvexVersion));
  PlaceLabel(Version, 76, 24, 39, 12);
}

void TAboutBox::FormClick() { done(QDialog::Accepted); }

// Clicks on the plain labels reach the box too: a label does not take mouse
// presses, so they travel on to its parent.
void TAboutBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
  event->accept();
}

void TAboutBox::mouseReleaseEvent(QMouseEvent* event) {
  bool clicked = pressed_ && event->button() == Qt::LeftButton;
  pressed_ = false;
  event->accept();
  if (clicked) FormClick();
}

}  // namespace quorvex
