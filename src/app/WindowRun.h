#pragma once
// A conversion started from the window: one help into the chosen folder, or
// several into a folder each below it, with the browser help and the compiled
// help when asked; and what it produced, for the buttons after it.

#include <string>
#include <vector>

#include "app/WindowOptions.h"
#include "base/ByteString.h"
#include "convert/ConversionHost.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// What a run gave the window.
struct RunOutcome {
  ByteString Folder;   ///< the output folder (engine path, ending in "\"), when it exists
  ByteString WebHelp;  ///< the browser help's start page, when this run wrote it
  ByteString Chm;      ///< the compiled help (the first of several), when this run compiled it
  std::vector<std::string> Errors;  ///< UTF-8: the error, or one line per help that failed
  bool Cancelled = false;           ///< the user cancelled it
};

/// Converts `job`, whose project and output folder are chosen, then compiles
/// its .chm when asked. Errors and a cancel are recorded in the outcome, not
/// raised.
RunOutcome ConvertOneHelp(ConversionJob& job, const WindowOptions& options, ConversionHost& host);

/// Converts the `inputs` (engine paths) into `outputFolder`\<name>\ each; a
/// help that fails is an error of the outcome and the others go on. Each
/// help that converted gets its .chm when asked; with the browser help,
/// `outputFolder`\index.html lists the helps.
RunOutcome ConvertSeveralHelps(const std::vector<ByteString>& inputs, const ByteString& outputFolder,
                               const WindowOptions& options, ConversionHost& host);

}  // namespace quorvex
