#pragma once
// Conversions to more bits per pixel. Palette pixels keep their index (1 and
// 4 bits to 4 and 8 bits) or take their colour-table colour (to 24 bits);
// the result keeps the colour table and colours used of the source.

#include "dib/DibRecord.h"

namespace quorvex {

DibRecord Convert1BitRGBTo4BitRGB(const DibRecord& source, bool useMapping);
DibRecord Convert1BitRGBTo8BitRGB(const DibRecord& source, bool useMapping);
DibRecord Convert4BitRGBTo8BitRGB(const DibRecord& source, bool useMapping);
DibRecord Convert1BitRGBToTrueColor(const DibRecord& source, bool useMapping);
DibRecord Convert4BitRGBToTrueColor(const DibRecord& source, bool useMapping);
DibRecord Convert8BitRGBToTrueColor(const DibRecord& source, bool useMapping);

}  // namespace quorvex
