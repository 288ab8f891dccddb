#pragma once
// Reading the WinHelp project file (.hpj) into the conversion job.

#include <optional>
#include <string_view>

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// Clears the job's lists, texts and result flags, then fills them from the
/// [OPTIONS], [FILES] and [WINDOWS] sections of `job.ProjectPath`.
void ReadProject(ConversionJob& job);

/// The " bgcolor=#rrggbb" attribute of one `main="` line of [WINDOWS], or
/// nothing when the line carries no colour; a colour text that is not an
/// integer raises EConvertError.
std::optional<ByteString> MainWindowColorAttr(std::string_view line);

/// Reads a decimal integer as the project file's numbers are read: leading
/// blanks and a sign allowed, nothing after the digits; EConvertError otherwise.
int ParseInteger(std::string_view text);

}  // namespace quorvex
