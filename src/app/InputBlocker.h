#pragma once
// Swallows the user's input to every widget while it lives, except to one
// widget that stays live (the cancel button). A conversion lets the window
// repaint between pages; a click, key press or drop handled then could start
// a second conversion on the same job or change an option under a running one.

#include <functional>

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace quorvex {

class InputBlocker : public QObject {
 public:
  /// Input for `live` and its children still arrives; Escape anywhere calls
  /// `onEscape` (if any) instead of reaching a widget.
  explicit InputBlocker(QWidget* live = nullptr, std::function<void()> onEscape = {});
  ~InputBlocker() override;
  InputBlocker(const InputBlocker&) = delete;
  InputBlocker& operator=(const InputBlocker&) = delete;

 protected:
  bool eventFilter(QObject* target, QEvent* event) override;

 private:
  bool IsLive(const QWidget* widget) const;

  QPointer<QWidget> live_;
  std::function<void()> onEscape_;
};

}  // namespace quorvex
