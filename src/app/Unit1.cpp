#include "app/Unit1.h"

#include <exception>
#include <optional>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QToolButton>

#include "app/About.h"
#include "app/SBDlg.h"
#include "app/ToolBarButton.h"
#include "app/UiText.h"
#include "app/WindowFont.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "base/Texts.h"

namespace quorvex {
namespace {

// Swallows the user's input to every widget while it lives. The conversion
// lets the window repaint between topic files; a click or key press handled
// then could start a second conversion on the same job or change the check
// box under a running one.
class InputBlocker : public QObject {
 public:
  InputBlocker() { QCoreApplication::instance()->installEventFilter(this); }
  ~InputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
      case QEvent::TouchBegin:
      case QEvent::TouchUpdate:
      case QEvent::TouchEnd:
      case QEvent::TabletPress:
      case QEvent::TabletRelease:
        return true;
      default:
        return false;
    }
  }
};

}  // namespace

TForm1::TForm1(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      dialogs_(dialogs) {
  setWindowTitle(kApplicationTitle);
  setFont(WindowFont());
  setFixedSize(237, 92);

  // A flat bar along the top: buttons side by side after an indent of 6,
  // an etched line along its bottom edge.
  ToolBar1 = new QWidget(this);
  ToolBar1->setGeometry(0, 0, 237, 37);
  ToolButton2 = AddToolButton(kExitCaption);
  ToolButton1 = AddToolButton(kConvertCaption);
  ToolButton3 = AddToolButton(kVersionCaption);
  auto* edge = new QFrame(ToolBar1);
  edge->setFrameShape(QFrame::HLine);
  edge->setFrameShadow(QFrame::Sunken);
  edge->setGeometry(0, 35, 237, 2);
  connect(ToolButton2, &QToolButton::clicked, this, &TForm1::ToolButton2Click);
  connect(ToolButton1, &QToolButton::clicked, this, &TForm1::ToolButton1Click);
  connect(ToolButton3, &QToolButton::clicked, this, &TForm1::ToolButton3Click);

  Label1 = new QLabel(this);
  Label1->setGeometry(8, 48, 221, 14);

  CheckBox1 = new QCheckBox(Ui(kCombinePopupsCaption), this);
  CheckBox1->setGeometry(8, 68, 221, 17);
  CheckBox1->setChecked(true);

  OpenDialog1.parent = this;
  OpenDialog1.filter = Ui(kOpenDialogFilter);

  SBDialog1 = new TSBDialog(this, dialogs_);
  SBDialog1->SetCaption(Ui(kFolderPickerCaption));
  SBDialog1->SetOptions({TSBDlgOption::biReturnOnlyFSDirs, TSBDlgOption::biNewStyle});

  ImageList1 = ClassicImages();
  ImageList2 = SmoothImages();

  // At the centre of the desktop.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
  }
  FormCreate();
}

TForm1::~TForm1() {
  if (busy_) QApplication::restoreOverrideCursor();
}

// The job lists exist with the job; what remains is the choice of pictures.
void TForm1::FormCreate() {
  QScreen* screen = QGuiApplication::primaryScreen();
  toolBarImages_ = UsesSmoothImages(screen ? screen->depth() : 24) ? &ImageList2 : &ImageList1;
  ToolButton2->setIcon(QIcon((*toolBarImages_)[0]));
  ToolButton1->setIcon(QIcon((*toolBarImages_)[1]));
  ToolButton3->setIcon(QIcon((*toolBarImages_)[2]));
}

QToolButton* TForm1::AddToolButton(const char* caption) {
  const int index = static_cast<int>(ToolBar1->findChildren<ToolBarButton*>().size());
  auto* button = new ToolBarButton(Ui(caption), ToolBar1);
  button->move(6 + index * button->width(), 0);
  return button;
}

void TForm1::ToolButton1Click() {
  if (converting_) return;
  std::optional<QString> project = dialogs_.OpenFile(OpenDialog1);
  if (!project) return;
  OpenDialog1.fileName = *project;
  ChooseProject(job_, EnginePath(project->toStdString()));
  SBDialog1->SetDirectory(QString::fromStdString(NativePath(ExtractFileDir(job_.ProjectPath))));
  if (!SBDialog1->Browse()) return;
  ChooseOutputFolder(job_, EnginePath(SBDialog1->Directory().toStdString()));
  Convert();
}

void TForm1::Convert() {
  std::optional<QString> error;
  converting_ = true;
  {
    InputBlocker blocker;
    try {
      RunConversion(job_, *this);
    } catch (const Exception& e) {
      error = QString::fromStdString(e.DisplayMessage());
    } catch (const std::exception& e) {
      // Out of memory and the like: still a message, not the end of the program.
      error = QString::fromLocal8Bit(e.what());
    }
  }
  converting_ = false;
  if (error) dialogs_.ShowError(this, *error);
}

void TForm1::ToolButton2Click() { close(); }

void TForm1::ToolButton3Click() {
  TAboutBox box(this);
  dialogs_.RunModal(box);
}

bool TForm1::CombinePopupsChecked() { return CheckBox1->isChecked(); }

void TForm1::SetBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void TForm1::SetStatus(const ByteString& text) { Label1->setText(Ui(text)); }

void TForm1::ProcessPendingEvents() { QCoreApplication::processEvents(); }

// Closing the window in the middle of a conversion would free the job under it.
void TForm1::closeEvent(QCloseEvent* event) {
  if (converting_) {
    event->ignore();
  } else {
    event->accept();
  }
}

}  // namespace quorvex
