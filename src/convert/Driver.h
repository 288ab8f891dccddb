#pragma once
// One conversion from a WinHelp project into an HTML Help project, step by
// step in a fixed order.

#include "base/ByteString.h"
#include "convert/ConversionHost.h"
#include "job/ConversionJob.h"

namespace quorvex {

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
