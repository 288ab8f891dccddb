#pragma once
// The WinHelp contents file (.cnt beside the project) as an HTML Help
// contents file (.hhc).

#include "job/ConversionJob.h"

namespace quorvex {

/// Converts ProjectPath's ".cnt" into OutputFolder + base + ".hhc" when it has
/// at least one entry; sets HasContents and takes every entry's page out of
/// PopupPages. A missing .cnt is not an error.
void ConvertContents(ConversionJob& job);

}  // namespace quorvex
