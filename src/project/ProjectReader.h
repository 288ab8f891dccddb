#pragma once
// Reading the WinHelp project file (.hpj) into the conversion job.

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// Clears the job's lists, texts and result flags, as before reading a
/// project: HelpFileName becomes the project's name with ".hlp".
void ClearProject(ConversionJob& job);

/// Clears the job's lists, texts and result flags, then fills them from the
/// [OPTIONS], [FILES], [WINDOWS], [ALIAS] and [MAP] sections of
/// `job.ProjectPath`. Lines whose first non-blank character is ";" are
/// comments everywhere.
void ReadProject(ConversionJob& job);

/// The " bgcolor=#rrggbb" attribute of the colour 0xRRGGBB.
ByteString BackgroundColorAttr(std::uint32_t rgb);

/// The " bgcolor=#rrggbb" attribute of one `main="` line of [WINDOWS], or
/// nothing when the line carries no colour. The colour is written "(rN)"
/// with N = blue * 65536 + green * 256 + red, or "(R,G,B)"; any other colour
/// text raises EConvertError.
std::optional<ByteString> MainWindowColorAttr(std::string_view line);

/// Reads a decimal integer as the project file's numbers are read: leading
/// blanks and a sign allowed, nothing after the digits; EConvertError otherwise.
int ParseInteger(std::string_view text);

/// The value without a trailing comment: " ;" (or a tab and ";") and what
/// follows it are cut, and the blanks before them.
ByteString WithoutComment(std::string_view value);

/// The text without leading and trailing blanks and tabs.
ByteString Trimmed(std::string_view text);

}  // namespace quorvex
