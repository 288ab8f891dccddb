#pragma once
// The list of a run's warnings and errors under the window's options, one
// line each, that the author can select and copy.

#include <QListWidget>
#include <QString>

namespace quorvex {

class MessageList : public QListWidget {
 public:
  explicit MessageList(QWidget* parent = nullptr);

  /// Adds a line at the end and scrolls to it.
  void AddMessage(const QString& text);
  /// Every line, each ended by a line break.
  QString AllText() const;
  /// The selected lines in list order, each ended by a line break; every
  /// line when none is selected.
  QString SelectedText() const;

 protected:
  /// The platform's copy keys (Ctrl+C) copy the selected lines.
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace quorvex
