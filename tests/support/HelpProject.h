#pragma once
// A help project laid out in a fresh folder: the project file written from
// its sections, any other file by name, and a conversion through
// quorvex-convert's command line into "out".

#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"

namespace quorvex::test {

/// What one run of the command line gave.
struct RunResult {
  int code;
  std::string out, err;
};

/// Runs quorvex-convert with `args` (no program name).
RunResult RunConverter(const std::vector<std::string>& args);

class HelpProject {
 public:
  /// `lineEnd` ends every line of the project file ("\n" for the LF-only files many projects have).
  explicit HelpProject(std::string lineEnd = "\r\n") : lineEnd_(std::move(lineEnd)) {}

  /// Adds a section ("[OPTIONS]", ...) with its lines, in the order added.
  HelpProject& Section(const std::string& header, std::vector<std::string> lines);
  /// Writes any file of the project (native relative name).
  HelpProject& File(const std::string& name, const std::string& bytes);
  /// Writes the project file "help.hpj"; its engine path.
  ByteString WriteProject();
  /// Writes the project file and converts it into "out" with the options.
  RunResult Convert(std::vector<std::string> options = {});
  /// A file the conversion wrote, relative to "out".
  std::string Output(const std::string& name) const { return dir.Read("out/" + name); }
  bool HasOutput(const std::string& name) const { return dir.Exists("out/" + name); }

  TempDir dir;

 private:
  std::string lineEnd_;
  std::string text_;
};

}  // namespace quorvex::test
