#pragma once
// Running another program and collecting what it prints.

#include <optional>
#include <string>
#include <vector>

namespace quorvex {

struct ProcessResult {
  int exitCode = -1;   ///< the exit status, or -1 when the program did not exit normally
  std::string output;  ///< stdout and stderr together
};

/// Runs `args[0]` (looked up in PATH) with the remaining arguments in the
/// folder `workingFolder`; nothing when the program could not be started.
std::optional<ProcessResult> RunProcess(const std::vector<std::string>& args, const std::string& workingFolder);

/// The full path of a program found in PATH, or nothing.
std::optional<std::string> FindProgram(const std::string& name);

}  // namespace quorvex
