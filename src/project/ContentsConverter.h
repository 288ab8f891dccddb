#pragma once
// The WinHelp contents file (.cnt beside the project) as an HTML Help
// contents file (.hhc).

#include "base/StringList.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// Converts the contents file (see ContentsFilePath) into OutputFolder + base
/// + ".hhc" when it has at least one entry; sets HasContents and takes every
/// entry's page out of PopupPages. A missing contents file is not an error.
void ConvertContents(ConversionJob& job);

/// Converts contents lines in the form of a contents file ("level name=topic"),
/// as ConvertContents does the file's.
void ConvertContentsLines(ConversionJob& job, const StringList& lines);

/// The contents file: CNT= relative to the project folder, else ProjectPath's ".cnt".
ByteString ContentsFilePath(const ConversionJob& job);

}  // namespace quorvex
