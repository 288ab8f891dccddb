#include "support/HelpProject.h"

#include <sstream>

#include "cli/CommandLine.h"

namespace quorvex::test {

RunResult RunConverter(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int code = RunCommandLine(args, out, err);
  return {code, out.str(), err.str()};
}

HelpProject& HelpProject::Section(const std::string& header, std::vector<std::string> lines) {
  if (!text_.empty()) text_ += lineEnd_;
  text_ += header + lineEnd_;
  for (const std::string& line : lines) text_ += line + lineEnd_;
  return *this;
}

HelpProject& HelpProject::File(const std::string& name, const std::string& bytes) {
  dir.Write(name, bytes);
  return *this;
}

ByteString HelpProject::WriteProject() {
  dir.Write("help.hpj", text_);
  return dir.Engine() + "help.hpj";
}

RunResult HelpProject::Convert(std::vector<std::string> options) {
  WriteProject();
  options.insert(options.begin(), {dir.Native() + "/help.hpj", dir.Native() + "/out"});
  return RunConverter(options);
}

}  // namespace quorvex::test
