#pragma once
// One conversion from a WinHelp project into an HTML Help project, step by
// step in a fixed order.

#include "base/ByteString.h"
#include "convert/ConversionHost.h"
#include "document/DocumentSet.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// Sets ProjectPath and ProjectFolder (up to and including the last "\" or ":").
void ChooseProject(ConversionJob& job, const ByteString& projectPath);

/// Sets OutputFolder to the chosen folder with "\" appended.
void ChooseOutputFolder(ConversionJob& job, const ByteString& folder);

/// Runs one whole conversion on the job: ReadHelp, then WriteHelp. The busy
/// cursor and the status text are restored at the end, also when a step
/// raises an error, which then leaves this function.
void RunConversion(ConversionJob& job, ConversionHost& host);

/// Lends the host to the job (status texts, warnings) and shows the busy
/// cursor; puts both back however the steps inside end.
class ConversionScope {
 public:
  ConversionScope(ConversionJob& job, ConversionHost& host);
  ~ConversionScope();
  ConversionScope(const ConversionScope&) = delete;
  ConversionScope& operator=(const ConversionScope&) = delete;

 private:
  ConversionJob& job_;
  ConversionHost& host_;
  StatusSink* previous_;
};

/// The first half of a conversion, inside a ConversionScope: the project and
/// every topic file read as a document, each topic's page named and its
/// contexts recorded in the job, so that other helps of a run can link into
/// it. Writes nothing.
void ReadHelp(ConversionJob& job, ConversionHost& host, DocumentSet& documents);

/// The second half, inside a ConversionScope: pages, pictures, popups,
/// contents, index, project file and, when asked for, the browser help.
void WriteHelp(ConversionJob& job, DocumentSet& documents);

/// The topics pass and every step that depends on its results.
void ConvertTopics(ConversionJob& job, DocumentSet& documents);

/// Deletes the pages of topics that served only as popup text: those left in
/// PopupPages once the contents, the index and the jumps have claimed theirs.
void DeleteUnreachedPopupPages(ConversionJob& job);

}  // namespace quorvex
