#include "app/InputBlocker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>

namespace quorvex {
namespace {

bool IsUserInput(QEvent::Type type) {
  switch (type) {
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
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

}  // namespace

InputBlocker::InputBlocker(QWidget* live, std::function<void()> onEscape)
    : live_(live), onEscape_(std::move(onEscape)) {
  QCoreApplication::instance()->installEventFilter(this);
}

InputBlocker::~InputBlocker() { QCoreApplication::instance()->removeEventFilter(this); }

bool InputBlocker::IsLive(const QWidget* widget) const {
  return live_ && (widget == live_ || live_->isAncestorOf(widget));
}

// Input reaches a top-level window first, which hands it on to the widget
// under the mouse or with the focus; it is stopped there, where the target
// is known, so that the live widget can still be clicked. A shortcut goes to
// its action instead of a widget, and is stopped wherever it goes.
bool InputBlocker::eventFilter(QObject* target, QEvent* event) {
  if (!IsUserInput(event->type())) return false;
  auto* widget = qobject_cast<QWidget*>(target);
  if (!widget) return event->type() == QEvent::Shortcut;
  if (event->type() == QEvent::KeyPress && onEscape_ && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    onEscape_();
    return true;
  }
  return !IsLive(widget);
}

}  // namespace quorvex
