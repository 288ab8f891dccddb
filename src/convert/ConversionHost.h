#pragma once
// What a conversion borrows from whoever runs it: the window or the terminal.

#include "job/StatusSink.h"

namespace quorvex {

/// What the window (or the command line) lends a conversion: the status
/// label, the busy cursor and the "combine popups" check box.
class ConversionHost : public StatusSink {
 public:
  /// The check box's state; read once, at the start of a conversion.
  virtual bool CombinePopupsChecked() = 0;
  /// Shows (true) or ends (false) the busy cursor.
  virtual void SetBusyCursor(bool /*busy*/) {}
};

}  // namespace quorvex
