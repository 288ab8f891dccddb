#pragma once
// Builds BMP files field by field, so that tests can write valid pictures
// and every kind of broken one.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "support/LittleEndianBytes.h"

namespace quorvex::test {

/// Red, green and blue of one colour-table entry.
struct Rgb3 {
  std::uint8_t Red = 0, Green = 0, Blue = 0;
};

struct BmpBuilder {
  std::uint16_t Type = 0x4D42;
  std::uint32_t HeaderSize = 40;  ///< 12 writes a core header; other sizes pad a 40-byte one with zeros
  std::int32_t Width = 1;
  std::int32_t Height = 1;
  std::uint16_t Planes = 1;
  std::uint16_t BitCount = 8;
  std::uint32_t Compression = 0;
  std::uint32_t SizeImage = 0;
  std::int32_t XPelsPerMeter = 0;
  std::int32_t YPelsPerMeter = 0;
  std::uint32_t ClrUsed = 0;
  std::uint32_t ClrImportant = 0;
  std::vector<std::uint32_t> Masks;  ///< written before the colour table
  std::vector<Rgb3> Colors;          ///< 4 bytes each (3 with a core header)
  Bytes Gap;                         ///< between the colour table and the pixels
  Bytes Pixels;
  std::optional<std::uint32_t> FileSize;     ///< default: the real size
  std::optional<std::uint32_t> PixelOffset;  ///< default: where the pixels start

  Bytes Build() const;
};

/// Rows of pixel bytes (each given without padding) packed into a DIB
/// block with every row padded to 4 bytes, in the order given.
Bytes PadRows(const std::vector<Bytes>& rows);

/// A grey ramp of `count` entries.
std::vector<Rgb3> GreyColors(int count);

}  // namespace quorvex::test
