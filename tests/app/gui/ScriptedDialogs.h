#pragma once
// Dialogs answered by the test instead of a person, recording what they were
// asked.

#include <functional>
#include <optional>
#include <vector>

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "app/Dialogs.h"

namespace quorvex::test {

class ScriptedDialogs : public Dialogs {
 public:
  QStringList OpenFiles(const OpenFileRequest& request) override {
    openRequests.push_back(request);
    if (!openAnswers.isEmpty()) return openAnswers;
    return openAnswer ? QStringList{*openAnswer} : QStringList();
  }
  std::optional<QString> BrowseFolder(const FolderBrowseRequest& request) override {
    folderRequests.push_back(request);
    return folderAnswer;
  }
  void ShowError(QWidget* /*parent*/, const QString& message) override { errors.push_back(message); }
  void RunModal(QDialog& dialog) override {
    ++modalRuns;
    if (onModal) onModal(dialog);
  }
  bool OpenWithDesktop(const QUrl& url) override {
    opened.push_back(url);
    return desktopOpens;
  }

  std::optional<QString> openAnswer;    ///< nothing: the user cancels
  QStringList openAnswers;              ///< several files chosen at once (before openAnswer)
  bool desktopOpens = true;             ///< whether the desktop finds a program
  std::optional<QString> folderAnswer;  ///< nothing: the user cancels
  std::function<void(QDialog&)> onModal;

  std::vector<OpenFileRequest> openRequests;
  std::vector<FolderBrowseRequest> folderRequests;
  std::vector<QString> errors;
  std::vector<QUrl> opened;
  int modalRuns = 0;
};

}  // namespace quorvex::test
