#pragma once
// |FONT: the fonts topic text is written in. Each paragraph record refers to
// them by number; a font gives the face, size, colour and the bold and
// italic attributes.

#include <cstdint>
#include <optional>
#include <vector>

#include "base/ByteString.h"
#include "hlp/HelpFileSystem.h"

namespace quorvex {

struct HelpFont {
  ByteString FaceName;  ///< bytes in the help's code page
  bool Bold = false;
  bool Italic = false;
  int HalfPoints = 0;                  ///< the size; 0 when not known
  std::optional<std::uint32_t> Color;  ///< 0xRRGGBB; none for the default text colour
};

/// The fonts in descriptor order. A |FONT that cannot be read gives the fonts
/// read so far, as a problem; one of a form this reader does not know gives
/// none, as a note.
std::vector<HelpFont> ReadFonts(const InternalFile& file, ReadProblems& problems);

}  // namespace quorvex
