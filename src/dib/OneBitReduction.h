#pragma once
// Reduction to one bit by a mask colour: pixels of exactly that colour
// become white (bit 1), all others black (bit 0).

#include "dib/DibRecord.h"

namespace quorvex {

/// The mask colour as red, green and blue.
struct MaskRgb {
  std::uint8_t Red = 255;
  std::uint8_t Green = 255;
  std::uint8_t Blue = 255;
};

/// From 24 bits: the pixel itself is compared with the mask.
DibRecord ConvertTrueColorTo1BitRGB(const DibRecord& source, MaskRgb mask, bool useMapping);
/// From 8 bits: the pixel's colour-table entry is compared.
DibRecord Convert8BitTo1BitRGB(const DibRecord& source, MaskRgb mask, bool useMapping);
/// From 4 bits: the pixel's colour-table entry is compared.
DibRecord Convert4BitRGBTo1BitRGB(const DibRecord& source, MaskRgb mask, bool useMapping);

/// Makes the colour table of a 1-bit result: 2 entries, black then white.
void SetBlackAndWhiteTable(DibRecord& record);

}  // namespace quorvex
