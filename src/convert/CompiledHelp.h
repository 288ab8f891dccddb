#pragma once
// The compiled help (.chm) of a converted project, written by our own
// compiled-help writer; the command line and the window both call this.

#include "base/ByteString.h"
#include "job/StatusSink.h"

namespace quorvex {

/// Compiles OutputFolder + base + ".hhp" into the .chm it names; the
/// writer's warnings and progress go to `sink`. Returns the engine path of
/// the .chm; raises an Exception when it cannot be compiled, and then leaves
/// no .chm behind.
ByteString CompileConvertedHelp(const ByteString& outputFolder, const ByteString& base, StatusSink& sink);

}  // namespace quorvex
