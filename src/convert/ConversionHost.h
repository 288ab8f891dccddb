#pragma once
// What a conversion borrows from whoever runs it: the window or the terminal.

#include "job/ConversionJob.h"
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
  /// Whether missing topic files and unreadable pictures or map includes are
  /// warnings instead of errors that end the conversion.
  virtual bool KeepGoing() { return false; }
  /// The code page that text of unknown code page is read in, overriding the
  /// project's CHARSET= and LCID=; 0 leaves them.
  virtual int CodePageOption() { return 0; }
  /// A run of several helps tells which of them (`index` of `count`) the
  /// status texts and warnings that follow belong to.
  virtual void BeginHelp(const ConversionJob& /*job*/, int /*index*/, int /*count*/) {}
};

}  // namespace quorvex
