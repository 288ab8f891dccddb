#pragma once
// Builds segmented-hypergraphics (.shg) files field by field: a file header,
// one bitmap or metafile picture with its data, and a hotspot section.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/LittleEndianBytes.h"

namespace quorvex::test {

/// One hotspot record with its two strings.
struct ShgHotspot {
  std::uint8_t Type = 0xE3;  ///< 0xE3 jump, 0xE2 popup, 0xC8 macro
  std::uint8_t Second = 0;   ///< 0: visible
  std::uint16_t X = 0, Y = 0, Width = 0, Height = 0;
  std::string Name;
  std::string Target;
};

struct ShgBuilder {
  std::uint16_t Magic = 0x506C;
  std::uint16_t PictureCount = 1;
  std::uint32_t PictureOffset = 8;  ///< the picture follows the header (and any gap)
  std::uint8_t PictureType = 6;     ///< 6 bitmap, 8 metafile
  std::uint8_t Packing = 0;
  bool LongNumbers = false;  ///< write every compressed number in its two-part form

  // Bitmap pictures.
  std::uint32_t XDpi = 96, YDpi = 96;
  std::uint16_t Planes = 1, BitCount = 8;
  std::uint32_t Width = 1, Height = 1;
  std::optional<std::uint32_t> ColorsUsed;  ///< default: Palette.size() / 4
  std::uint32_t ColorsImportant = 0;
  Bytes Palette;  ///< blue, green, red, reserved per entry

  // Metafile pictures.
  std::uint16_t MappingMode = 8;
  std::uint16_t MetricWidth = 2540, MetricHeight = 2540;  ///< hundredths of a millimetre
  std::uint32_t DecompressedSize = 0;

  Bytes Data;  ///< pixel data or metafile records, as stored (packed when Packing is 1)
  std::optional<std::uint32_t> CompressedSize;  ///< default: Data.size()

  std::vector<ShgHotspot> Hotspots;
  Bytes MacroData;
  std::optional<std::uint32_t> HotspotSize;    ///< default: the section's size, 0 without hotspots
  std::optional<std::uint32_t> HotspotOffset;  ///< default: where the section starts, 0 without hotspots

  Bytes Build() const;
};

}  // namespace quorvex::test
