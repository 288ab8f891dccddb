#pragma once
// The HTML Help project file (.hhp), written last.

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// The project file's name without folder and without its last extension.
ByteString ProjectBaseName(const ConversionJob& job);

/// Writes OutputFolder + base + ".hhp": options, the main window, every page
/// present in OutputFolder + "html\" now and, when the project maps context
/// numbers, the [ALIAS] and [MAP] sections of context-sensitive help.
void WriteHelpProject(ConversionJob& job);

/// The default page (with its anchor, if any): CONTENTS=, else the first page
/// the topics pass wrote that still exists, else empty.
ByteString DefaultPage(const ConversionJob& job);

}  // namespace quorvex
