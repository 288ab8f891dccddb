#pragma once
// [MAP] of the project file: the numbers applications pass to the help
// viewer to open a topic, written in the section itself or in C header files
// (.h, .hm) it includes.

#include <optional>
#include <string_view>
#include <vector>

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// Reads the [MAP] lines into job.HelpContexts. A line is "context number",
/// "context=number", "#define context number" or "#include <file>" (also with
/// double quotes or none), the file relative to the project folder (an
/// include inside an included file: to that file's folder, then to the
/// project folder). An
/// included file that does not exist is a warning; one that exists but
/// cannot be read raises EFOpenError, or is a warning when the job keeps going.
void ReadContextMap(ConversionJob& job, const std::vector<ByteString>& lines);

/// The number of a [MAP] value, decimal or 0x hexadecimal, without the U or
/// L suffix it may carry; nothing when the text is no such number.
std::optional<ByteString> MapNumber(std::string_view text);

}  // namespace quorvex
