#pragma once
// The modal dialogs of the window, and the desktop it hands its results to,
// behind one small interface, so that tests can answer them without a person
// at the screen.

#include <optional>

#include <QString>
#include <QStringList>

class QDialog;
class QUrl;
class QWidget;

namespace quorvex {

/// What the open-file dialog is asked for.
struct OpenFileRequest {
  QWidget* parent = nullptr;
  /// Filter in the "description|pattern|description|pattern" form.
  QString filter;
  /// The file chosen last time, if any; the dialog starts in its folder.
  QString fileName;
};

/// What the folder browse dialog is asked for.
struct FolderBrowseRequest {
  QWidget* parent = nullptr;
  /// Instruction text shown with the dialog.
  QString caption;
  /// The OR of the browse flags of the picker's options.
  unsigned flags = 0;
  /// Folder to select when the dialog opens; empty for none.
  QString preselection;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  /// The native paths of the chosen existing files (one or several); none on cancel.
  virtual QStringList OpenFiles(const OpenFileRequest& request) = 0;
  /// The chosen folder's native path; nothing on cancel.
  virtual std::optional<QString> BrowseFolder(const FolderBrowseRequest& request) = 0;
  /// Shows an error message and waits until it is acknowledged.
  virtual void ShowError(QWidget* parent, const QString& message) = 0;
  /// Shows a dialog modally and returns when it is closed.
  virtual void RunModal(QDialog& dialog) = 0;
  /// Opens a file or folder with the desktop's program for it (a browser, a
  /// help viewer, the file manager); false when none could be started.
  virtual bool OpenWithDesktop(const QUrl& url) = 0;
};

/// The dialogs of Qt, for the real program.
class QtDialogs : public Dialogs {
 public:
  QStringList OpenFiles(const OpenFileRequest& request) override;
  std::optional<QString> BrowseFolder(const FolderBrowseRequest& request) override;
  void ShowError(QWidget* parent, const QString& message) override;
  void RunModal(QDialog& dialog) override;
  bool OpenWithDesktop(const QUrl& url) override;
};

/// A "description|pattern|..." filter in Qt's "description (pattern);;..." form;
/// patterns separated by ";" become separated by blanks.
QString QtFileFilter(const QString& filter);

}  // namespace quorvex
