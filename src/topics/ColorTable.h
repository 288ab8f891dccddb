#pragma once
// The colour table of an RTF topic file: RTF colour number -> colour value.

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/ByteString.h"

namespace quorvex {

/// Colour values red * 65536 + green * 256 + blue, indexed by RTF colour
/// number. Entry 0 is 0 when the table starts with the automatic colour.
using ColorTable = std::vector<std::uint32_t>;

/// Reads the "{\colortbl" group found anywhere in `line`; empty when the line has none.
ColorTable ReadColorTable(std::string_view line);

/// A colour value as the digits of an HTML colour: lower-case hexadecimal, at least six digits.
ByteString ColorDigits(std::uint32_t value);

}  // namespace quorvex
