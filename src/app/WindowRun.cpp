#include "app/WindowRun.h"

#include <exception>
#include <memory>

#include "base/Encoding.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "base/Texts.h"
#include "convert/CompiledHelp.h"
#include "convert/ConversionCancelled.h"
#include "convert/Driver.h"
#include "convert/HelpRun.h"
#include "convert/RunIndex.h"
#include "project/HelpProjectWriter.h"

namespace quorvex {
namespace {

// Runs one step; an error becomes a line of the outcome (after `lead`), a
// cancel its flag. True when the step finished.
template <typename Step>
bool Attempt(RunOutcome& outcome, const std::string& lead, Step step) {
  try {
    step();
    return true;
  } catch (const EConversionCancelled&) {
    outcome.Cancelled = true;
  } catch (const Exception& error) {
    outcome.Errors.push_back(lead + error.DisplayMessage());
  } catch (const std::exception& error) {
    // Out of memory and the like: still a message, not the end of the program.
    outcome.Errors.push_back(lead + error.what());
  }
  return false;
}

// Compiles a converted help into its .chm, with the busy cursor; the .chm's
// engine path, or empty when that failed (an error of the outcome).
ByteString CompileHelp(ConversionJob& job, RunOutcome& outcome, const std::string& lead, ConversionHost& host) {
  ByteString chm;
  Attempt(outcome, lead + DisplayText(kChmNotCompiled) + ": ", [&] {
    ConversionScope scope(job, host);
    chm = CompileConvertedHelp(job.OutputFolder, ProjectBaseName(job), host);
  });
  return chm;
}

// The browser help's start page, when the finished conversion wrote it.
ByteString WrittenWebHelp(const ConversionJob& job) {
  const ByteString index = job.OutputFolder + "web\\index.html";
  return job.WebHelp && FileExists(index) ? index : ByteString();
}

}  // namespace

RunOutcome ConvertOneHelp(ConversionJob& job, const WindowOptions& options, ConversionHost& host) {
  RunOutcome outcome;
  job.WebHelp = options.BrowserHelp;
  const bool converted = Attempt(outcome, "", [&] { RunConversion(job, host); });
  if (converted) outcome.WebHelp = WrittenWebHelp(job);
  if (converted && options.CompiledHelp) outcome.Chm = CompileHelp(job, outcome, "", host);
  if (DirectoryExists(job.OutputFolder)) outcome.Folder = job.OutputFolder;
  return outcome;
}

RunOutcome ConvertSeveralHelps(const std::vector<ByteString>& inputs, const ByteString& outputFolder,
                               const WindowOptions& options, ConversionHost& host) {
  RunOutcome outcome;
  std::vector<std::unique_ptr<RunHelp>> helps = PlanRun(inputs, outputFolder);
  for (std::unique_ptr<RunHelp>& help : helps) help->Job.WebHelp = options.BrowserHelp;
  // A help that fails is recorded in it; only a cancel ends the run early.
  const bool finished = Attempt(outcome, "", [&] { ConvertRun(helps, host); });
  bool anyConverted = false;
  const int count = static_cast<int>(helps.size());
  for (int i = 0; i < count; ++i) {
    RunHelp& help = *helps[i];
    const std::string name = DisplayText(ExtractFileName(help.Job.ProjectPath));
    if (help.Failed) {
      outcome.Errors.push_back(name + ": " + help.Error);
      continue;
    }
    anyConverted = true;
    if (!finished || !options.CompiledHelp || outcome.Cancelled) continue;
    host.BeginHelp(help.Job, i, count);  // the writer's warnings belong to this help
    const ByteString chm = CompileHelp(help.Job, outcome, name + ": ", host);
    if (outcome.Chm.empty()) outcome.Chm = chm;
  }
  if (finished && !outcome.Cancelled && anyConverted && options.BrowserHelp &&
      Attempt(outcome, "", [&] { WriteRunIndex(outputFolder, helps); })) {
    outcome.WebHelp = outputFolder + "\\index.html";
  }
  if (DirectoryExists(outputFolder)) outcome.Folder = outputFolder + "\\";
  return outcome;
}

}  // namespace quorvex
