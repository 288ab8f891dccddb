#pragma once
// The plain text of a popup topic, read from its own RTF file.

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// The text of the topic file at `path` with footnotes, groups and control
/// words dropped and every paragraph break (except one right before "}")
/// written as backslash + "n". Records the topic's page in PopupPages. A
/// missing file gives the empty text and records nothing.
ByteString ReadPopupText(ConversionJob& job, const ByteString& path);

}  // namespace quorvex
