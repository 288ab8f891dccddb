#pragma once
// Device-independent bitmaps as metafile records carry them (information
// header, colour table, pixels in one block), and the old device-dependent
// bitmaps of the first metafile versions, decoded into player pixels.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "metafile/Raster.h"

namespace quorvex {

/// Most pixels a decoded bitmap may have.
inline constexpr std::int64_t kMaxDibPixels = std::int64_t{1} << 25;

/// Decodes a packed DIB: a 12-byte core header or an information header of
/// 40 bytes or more, the colour table (or, with `paletteIndexes`, 16-bit
/// indexes into `palette`), then the pixel rows or run-length data. Bit
/// counts 1, 4, 8, 16, 24, 32; plain, run-length and bit-field pixels.
/// Nothing when the block is malformed, too short or too large.
std::optional<PixelImage> DecodePackedDib(std::span<const std::uint8_t> dib, bool paletteIndexes,
                                          const std::vector<Rgb>& palette);

/// Decodes an old device-dependent bitmap: type, width, height, bytes per
/// row, planes and bits per pixel (10 bytes), `gap` bytes that are not
/// used, then the rows from the top. One bit per pixel gives 0 and 1 as
/// black and white (a Monochrome image), 24 bits are blue, green, red.
/// Nothing for other depths or malformed data.
std::optional<PixelImage> DecodeBitmap16(std::span<const std::uint8_t> bitmap, std::size_t gap);

}  // namespace quorvex
