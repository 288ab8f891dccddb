#include "app/Dialogs.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

#include "app/SBDlg.h"
#include "app/UiText.h"

namespace quorvex {

QStringList QtDialogs::OpenFiles(const OpenFileRequest& request) {
  QFileDialog dialog(request.parent);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilter(QtFileFilter(request.filter));
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

std::optional<QString> QtDialogs::BrowseFolder(const FolderBrowseRequest& request) {
  // Qt's dialog has no instruction line above its tree; the caption becomes
  // its title. Of the browse flags only "file-system folders only" has a
  // counterpart here; the others concern network places, printers and the
  // look of the Windows dialog.
  QFileDialog::Options options;
  if (request.flags & OptionFlag(TSBDlgOption::biReturnOnlyFSDirs)) options |= QFileDialog::ShowDirsOnly;
  QString chosen =
      QFileDialog::getExistingDirectory(request.parent, request.caption, request.preselection, options);
  if (chosen.isEmpty()) return std::nullopt;
  return chosen;
}

void QtDialogs::ShowError(QWidget* parent, const QString& message) {
  QMessageBox box(QMessageBox::Critical, kApplicationTitle, message, QMessageBox::Ok, parent);
  box.exec();
}

void QtDialogs::RunModal(QDialog& dialog) { dialog.exec(); }

bool QtDialogs::OpenWithDesktop(const QUrl& url) { return QDesktopServices::openUrl(url); }

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    filters << parts[i] + " (" + patterns + ")";
  }
  return filters.join(";;");
}

}  // namespace quorvex
