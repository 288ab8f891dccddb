#pragma once
// One conversion from a WinHelp project into an HTML Help project, step by
// step in a fixed order.

#include <functional>

#include "base/ByteString.h"
#include "convert/ConversionHost.h"
#include "document/DocumentSet.h"
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

/// Reads the input job.ProjectPath, a compiled help file (known by its magic
/// number, whatever its name) or a project file, and writes everything but
/// the .hhp: pages, pictures, popups, contents and index. `codePage`, when
/// not 0, is the code page of text whose code page the input does not say.
void ConvertInput(ConversionJob& job, int codePage);

/// The topics pass of a project and every step that depends on its results.
void ConvertTopics(ConversionJob& job);

/// The pages of every [FILES] entry (`documents` holds those read as
/// documents), then popups, contents, index and the clean-up. When the job has
/// no contents file, `contentsWithoutFile` (if given) writes contents instead.
void ConvertDocuments(ConversionJob& job, DocumentSet& documents, const std::function<void()>& contentsWithoutFile);

/// Deletes the pages of topics that served only as popup text: those left in
/// PopupPages once the contents, the index and the jumps have claimed theirs.
void DeleteUnreachedPopupPages(ConversionJob& job);

}  // namespace quorvex
