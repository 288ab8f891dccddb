#include "app/About.h"

#include <algorithm>

#include <QApplication>
#include <QCursor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>

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

// The window manager draws the title in a font of its own, which no program
// can ask for; the desktop's title font (where the platform says it) and the
// application's font are the best guesses, and the wider of them is taken.
int TitleBarWidth(const QString& title) {
  const QFontMetrics application(QApplication::font());
  const QFontMetrics platform(QFontDatabase::systemFont(QFontDatabase::TitleFont));
  const int text = std::max(application.horizontalAdvance(title), platform.horizontalAdvance(title));
  const int lineHeight = std::max(application.height(), platform.height());
  const int button = std::max(QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight), lineHeight + 8);
  return text + 4 * button + 2 * 8;
}

namespace {

// The classic layout, which the box keeps wherever its text fits.
constexpr int kClassicWidth = 167;
constexpr int kMargin = 6;        // right edge of the labels to the box's edge
constexpr int kVersionLeft = 76;  // the version stands under the name's middle

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
  setCursor(Qt::PointingHandCursor);

  Label3D1 = new TLabel3D(this);
  Label3D1->setCursor(Qt::PointingHandCursor);
  Label3D1->SetCaption("Quorvex");
  QFont nameFont = JapaneseFont(Ui(kFontName), 13);
  nameFont.setBold(true);
  Label3D1->SetFont(nameFont);
  Label3D1->SetFontColor(Qt::black);
  Label3D1->SetShadeColor(Qt::white);
  connect(Label3D1, &TLabel3D::Click, this, &TAboutBox::FormClick);

  Version = new QLabel("Version", this);
  NoticeLabel = new QLabel(Ui(kAboutNotice), this);
  NoticeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  FormCreate();
}

void TAboutBox::FormCreate() {
  move(QCursor::pos() - QPoint(100, 30));
  Version->setText(VersionCaption(kQuorvexVersion));
  FitToText();
}

// Top to bottom: the shaded name, the version under it, the notice at the
// right; each as high as its font needs, the box as wide as the widest line
// and its title.
void TAboutBox::FitToText() {
  const QFontMetrics nameMetrics(Label3D1->Font());
  // The name is drawn 2 pixels in from the control's edge, its shade 2 further.
  const int nameWidth = nameMetrics.horizontalAdvance(Label3D1->Caption()) + 2 * 2 + 2;
  const int nameHeight = std::max(21, nameMetrics.height() + 2 * 2 + 2);
  const int width = std::max({kClassicWidth, 8 + nameWidth + kMargin, kVersionLeft + Version->sizeHint().width() + kMargin,
                              8 + NoticeLabel->sizeHint().width() + kMargin, TitleBarWidth(windowTitle())});

  Label3D1->setGeometry(8, 4, width - 8 - kMargin, nameHeight);
  const int versionTop = Label3D1->geometry().bottom();
  PlaceLabel(Version, kVersionLeft, versionTop, 0, 12);
  const int noticeTop = versionTop + std::max(16, Version->height() + 1);
  PlaceLabel(NoticeLabel, 18, noticeTop, width - 18 - kMargin, 12);
  setFixedSize(width, noticeTop + std::max(19, NoticeLabel->height() + 4));
}

void TAboutBox::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::FontChange && Version && NoticeLabel) FitToText();
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
