#pragma once
// The HTML Help project file (.hhp), written last.

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// The project file's name without folder and without its last extension.
ByteString ProjectBaseName(const ConversionJob& job);

/// Writes OutputFolder + base + ".hhp": options, the main window, and every
/// page present in OutputFolder + "html\" now.
void WriteHelpProject(ConversionJob& job);

}  // namespace quorvex
