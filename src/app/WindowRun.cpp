#include "app/WindowRun.h"

#include <exception>
#include <memory>

#include "base/Encoding.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "convert/ConversionCancelled.h"
#include "convert/Driver.h"
#include "convert/HelpRun.h"
#include "convert/RunIndex.h"

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
  for (const std::unique_ptr<RunHelp>& help : helps) {
    const std::string name = DisplayText(ExtractFileName(help->Job.ProjectPath));
    if (help->Failed) {
      outcome.Errors.push_back(name + ": " + help->Error);
    } else {
      anyConverted = true;
    }
  }
  if (finished && anyConverted && options.BrowserHelp &&
      Attempt(outcome, "", [&] { WriteRunIndex(outputFolder, helps); })) {
    outcome.WebHelp = outputFolder + "\\index.html";
  }
  if (DirectoryExists(outputFolder)) outcome.Folder = outputFolder + "\\";
  return outcome;
}

}  // namespace quorvex
