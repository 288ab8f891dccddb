#pragma once
// The page that lists the helps of a run, with their titles, in the run's
// output folder: where a reader of the browser helps starts.

#include <memory>
#include <vector>

#include "base/ByteString.h"
#include "convert/HelpRun.h"

namespace quorvex {

/// Writes `outputFolder`\index.html (UTF-8) with a link to the browser help
/// of every help of the run that converted.
void WriteRunIndex(const ByteString& outputFolder, const std::vector<std::unique_ptr<RunHelp>>& helps);

}  // namespace quorvex
