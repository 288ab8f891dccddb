#pragma once
// quorvex-convert: the conversion without the window.

#include <ostream>
#include <string>
#include <vector>

namespace quorvex {

/// Exit codes of quorvex-convert.
enum ExitCode { kExitSuccess = 0, kExitConversionFailed = 1, kExitUsage = 2 };

/// Runs quorvex-convert with its arguments (without the program name).
/// Results go to `out`, status texts and errors to `err`, both in UTF-8.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quorvex
