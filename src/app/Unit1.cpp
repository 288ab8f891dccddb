#include "app/Unit1.h"

#include <algorithm>
#include <climits>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QToolButton>
#include <QUrl>

#include "app/About.h"
#include "app/HeapTuning.h"
#include "app/HelpInputs.h"
#include "app/InputBlocker.h"
#include "app/MessageList.h"
#include "app/SBDlg.h"
#include "app/ToolBarButton.h"
#include "app/UiText.h"
#include "app/WindowFont.h"
#include "base/Encoding.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "base/Texts.h"
#include "convert/ConversionCancelled.h"

namespace quorvex {
namespace {

// The classic window was 237 pixels wide; its tool bar, status label and
// check box keep their places, and the parts added below it need more room.
constexpr int kMinimumWidth = 440;
constexpr int kMargin = 8;
constexpr int kGap = 6;
// Events are let through at most this often while pages and pictures are
// written: often enough to feel live, rarely enough to cost nothing.
constexpr int kEventIntervalMs = 40;

// A warning's file is an engine path or a project's name.
QString WarningFile(const ByteString& file) {
  const bool isPath = file.find('\\') != ByteString::npos || file.find('/') != ByteString::npos;
  return QString::fromStdString(isPath ? NativePath(file) : DisplayText(file));
}

// An engine folder path without its trailing separator, for the picker's choice.
ByteString WithoutTrailingSeparator(ByteString folder) {
  while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

}  // namespace

TForm1::TForm1(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      dialogs_(dialogs) {
  setWindowTitle(kApplicationTitle);
  setFont(WindowFont());
  setAcceptDrops(true);

  // A flat bar along the top: buttons side by side after an indent of 6,
  // an etched line along its bottom edge.
  ToolBar1 = new QWidget(this);
  toolBarEdge_ = new QFrame(ToolBar1);
  toolBarEdge_->setFrameShape(QFrame::HLine);
  toolBarEdge_->setFrameShadow(QFrame::Sunken);
  ToolButton2 = AddToolButton(kExitCaption);
  ToolButton1 = AddToolButton(kConvertCaption);
  ToolButton3 = AddToolButton(kVersionCaption);
  connect(ToolButton2, &QToolButton::clicked, this, &TForm1::ToolButton2Click);
  connect(ToolButton1, &QToolButton::clicked, this, &TForm1::ToolButton1Click);
  connect(ToolButton3, &QToolButton::clicked, this, &TForm1::ToolButton3Click);

  Label1 = new QLabel(this);

  QSettings settings;
  const WindowOptions options = LoadWindowOptions(settings);
  CheckBox1 = AddCheckBox(kCombinePopupsCaption, 68, options.CombinePopups);
  CompiledHelpCheckBox = AddCheckBox(kCompiledHelpCaption, 88, options.CompiledHelp);
  BrowserHelpCheckBox = AddCheckBox(kBrowserHelpCaption, 108, options.BrowserHelp);
  KeepGoingCheckBox = AddCheckBox(kKeepGoingCaption, 128, options.KeepGoing);

  ProgressBar = new QProgressBar(this);
  ProgressBar->setRange(0, 1);
  ProgressBar->setValue(0);
  ProgressBar->setFormat("");
  CancelButton = AddButton(kCancelCaption);
  CancelButton->setEnabled(false);
  connect(CancelButton, &QPushButton::clicked, this, &TForm1::RequestCancel);

  messagesTitle_ = new QLabel(Ui(kMessagesCaption), this);
  Messages = new MessageList(this);
  CopyButton = AddButton(kCopyCaption);
  OpenFolderButton = AddButton(kOpenFolderCaption);
  OpenBrowserHelpButton = AddButton(kOpenBrowserHelpCaption);
  OpenChmButton = AddButton(kOpenChmCaption);
  connect(CopyButton, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(Messages->AllText()); });
  connect(OpenFolderButton, &QPushButton::clicked, this, [this] { Open(outcome_.Folder); });
  connect(OpenBrowserHelpButton, &QPushButton::clicked, this, [this] { Open(outcome_.WebHelp); });
  connect(OpenChmButton, &QPushButton::clicked, this, [this] { Open(outcome_.Chm); });
  LayOut();
  ShowOutcome();

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

// Every option is stored as soon as it changes, so that a crash or a killed
// session loses none.
QCheckBox* TForm1::AddCheckBox(const char* caption, int top, bool checked) {
  auto* box = new QCheckBox(Ui(caption), this);
  box->move(kMargin, top);
  box->setChecked(checked);
  connect(box, &QCheckBox::toggled, this, &TForm1::SaveOptions);
  return box;
}

QPushButton* TForm1::AddButton(const char* caption) {
  auto* button = new QPushButton(Ui(caption), this);
  button->setAutoDefault(false);
  return button;
}

// The classic controls at their old places, the new ones below them. Widths
// come from the captions in the window's font; the window is as wide as its
// widest row needs, and never narrower than kMinimumWidth.
void TForm1::LayOut() {
  const auto buttonWidth = [](QPushButton* button) { return std::max(64, button->sizeHint().width()); };
  int rowWidth = 0;
  for (QPushButton* button : {OpenFolderButton, OpenBrowserHelpButton, OpenChmButton, CopyButton}) {
    rowWidth += buttonWidth(button) + kGap;
  }
  int width = std::max(kMinimumWidth, 2 * kMargin + rowWidth + kGap);
  for (QCheckBox* box : {CheckBox1, CompiledHelpCheckBox, BrowserHelpCheckBox, KeepGoingCheckBox}) {
    width = std::max(width, 2 * kMargin + box->sizeHint().width());
  }
  const int inner = width - 2 * kMargin;

  ToolBar1->setGeometry(0, 0, width, 37);
  toolBarEdge_->setGeometry(0, 35, width, 2);
  Label1->setGeometry(kMargin, 48, inner, 14);
  for (QCheckBox* box : {CheckBox1, CompiledHelpCheckBox, BrowserHelpCheckBox, KeepGoingCheckBox}) {
    box->resize(inner, 17);
  }

  const int cancelWidth = buttonWidth(CancelButton);
  CancelButton->setGeometry(width - kMargin - cancelWidth, 151, cancelWidth, 24);
  ProgressBar->setGeometry(kMargin, 154, inner - cancelWidth - kGap, 18);

  messagesTitle_->setGeometry(kMargin, 184, inner, 14);
  Messages->setGeometry(kMargin, 200, inner, 112);

  const int rowTop = 320;
  int left = kMargin;
  for (QPushButton* button : {OpenFolderButton, OpenBrowserHelpButton, OpenChmButton}) {
    button->setGeometry(left, rowTop, buttonWidth(button), 24);
    left += buttonWidth(button) + kGap;
  }
  CopyButton->setGeometry(width - kMargin - buttonWidth(CopyButton), rowTop, buttonWidth(CopyButton), 24);
  setFixedSize(width, rowTop + 24 + kMargin);
}

WindowOptions TForm1::Options() const {
  WindowOptions options;
  options.CombinePopups = CheckBox1->isChecked();
  options.CompiledHelp = CompiledHelpCheckBox->isChecked();
  options.BrowserHelp = BrowserHelpCheckBox->isChecked();
  options.KeepGoing = KeepGoingCheckBox->isChecked();
  return options;
}

void TForm1::SaveOptions() {
  QSettings settings;
  SaveWindowOptions(settings, Options());
}

void TForm1::ToolButton1Click() {
  if (converting_) return;
  const QStringList paths = dialogs_.OpenFiles(OpenDialog1);
  if (paths.isEmpty()) return;
  OpenDialog1.fileName = paths.first();
  ConvertHelps(paths);
}

void TForm1::ConvertHelps(const QStringList& paths) {
  if (converting_ || paths.isEmpty()) return;
  std::vector<ByteString> inputs;
  for (const QString& path : paths) inputs.push_back(EnginePath(path.toStdString()));
  // One help goes into the chosen folder itself, as it always did.
  if (inputs.size() == 1) ChooseProject(job_, inputs.front());
  SBDialog1->SetDirectory(QString::fromStdString(NativePath(ExtractFileDir(inputs.front()))));
  if (!SBDialog1->Browse()) return;
  const ByteString folder = EnginePath(SBDialog1->Directory().toStdString());
  if (inputs.size() == 1) ChooseOutputFolder(job_, folder);
  outputFolder_ = WithoutTrailingSeparator(folder);
  Convert(inputs);
}

void TForm1::Convert(const std::vector<ByteString>& inputs) {
  runOptions_ = Options();
  cancelRequested_ = false;
  helpLead_.clear();
  outcome_ = RunOutcome();
  Messages->clear();
  ProgressBar->setRange(0, 1);
  ProgressBar->setValue(0);
  ProgressBar->setFormat("");  // no count before the pages are counted
  ShowOutcome();
  CancelButton->setEnabled(true);
  converting_ = true;
  sinceEvents_.start();
  {
    InputBlocker blocker(CancelButton, [this] { RequestCancel(); });
    outcome_ = inputs.size() == 1 ? ConvertOneHelp(job_, runOptions_, *this)
                                  : ConvertSeveralHelps(inputs, outputFolder_, runOptions_, *this);
  }
  converting_ = false;
  CancelButton->setEnabled(false);
  helpLead_.clear();
  ReleaseFreeHeap();

  for (const std::string& error : outcome_.Errors) {
    Messages->AddMessage(Ui(kErrorLabel) + ": " + QString::fromStdString(error));
  }
  if (outcome_.Cancelled) Messages->AddMessage(Ui(kConversionCancelled));
  if (outcome_.Cancelled || !outcome_.Errors.empty()) {
    ProgressBar->setRange(0, 1);
    ProgressBar->setValue(0);
    ProgressBar->setFormat("");
  } else {
    ProgressBar->setValue(ProgressBar->maximum());
  }
  ShowOutcome();
  if (!outcome_.Errors.empty()) {
    QStringList errors;
    for (const std::string& error : outcome_.Errors) errors << QString::fromStdString(error);
    dialogs_.ShowError(this, errors.join('\n'));
  }
}

// A button is live only when what it opens was written and is still there.
void TForm1::ShowOutcome() {
  OpenFolderButton->setEnabled(!outcome_.Folder.empty() && DirectoryExists(outcome_.Folder));
  OpenBrowserHelpButton->setEnabled(!outcome_.WebHelp.empty() && FileExists(outcome_.WebHelp));
  OpenChmButton->setEnabled(!outcome_.Chm.empty() && FileExists(outcome_.Chm));
  CopyButton->setEnabled(Messages->count() > 0);
}

void TForm1::Open(const ByteString& path) {
  if (path.empty()) return;
  if (!dialogs_.OpenWithDesktop(QUrl::fromLocalFile(QString::fromStdString(NativePath(path))))) {
    dialogs_.ShowError(this, QString::fromStdString(EFOpenError(path).DisplayMessage()));
  }
}

void TForm1::RequestCancel() {
  if (!converting_) return;
  cancelRequested_ = true;
  CancelButton->setEnabled(false);
}

void TForm1::ThrowIfCancelled() {
  if (converting_ && cancelRequested_) throw EConversionCancelled();
}

void TForm1::ToolButton2Click() { close(); }

void TForm1::ToolButton3Click() {
  TAboutBox box(this);
  dialogs_.RunModal(box);
}

bool TForm1::CombinePopupsChecked() { return converting_ ? runOptions_.CombinePopups : CheckBox1->isChecked(); }

bool TForm1::KeepGoing() { return converting_ ? runOptions_.KeepGoing : KeepGoingCheckBox->isChecked(); }

void TForm1::SetBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void TForm1::SetStatus(const ByteString& text) { Label1->setText(text.empty() ? QString() : helpLead_ + Ui(text)); }

void TForm1::ProcessPendingEvents() {
  QCoreApplication::processEvents();
  sinceEvents_.start();
  ThrowIfCancelled();
}

void TForm1::Warn(const ByteString& file, const ByteString& what) {
  Messages->AddMessage(Ui(kWarningLabel) + ": " + helpLead_ + WarningFile(file) + ": " +
                       QString::fromStdString(ShowCharacterReferences(DisplayText(what))));
  CopyButton->setEnabled(true);
}

void TForm1::Progress(long done, long total) {
  if (total > 0) {
    ProgressBar->setFormat("%v / %m");
    const long shown = std::min<long>(total, INT_MAX);
    ProgressBar->setRange(0, static_cast<int>(shown));
    ProgressBar->setValue(static_cast<int>(std::clamp<long>(done, 0, shown)));
  }
  if (sinceEvents_.elapsed() >= kEventIntervalMs) {
    QCoreApplication::processEvents();
    sinceEvents_.start();
  }
  ThrowIfCancelled();
}

void TForm1::BeginHelp(const ConversionJob& job, int index, int count) {
  helpLead_ = QString("(%1/%2) %3: ").arg(index + 1).arg(count).arg(Ui(ExtractFileName(job.ProjectPath)));
}

// Closing the window in the middle of a conversion would free the job under it.
void TForm1::closeEvent(QCloseEvent* event) {
  if (converting_) {
    event->ignore();
  } else {
    event->accept();
  }
}

// Files dropped on the window are converted as if picked: all of them help
// inputs, or the drop is refused.
void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!converting_ && event->mimeData()->hasUrls() && !HelpInputsOf(event->mimeData()->urls()).isEmpty()) {
    event->acceptProposedAction();
  }
}

void TForm1::dropEvent(QDropEvent* event) {
  const QStringList paths = HelpInputsOf(event->mimeData()->urls());
  if (converting_ || paths.isEmpty()) return;
  event->acceptProposedAction();
  OpenDialog1.fileName = paths.first();
  // The folder picker is modal; it must not run inside the drag's own event.
  QMetaObject::invokeMethod(this, [this, paths] { ConvertHelps(paths); }, Qt::QueuedConnection);
}

}  // namespace quorvex
