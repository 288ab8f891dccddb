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
    "usage: quorvex-convert PROJECT.hpj|HELP.hlp [OUTDIR] [--no-combine-popups] [--chm] [--web]\n"
    "                       [--keep-going] [--codepage N] [--quiet] [--version] [--help]\n"
    "\n"
    "Converts a WinHelp project, or a compiled WinHelp file (known by its\n"
    "content, whatever its name), into an HTML Help project in OUTDIR\n"
    "(default: the input's folder).\n"
    "\n"
    "  --no-combine-popups  keep each page's popup texts in the page itself\n"
    "                       instead of one shared html/popup.js\n"
    "  --chm                also compile the result into a .chm with chmcmd\n"
    "                       (Debian package fp-utils)\n"
    "  --web                also write a help for web browsers into OUTDIR/web\n"
    "                       (open web/index.html)\n"
    "  --keep-going         a missing topic file, a picture or a map include that\n"
    "                       cannot be read, or damage in a compiled help, is a\n"
    "                       warning, not the end\n"
    "  --codepage N         read text of unknown code page as code page N\n"
    "                       (932, 1252, ...) instead of the project's CHARSET=/LCID=\n"
    "  --quiet              print errors only, no progress or warnings\n"
    "  --version            print the version and exit\n"
    "  --help               print this text and exit\n";

struct Options {
  std::vector<std::string> positional;
  bool combinePopups = true;
  bool keepGoing = false;
  int codePage = 0;
  bool quiet = false;
  bool chm = false;
  bool web = false;
  bool version = false;
  bool help = false;
};

// A code page number for --codepage.
std::optional<int> CodePageNumber(const std::string& text) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  int value = std::stoi(text);
  return value > 0 ? std::optional<int>(value) : std::nullopt;
}

// Parses the arguments; an error text when they make no sense.
std::optional<std::string> Parse(const std::vector<std::string>& args, Options& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--no-combine-popups") {
      options.combinePopups = false;
    } else if (arg == "--keep-going") {
      options.keepGoing = true;
    } else if (arg == "--codepage" || arg.rfind("--codepage=", 0) == 0) {
      std::string value = arg == "--codepage" ? (i + 1 < args.size() ? args[++i] : "") : arg.substr(11);
      std::optional<int> codePage = CodePageNumber(value);
      if (!codePage) return "--codepage needs a code page number";
      options.codePage = *codePage;
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
  if (options.positional.empty()) return "no project file or compiled help given";
  if (options.positional.size() > 2) return "too many arguments";
  return std::nullopt;
}

// Status texts on the terminal; topic files get a counter.
class TerminalHost : public ConversionHost {
 public:
  TerminalHost(const ConversionJob& job, std::ostream& err, const Options& options)
      : job_(job), err_(err), options_(options), quiet_(options.quiet) {}

  bool CombinePopupsChecked() override { return options_.combinePopups; }
  bool KeepGoing() override { return options_.keepGoing; }
  int CodePageOption() override { return options_.codePage; }

  void Warn(const ByteString& file, const ByteString& what) override {
    ++warnings_;
    if (quiet_) return;
    bool isPath = file.find('\\') != ByteString::npos || file.find('/') != ByteString::npos;
    err_ << "warning: " << (isPath ? NativePath(file) : DisplayText(file)) << ": " << DisplayText(what) << "\n";
  }

  /// The count of warnings, at the end of a run that had any.
  void ReportWarningCount() const {
    if (quiet_ || warnings_ == 0) return;
    err_ << "quorvex-convert: " << warnings_ << (warnings_ == 1 ? " warning" : " warnings") << "\n";
  }

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
  const Options& options_;
  bool quiet_;
  int nextTopic_ = 0;
  int warnings_ = 0;
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
  TerminalHost host(job, err, options);
  try {
    RunConversion(job, host);
  } catch (const Exception& error) {
    host.ReportWarningCount();
    err << "quorvex-convert: " << error.DisplayMessage() << "\n";
    return kExitConversionFailed;
  } catch (const std::exception& error) {
    host.ReportWarningCount();
    err << "quorvex-convert: " << error.what() << "\n";
    return kExitConversionFailed;
  }
  host.ReportWarningCount();
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
