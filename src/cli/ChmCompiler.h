#pragma once
// Compiling a converted project into a .chm with chmcmd (Debian fp-utils).

#include <string>

#include "base/ByteString.h"

namespace quorvex {

struct ChmOutcome {
  bool compiled = false;
  std::string chmPath;  ///< native path of the written .chm (when compiled)
  std::string report;   ///< why it failed, with the compiler's output (UTF-8)
};

/// Compiles OutputFolder + base + ".hhp" (engine paths). The environment
/// variable QUORVEX_CHMCMD names another compiler program.
ChmOutcome CompileChm(const ByteString& outputFolder, const ByteString& base);

}  // namespace quorvex
