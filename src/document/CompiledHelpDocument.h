#pragma once
// A compiled help file (.hlp) as the one document of a conversion: the help's
// reader fills the document model, and the job gets what a project file
// would have given (title, contents topic, code page, window colour, map).

#include <span>
#include <vector>

#include "base/ByteString.h"
#include "document/DocumentSet.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// True when `data` is a compiled help file: it starts with WinHelp's magic
/// number, whatever the file is called.
bool IsCompiledHelpData(std::string_view data);

/// Reads the compiled help `data` (the file job.ProjectPath) into `set` as the
/// job's one [FILES] entry, and fills the job's title, contents topic, code
/// page (`codePage` when not 0), main window colour and map. The contents
/// file beside the help (the one it names, else its name with ".cnt") becomes
/// the job's contents file and lends the help its context names. Problems read
/// past (with KeepGoing) are warnings; damage otherwise raises an error naming
/// the help file, the internal file and the offset. Returns the topics in the
/// order a contents list made without a contents file shows them.
std::vector<std::size_t> ReadCompiledHelpDocument(ConversionJob& job, std::string_view data, int codePage,
                                                  DocumentSet& set);

/// Contents for a compiled help without a contents file: every titled topic
/// of the help's document, in `order`, except those that serve only as popups.
void WriteTopicContents(ConversionJob& job, DocumentSet& set, const std::vector<std::size_t>& order);

}  // namespace quorvex
