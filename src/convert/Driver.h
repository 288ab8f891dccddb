#pragma once
// One conversion from a WinHelp project into an HTML Help project, step by
// step in a fixed order.

#include "base/ByteString.h"
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
};

/// Sets ProjectPath and ProjectFolder (up to and including the last "\" or ":").
void ChooseProject(ConversionJob& job, const ByteString& projectPath);

/// Sets OutputFolder to the chosen folder with "\" appended.
void ChooseOutputFolder(ConversionJob& job, const ByteString& folder);

/// Runs one whole conversion on the job. The busy cursor and the status text
/// are restored at the end, also when a step raises an error, which then
/// leaves this function.
void RunConversion(ConversionJob& job, ConversionHost& host);

/// The topics pass and every step that depends on its results.
void ConvertTopics(ConversionJob& job);

/// Deletes the pages of topics that served only as popup text: those left in
/// PopupPages once the contents, the index and the jumps have claimed theirs.
void DeleteUnreachedPopupPages(ConversionJob& job);

}  // namespace quorvex
