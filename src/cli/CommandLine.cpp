#include "cli/CommandLine.h"

#include <filesystem>
#include <optional>

#include "Version.h"
#include "convert/Driver.h"
#include "base/Encoding.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "cli/ChmCompiler.h"
#include "project/HelpProjectWriter.h"

namespace quorvex {
namespace {

constexpr char kUsage[] =
    "usage: quorvex-convert PROJECT.hpj [OUTDIR] [--no-combine-popups] [--chm] [--web] [--quiet] [--version] [--help]\n"
    "\n"
    "Converts a WinHelp project into an HTML Help project in OUTDIR\n"
    "(default: the project's folder).\n"
    "\n"
    "  --no-combine-popups  keep each page's popup texts in the page itself\n"
    "                       instead of one shared html/popup.js\n"
    "  --chm                also compile the result into a .chm with chmcmd\n"
    "                       (Debian package fp-utils)\n"
    "  --web                also write a help for web browsers into OUTDIR/web\n"
    "                       (open web/index.html)\n"
    "  --quiet              print no progress\n"
    "  --version            print the version and exit\n"
    "  --help               print this text and exit\n";

struct Options {
  std::vector<std::string> positional;
  bool combinePopups = true;
  bool quiet = false;
  bool chm = false;
  bool web = false;
  bool version = false;
  bool help = false;
};

// Parses the arguments; an error text when they make no sense.
std::optional<std::string> Parse(const std::vector<std::string>& args, Options& options) {
  for (const std::string& arg : args) {
    if (arg == "--no-combine-popups") {
      options.combinePopups = false;
    } else if (arg == "--chm") {
      options.chm = true;
    } else if (arg == "--web") {
      options.web = true;
    } else if (arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "unknown option " + arg;
    } else {
      options.positional.push_back(arg);
    }
  }
  if (options.help || options.version) return std::nullopt;
  if (options.positional.empty()) return "no project file given";
  if (options.positional.size() > 2) return "too many arguments";
  return std::nullopt;
}

// Status texts on the terminal; topic files get a counter.
class TerminalHost : public ConversionHost {
 public:
  TerminalHost(const ConversionJob& job, std::ostream& err, bool quiet, bool combinePopups)
      : job_(job), err_(err), quiet_(quiet), combinePopups_(combinePopups) {}

  bool CombinePopupsChecked() override { return combinePopups_; }

  void SetStatus(const ByteString& text) override {
    if (quiet_ || text.empty()) return;
    int count = job_.ProjectFiles.Count();
    if (nextTopic_ < count && text == job_.ProjectFiles[nextTopic_]) {
      ++nextTopic_;
      err_ << "[" << nextTopic_ << "/" << count << "] ";
    }
    err_ << DisplayText(text) << "\n";
  }

 private:
  const ConversionJob& job_;
  std::ostream& err_;
  bool quiet_;
  bool combinePopups_;
  int nextTopic_ = 0;
};

// An absolute, normalised native path without a trailing slash.
std::string AbsolutePath(const std::string& path) {
  std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
  while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
  return absolute;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options options;
  if (std::optional<std::string> problem = Parse(args, options)) {
    err << "quorvex-convert: " << *problem << "\n" << kUsage;
    return kExitUsage;
  }
  if (options.help) {
    out << kUsage;
    return kExitSuccess;
  }
  if (options.version) {
    out << "quorvex-convert " << kQuorvexVersion << "\n";
    return kExitSuccess;
  }

  ConversionJob job;
  ChooseProject(job, EnginePath(AbsolutePath(options.positional[0])));
  ChooseOutputFolder(job, options.positional.size() > 1 ? EnginePath(AbsolutePath(options.positional[1]))
                                                        : ExtractFileDir(job.ProjectPath));
  job.WebHelp = options.web;
  TerminalHost host(job, err, options.quiet, options.combinePopups);
  try {
    RunConversion(job, host);
  } catch (const Exception& error) {
    err << "quorvex-convert: " << error.DisplayMessage() << "\n";
    return kExitConversionFailed;
  } catch (const std::exception& error) {
    err << "quorvex-convert: " << error.what() << "\n";
    return kExitConversionFailed;
  }
  out << NativePath(job.OutputFolder + ProjectBaseName(job) + ".hhp") << "\n";
  if (options.web) out << NativePath(job.OutputFolder + "web\\index.html") << "\n";
  if (!options.chm) return kExitSuccess;
  if (!options.quiet) err << "chmcmd\n";
  ChmOutcome chm = CompileChm(job.OutputFolder, ProjectBaseName(job));
  if (!chm.compiled) {
    err << "quorvex-convert: the .chm was not compiled: " << chm.report;
    if (!chm.report.empty() && chm.report.back() != '\n') err << "\n";
    return kExitConversionFailed;
  }
  out << chm.chmPath << "\n";
  return kExitSuccess;
}

}  // namespace quorvex
