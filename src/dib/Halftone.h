#pragma once
// Error-diffusion halftones: onto the fixed colour cube of 6 red, 7 green
// and 5 blue levels (8 bits, 215 colours), or onto black and white (1 bit).

#include <array>

#include "dib/DibRecord.h"

namespace quorvex {

/// Entries of the colour-halftone table.
inline constexpr int kHalftoneColors = 215;

/// The colour-halftone table: entry r x 35 + g x 5 + b of the cube (red 0,
/// 51, 102, 153, 204, 255; green 0, 43, 85, 128, 171, 214, 255; blue 0, 64,
/// 128, 192, 255), then (128, 0, 0), (128, 128, 0), (128, 0, 128), (192,
/// 192, 192), (128, 128, 128).
const std::array<RgbQuad, kHalftoneColors>& HalftoneColorTable();

/// Halftones a plain 1-, 4-, 8- or 24-bit DIB onto the colour cube. Rows are
/// taken in memory order, even rows left to right and odd rows right to left;
/// each pixel's colour is corrected by 12/32 of the error above it, 12/32 of
/// the error of the pixel before it and 5/32 of the error diagonally behind
/// it above.
DibRecord ConvertToHalfTone(const DibRecord& source, bool useMapping);

/// Halftones likewise onto black and white: a pixel whose corrected red,
/// green and blue add up to 384 or more becomes white.
DibRecord ConvertToHalfToneBW(const DibRecord& source, bool useMapping);

}  // namespace quorvex
