#pragma once
// Pages of the topics of a document, in the frame and with the elements of
// the topic converter's pages.

#include "document/DocumentSet.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// Writes the page of every topic of `file` into OutputFolder + "html\", and
/// records what the pages link (jumps, popups) and index (keywords) in the job.
void WriteDocumentPages(ConversionJob& job, DocumentSet& set, DocumentFile& file);

}  // namespace quorvex
