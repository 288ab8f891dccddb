#pragma once
// TForm1: the main window. It holds the conversion job, asks for the project
// file and the destination folder, and runs the conversion on its own thread
// while the status label names the step.

#include <QWidget>

#include "app/Dialogs.h"
#include "convert/Driver.h"
#include "app/ToolImages.h"
#include "job/ConversionJob.h"

class QCheckBox;
class QLabel;
class QToolButton;

namespace quorvex {

class TSBDialog;

class TForm1 : public QWidget, public ConversionHost {
 public:
  /// `dialogs` answers the open-file dialog, the folder picker, the about box
  /// and error messages; it must outlive the window.
  explicit TForm1(Dialogs& dialogs, QWidget* parent = nullptr);
  ~TForm1() override;

  QWidget* ToolBar1;
  QToolButton* ToolButton2;  ///< exit
  QToolButton* ToolButton1;  ///< convert
  QToolButton* ToolButton3;  ///< version
  QCheckBox* CheckBox1;      ///< combine popups into one file
  QLabel* Label1;            ///< the step in progress
  OpenFileRequest OpenDialog1;
  TSBDialog* SBDialog1;
  ImageList ImageList1;  ///< the classic tool-bar pictures
  ImageList ImageList2;  ///< the smooth tool-bar pictures

  /// Convert command: project file, destination folder, then the conversion.
  /// An error ends the conversion and is shown in a message box.
  void ToolButton1Click();
  /// Exit command: closes the window, which ends the program.
  void ToolButton2Click();
  /// Version command: the about box, modally.
  void ToolButton3Click();

  /// The job state: the last conversion's results until the next one starts.
  const ConversionJob& Job() const { return job_; }
  /// True from the start to the end of a conversion.
  bool Converting() const { return converting_; }
  /// The image list the tool bar shows: &ImageList1 or &ImageList2.
  const ImageList* ToolBarImages() const { return toolBarImages_; }

  bool CombinePopupsChecked() override;
  void SetBusyCursor(bool busy) override;
  void SetStatus(const ByteString& text) override;
  void ProcessPendingEvents() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  QToolButton* AddToolButton(const char* caption);
  void Convert();

  Dialogs& dialogs_;
  ConversionJob job_;
  const ImageList* toolBarImages_ = nullptr;
  bool converting_ = false;
  bool busy_ = false;
};

}  // namespace quorvex
