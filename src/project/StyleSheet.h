#pragma once
// The style sheet every page links, and the shared popup file.

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// Writes the fixed style sheet to `path` (inside the job's output folder).
void WriteStyleSheet(const ConversionJob& job, const ByteString& path);

/// The first line of every popup script: the font all text popups use.
ByteString PopupFontLine();

/// With combined popups and at least one collected: puts the font line in
/// front of PopupLines and writes them as OutputFolder + "html\popup.js".
void WritePopupFile(ConversionJob& job);

}  // namespace quorvex
