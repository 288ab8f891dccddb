#pragma once
// Where a conversion reports its progress: the window's status label and its
// event pump, or the command line's terminal.

#include "base/ByteString.h"

namespace quorvex {

class StatusSink {
 public:
  virtual ~StatusSink() = default;
  /// Shows the step in progress (empty: nothing in progress).
  virtual void SetStatus(const ByteString& text) = 0;
  /// Lets the window process pending events so that it repaints.
  virtual void ProcessPendingEvents() {}
  /// A problem that does not stop the conversion: `file` (an engine path or
  /// a project name) and what happened to it.
  virtual void Warn(const ByteString& /*file*/, const ByteString& /*what*/) {}
  /// `done` of `total` units of work (pages and pictures) finished; called
  /// after every unit, so a window may also let events through here.
  virtual void Progress(long /*done*/, long /*total*/) {}
};

}  // namespace quorvex
