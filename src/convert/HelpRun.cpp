#include "convert/HelpRun.h"

#include <unordered_set>

#include "base/Errors.h"
#include "base/Files.h"
#include "convert/ConversionCancelled.h"
#include "convert/Driver.h"
#include "project/HelpProjectWriter.h"

namespace quorvex {
namespace {

// Runs one step of a help; an error marks the help failed instead of ending
// the run. A cancelled conversion ends the run: the user asked for that.
template <typename Step>
void Attempt(RunHelp& help, Step step) {
  try {
    step();
  } catch (const EConversionCancelled&) {
    throw;
  } catch (const Exception& error) {
    help.Failed = true;
    help.Error = error.DisplayMessage();
  } catch (const std::exception& error) {
    help.Failed = true;
    help.Error = error.what();
  }
}

// Every other help that was read, for `help`'s references.
void IntroduceOthers(std::vector<std::unique_ptr<RunHelp>>& helps, RunHelp& help) {
  help.Job.OtherHelps.clear();
  for (const std::unique_ptr<RunHelp>& other : helps) {
    if (other.get() == &help || other->Failed) continue;
    help.Job.OtherHelps.push_back(
        {other->Job.HelpFileName, ProjectBaseName(other->Job) + ".chm", other->Folder, &other->Job});
  }
}

}  // namespace

std::vector<std::unique_ptr<RunHelp>> PlanRun(const std::vector<ByteString>& inputs, const ByteString& outputFolder) {
  std::vector<std::unique_ptr<RunHelp>> helps;
  std::unordered_set<ByteString> taken;
  for (const ByteString& input : inputs) {
    auto help = std::make_unique<RunHelp>();
    ChooseProject(help->Job, input);
    const ByteString name = ProjectBaseName(help->Job);
    help->Folder = name;
    for (int n = 2; !taken.insert(LowerCase(help->Folder)).second; ++n) help->Folder = name + "_" + DecimalText(n);
    ChooseOutputFolder(help->Job, outputFolder + "\\" + help->Folder);
    helps.push_back(std::move(help));
  }
  return helps;
}

void ConvertRun(std::vector<std::unique_ptr<RunHelp>>& helps, ConversionHost& host) {
  const int count = static_cast<int>(helps.size());
  for (int i = 0; i < count; ++i) {
    RunHelp& help = *helps[i];
    host.BeginHelp(help.Job, i, count);
    Attempt(help, [&] {
      ConversionScope scope(help.Job, host);
      ReadHelp(help.Job, host, help.Documents);
    });
  }
  for (int i = 0; i < count; ++i) {
    RunHelp& help = *helps[i];
    if (help.Failed) continue;
    IntroduceOthers(helps, help);
    host.BeginHelp(help.Job, i, count);
    Attempt(help, [&] {
      ConversionScope scope(help.Job, host);
      ForceDirectories(help.Job.OutputFolder);
      WriteHelp(help.Job, help.Documents);
    });
    help.Documents = DocumentSet();  // its pages are written: the model may go
  }
}

}  // namespace quorvex
