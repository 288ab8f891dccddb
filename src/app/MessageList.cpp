#include "app/MessageList.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QKeySequence>

namespace quorvex {

MessageList::MessageList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setUniformItemSizes(true);
}

void MessageList::AddMessage(const QString& text) {
  auto* line = new QListWidgetItem(text, this);
  line->setToolTip(text);  // long paths run past the list's edge
  scrollToBottom();
}

QString MessageList::AllText() const {
  QString text;
  for (int row = 0; row < count(); ++row) text += item(row)->text() + '\n';
  return text;
}

QString MessageList::SelectedText() const {
  QString text;
  // Row order, not the order in which the lines were selected.
  for (int row = 0; row < count(); ++row) {
    if (item(row)->isSelected()) text += item(row)->text() + '\n';
  }
  return text.isEmpty() ? AllText() : text;
}

void MessageList::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    QApplication::clipboard()->setText(SelectedText());
    event->accept();
    return;
  }
  QListWidget::keyPressEvent(event);
}

}  // namespace quorvex
