#pragma once
// TForm1: the main window. It holds the conversion job, asks for the help
// (a project or a compiled help, or several) and the destination folder, and
// runs the conversion on the GUI thread, letting the window repaint and the
// cancel button work between pages. Below the classic tool bar, status label
// and popup check box: the other options (kept in the user's settings), a
// progress bar with the cancel button, the run's warnings and errors, and
// buttons that open what the run wrote.

#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>

#include "app/Dialogs.h"
#include "app/ToolImages.h"
#include "app/WindowOptions.h"
#include "app/WindowRun.h"
#include "convert/Driver.h"
#include "job/ConversionJob.h"

class QCheckBox;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace quorvex {

class MessageList;
class TSBDialog;

class TForm1 : public QWidget, public ConversionHost {
 public:
  /// `dialogs` answers the open-file dialog, the folder picker, the about box
  /// and error messages, and opens results; it must outlive the window.
  explicit TForm1(Dialogs& dialogs, QWidget* parent = nullptr);
  ~TForm1() override;

  QWidget* ToolBar1;
  QToolButton* ToolButton2;  ///< exit
  QToolButton* ToolButton1;  ///< convert
  QToolButton* ToolButton3;  ///< version
  QCheckBox* CheckBox1;      ///< combine popups into one file
  QLabel* Label1;            ///< the step in progress
  QCheckBox* CompiledHelpCheckBox;  ///< also compile the .chm
  QCheckBox* BrowserHelpCheckBox;   ///< also write the browser help
  QCheckBox* KeepGoingCheckBox;     ///< missing files are warnings
  QProgressBar* ProgressBar;        ///< pages and pictures done of all
  QPushButton* CancelButton;        ///< live only while a conversion runs
  MessageList* Messages;            ///< the last run's warnings and errors
  QPushButton* CopyButton;          ///< copies every line of Messages
  QPushButton* OpenFolderButton;    ///< the last run's output folder
  QPushButton* OpenBrowserHelpButton;
  QPushButton* OpenChmButton;
  OpenFileRequest OpenDialog1;
  TSBDialog* SBDialog1;
  ImageList ImageList1;  ///< the classic tool-bar pictures
  ImageList ImageList2;  ///< the smooth tool-bar pictures

  /// Convert command: the helps, the destination folder, then the conversion.
  /// An error ends the conversion and is shown in a message box.
  void ToolButton1Click();
  /// Exit command: closes the window, which ends the program.
  void ToolButton2Click();
  /// Version command: the about box, modally.
  void ToolButton3Click();
  /// Converts `paths` (native; one, or several into a folder each), asking
  /// for the destination folder first: what the picker and a drop lead to.
  void ConvertHelps(const QStringList& paths);
  /// Asks the running conversion to stop at the next page or picture.
  void RequestCancel();

  /// The job state of a single help: the last conversion's results until the next one starts.
  const ConversionJob& Job() const { return job_; }
  /// True from the start to the end of a conversion.
  bool Converting() const { return converting_; }
  /// The image list the tool bar shows: &ImageList1 or &ImageList2.
  const ImageList* ToolBarImages() const { return toolBarImages_; }
  /// The options as the check boxes show them.
  WindowOptions Options() const;
  /// What the last run produced.
  const RunOutcome& LastOutcome() const { return outcome_; }

  bool CombinePopupsChecked() override;
  bool KeepGoing() override;
  void SetBusyCursor(bool busy) override;
  void SetStatus(const ByteString& text) override;
  void ProcessPendingEvents() override;
  void Warn(const ByteString& file, const ByteString& what) override;
  void Progress(long done, long total) override;
  void BeginHelp(const ConversionJob& job, int index, int count) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void FormCreate();
  QToolButton* AddToolButton(const char* caption);
  QCheckBox* AddCheckBox(const char* caption, int top, bool checked);
  QPushButton* AddButton(const char* caption);
  void LayOut();
  void SaveOptions();
  void Convert(const std::vector<ByteString>& inputs);
  void ShowOutcome();
  void Open(const ByteString& path);
  void ThrowIfCancelled();

  Dialogs& dialogs_;
  QFrame* toolBarEdge_;
  QLabel* messagesTitle_;
  ConversionJob job_;
  const ImageList* toolBarImages_ = nullptr;
  bool converting_ = false;
  bool busy_ = false;
  bool cancelRequested_ = false;
  WindowOptions runOptions_;   ///< the options of the running conversion, read at its start
  ByteString outputFolder_;    ///< the chosen folder, without its trailing "\"
  QString helpLead_;           ///< "(2/3) name: " in a run of several helps
  QElapsedTimer sinceEvents_;  ///< since Progress last let events through
  RunOutcome outcome_;
};

}  // namespace quorvex
