#pragma once
// A palette as the platform keeps it: entries of red, green, blue and flags.

#include <cstdint>
#include <vector>

namespace quorvex {

/// One palette entry.
struct PaletteEntry {
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;
  std::uint8_t Flags = 0;
  bool operator==(const PaletteEntry&) const = default;
};

/// One colour-table entry as a DIB stores it (and the PNG code's quad tables).
struct RgbQuad {
  std::uint8_t Blue = 0;
  std::uint8_t Green = 0;
  std::uint8_t Red = 0;
  std::uint8_t Reserved = 0;
  bool operator==(const RgbQuad&) const = default;
};

/// Most entries a palette holds.
inline constexpr int kMaxPaletteEntries = 256;

/// A palette; no entries means no palette.
using Palette = std::vector<PaletteEntry>;

}  // namespace quorvex
