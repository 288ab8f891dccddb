#pragma once
// One RTF topic file of the project into one HTML page.

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// Converts the topic file `entry` (a [FILES] line: a file name relative to
/// the topic folders, see TopicFilePath) into OutputFolder + "html\" + the page name of
/// the entry without its extension. Fills the job's index, jump and popup
/// lists on the way. A file that cannot be read raises EFOpenError, a page
/// that cannot be written EFCreateError.
void ConvertTopicFile(ConversionJob& job, const ByteString& entry);

}  // namespace quorvex
