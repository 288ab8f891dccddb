#pragma once
// Several helps of one product converted together, each into a folder of its
// own, so that references from one into another ("ctx@other.hlp") lead to
// the page the other's conversion writes.

#include <memory>
#include <string>
#include <vector>

#include "base/ByteString.h"
#include "convert/ConversionHost.h"
#include "document/DocumentSet.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// One help of a run.
struct RunHelp {
  ConversionJob Job;       ///< ProjectPath, ProjectFolder and OutputFolder chosen
  ByteString Folder;       ///< its folder in the run's output folder
  DocumentSet Documents;   ///< between reading and writing
  bool Failed = false;
  std::string Error;       ///< why it failed, for display (UTF-8)
};

/// The helps of a run, in the order given, each with its folder below
/// `outputFolder` (an engine path): the project's name, "_2", "_3", ... for
/// a name taken already (letter case ignored).
std::vector<std::unique_ptr<RunHelp>> PlanRun(const std::vector<ByteString>& inputs, const ByteString& outputFolder);

/// Reads every help, tells each the others, then writes every help. A help
/// that fails is recorded as failed and the others go on; links into it are
/// then links into a help the run does not convert. EConversionCancelled
/// from the host ends the whole run.
void ConvertRun(std::vector<std::unique_ptr<RunHelp>>& helps, ConversionHost& host);

}  // namespace quorvex
