#include "cli/CommandLine.h"

#include <filesystem>
#include <optional>

#include "Version.h"
#include "convert/Driver.h"
#include "convert/HelpRun.h"
#include "convert/RunIndex.h"
#include "base/Encoding.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "cli/ChmCompiler.h"
#include "convert/CompiledHelp.h"
#include "project/HelpProjectWriter.h"

namespace quorvex {
namespace {

constexpr char kUsage[] =
    "usage: quorvex-convert PROJECT.hpj [OUTDIR] [--no-combine-popups] [--chm] [--chm-compiler NAME]\n"
    "                       [--web] [--keep-going] [--codepage N] [--quiet] [--version] [--help]\n"
    "       quorvex-convert A.hpj B.hpj ... OUTDIR [options]\n"
    "\n"
    "Converts a WinHelp project into an HTML Help project in OUTDIR\n"
    "(default: the project's folder). Several projects (a product's helps)\n"
    "convert into OUTDIR/<project name>/ each, with the references between\n"
    "them leading into each other's help.\n"
    "\n"
    "  --no-combine-popups  keep each page's popup texts in the page itself\n"
    "                       instead of one shared html/popup.js\n"
    "  --chm                also compile the result into a .chm (with our own\n"
    "                       compiled-help writer)\n"
    "  --chm-compiler NAME  compile the .chm with NAME: quorvex (the default) or\n"
    "                       chmcmd (Debian package fp-utils, for comparison);\n"
    "                       implies --chm\n"
    "  --web                also write a help for web browsers into OUTDIR/web\n"
    "                       (open web/index.html)\n"
    "  --keep-going         a missing topic file, a picture or a map include that\n"
    "                       cannot be read is a warning, not the end\n"
    "  --codepage N         read text of unknown code page as code page N\n"
    "                       (932, 1252, ...) instead of the project's CHARSET=/LCID=\n"
    "  --quiet              print errors only, no progress or warnings\n"
    "  --version            print the version and exit\n"
    "  --help               print this text and exit\n";

struct Options {
  std::vector<std::string> positional;  ///< the projects, once parsed
  std::string outputFolder;             ///< OUTDIR, or empty
  bool combinePopups = true;
  bool keepGoing = false;
  int codePage = 0;
  bool quiet = false;
  bool chm = false;
  bool chmcmd = false;
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
    } else if (arg == "--chm-compiler" || arg.rfind("--chm-compiler=", 0) == 0) {
      std::string value = arg == "--chm-compiler" ? (i + 1 < args.size() ? args[++i] : "") : arg.substr(15);
      if (value != "quorvex" && value != "chmcmd") return "--chm-compiler is quorvex or chmcmd";
      options.chm = true;
      options.chmcmd = value == "chmcmd";
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
  // The last of several arguments is the output folder unless it is a file.
  if (options.positional.size() >= 2 && !std::filesystem::is_regular_file(options.positional.back())) {
    options.outputFolder = options.positional.back();
    options.positional.pop_back();
  }
  if (options.positional.size() > 1 && options.outputFolder.empty()) return "several projects need an OUTDIR";
  return std::nullopt;
}

// Status texts on the terminal; topic files get a counter.
class TerminalHost : public ConversionHost {
 public:
  TerminalHost(const ConversionJob& job, std::ostream& err, const Options& options)
      : job_(&job), err_(err), options_(options), quiet_(options.quiet) {}

  void BeginHelp(const ConversionJob& job, int index, int count) override {
    job_ = &job;
    nextTopic_ = 0;
    if (!quiet_) err_ << "== " << DisplayText(ExtractFileName(job.ProjectPath)) << " (" << index + 1 << "/" << count << ")\n";
  }

  bool CombinePopupsChecked() override { return options_.combinePopups; }
  bool KeepGoing() override { return options_.keepGoing; }
  int CodePageOption() override { return options_.codePage; }

  void Warn(const ByteString& file, const ByteString& what) override {
    ++warnings_;
    if (quiet_) return;
    bool isPath = file.find('\\') != ByteString::npos || file.find('/') != ByteString::npos;
    err_ << "warning: " << (isPath ? NativePath(file) : DisplayText(file)) << ": " << ShowCharacterReferences(DisplayText(what)) << "\n";
  }

  /// The count of warnings, at the end of a run that had any; a finished
  /// conversion that wrote no page says so.
  void ReportWarningCount(bool finished = false) const {
    if (quiet_ || warnings_ == 0) return;
    err_ << "quorvex-convert: " << warnings_ << (warnings_ == 1 ? " warning" : " warnings");
    if (finished && job_->WrittenPages.empty()) err_ << "; the help has no pages";
    err_ << "\n";
  }

  void SetStatus(const ByteString& text) override {
    if (quiet_ || text.empty()) return;
    int count = job_->ProjectFiles.Count();
    if (nextTopic_ < count && text == job_->ProjectFiles[nextTopic_]) {
      ++nextTopic_;
      err_ << "[" << nextTopic_ << "/" << count << "] ";
    }
    err_ << DisplayText(text) << "\n";
  }

 private:
  const ConversionJob* job_;
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

// The old path, kept for comparison: chmcmd compiles a staged copy.
bool CompileWithChmcmd(const ConversionJob& job, std::ostream& out, std::ostream& err, bool quiet) {
  if (!quiet) err << "chmcmd\n";
  ChmOutcome chm = CompileChm(job.OutputFolder, ProjectBaseName(job));
  if (!chm.compiled) {
    err << "quorvex-convert: the .chm was not compiled: " << chm.report;
    if (!chm.report.empty() && chm.report.back() != '\n') err << "\n";
    return false;
  }
  out << chm.chmPath << "\n";
  return true;
}

// Prints the written .hhp (and the browser help), then compiles the .chm
// when asked; false when that fails. The compiled help's warnings count with
// the conversion's.
bool ReportOutputs(const ConversionJob& job, const Options& options, TerminalHost& host, std::ostream& out,
                   std::ostream& err) {
  out << NativePath(job.OutputFolder + ProjectBaseName(job) + ".hhp") << "\n";
  if (options.web) out << NativePath(job.OutputFolder + "web\\index.html") << "\n";
  if (!options.chm) return true;
  if (options.chmcmd) return CompileWithChmcmd(job, out, err, options.quiet);
  try {
    out << NativePath(CompileConvertedHelp(job.OutputFolder, ProjectBaseName(job), host)) << "\n";
  } catch (const Exception& error) {
    err << "quorvex-convert: the .chm was not compiled: " << error.DisplayMessage() << "\n";
    return false;
  }
  return true;
}

// Several projects, each into its own folder of OUTDIR; the others go on
// when one fails, and the exit status says that one did.
int ConvertSeveral(const Options& options, std::ostream& out, std::ostream& err) {
  std::vector<ByteString> inputs;
  for (const std::string& path : options.positional) inputs.push_back(EnginePath(AbsolutePath(path)));
  const ByteString outputFolder = EnginePath(AbsolutePath(options.outputFolder));
  std::vector<std::unique_ptr<RunHelp>> helps = PlanRun(inputs, outputFolder);
  for (std::unique_ptr<RunHelp>& help : helps) help->Job.WebHelp = options.web;
  TerminalHost host(helps.front()->Job, err, options);
  ConvertRun(helps, host);
  std::vector<std::string> failed;
  for (const std::unique_ptr<RunHelp>& help : helps) {
    const std::string name = DisplayText(ExtractFileName(help->Job.ProjectPath));
    if (help->Failed) {
      err << "quorvex-convert: " << name << ": " << help->Error << "\n";
      failed.push_back(name);
    } else if (!ReportOutputs(help->Job, options, host, out, err)) {
      failed.push_back(name);
    }
  }
  host.ReportWarningCount();
  if (options.web) {
    WriteRunIndex(outputFolder, helps);
    out << NativePath(outputFolder + "\\index.html") << "\n";
  }
  if (failed.empty()) return kExitSuccess;
  err << "quorvex-convert: " << failed.size() << " of " << helps.size() << " helps failed:";
  for (const std::string& name : failed) err << " " << name;
  err << "\n";
  return kExitConversionFailed;
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

  if (options.positional.size() > 1) return ConvertSeveral(options, out, err);
  ConversionJob job;
  ChooseProject(job, EnginePath(AbsolutePath(options.positional[0])));
  ChooseOutputFolder(job, !options.outputFolder.empty() ? EnginePath(AbsolutePath(options.outputFolder))
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
  const bool compiled = ReportOutputs(job, options, host, out, err);
  host.ReportWarningCount(true);
  return compiled ? kExitSuccess : kExitConversionFailed;
}

}  // namespace quorvex
