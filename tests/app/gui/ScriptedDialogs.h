#pragma once
// Dialogs answered by the test instead of a person, recording what they were
// asked.

#include <functional>
#include <optional>
#include <vector>

#include <QDialog>
#include <QString>

#include "app/Dialogs.h"

namespace quorvex::test {

class ScriptedDialogs : public Dialogs {
 public:
  std::optional<QString> OpenFile(const OpenFileRequest& request) override {
    openRequests.push_back(request);
    return openAnswer;
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

  std::optional<QString> openAnswer;    ///< nothing: the user cancels
  std::optional<QString> folderAnswer;  ///< nothing: the user cancels
  std::function<void(QDialog&)> onModal;

  std::vector<OpenFileRequest> openRequests;
  std::vector<FolderBrowseRequest> folderRequests;
  std::vector<QString> errors;
  int modalRuns = 0;
};

}  // namespace quorvex::test
