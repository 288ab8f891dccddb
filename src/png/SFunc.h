#pragma once
// Small palette and bitmap helpers of the PNG code: DIB row stride, nearest
// palette entry, palettes to and from RGB quad tables, grey ramps, and the
// mapping between bit counts and bitmap pixel formats.

#include <array>
#include <cstdint>

#include "platform/Bitmap.h"
#include "platform/Palette.h"

namespace quorvex {

/// A colour for background and transparency: red in bits 0-7, green 8-15,
/// blue 16-23; with kPaletteIndexMark set the low byte is a palette index.
using ColorRef = std::int32_t;
inline constexpr ColorRef kNoColor = -1;
inline constexpr ColorRef kPaletteIndexMark = 0x01000000;

/// A full table of 256 quads (1024 bytes).
using QuadTable = std::array<RgbQuad, 256>;

/// Bytes of one DIB row of `width` pixels of `bits` each: a multiple of 4.
std::int32_t DibRowStride(std::int32_t width, std::int32_t bits);

/// Index of the palette entry nearest to `color` (red, green, blue in bits
/// 0-23): the first exact match, else the smallest sum of channel differences
/// with ties kept at the lower index; -1 when the palette has no entries.
std::int32_t NearestPaletteIndex(const Palette& palette, std::int32_t color);

/// The colour of entry `index` as blue * 65536 + green * 256 + red, or -1
/// when there is no such entry.
std::int32_t PaletteEntryColor(const Palette& palette, std::int32_t index);

/// Copies up to 256 entries into `quads`; returns the number copied.
std::int32_t PaletteToQuads(const Palette& palette, QuadTable& quads);

/// A palette of the first `count` quads (at most 256; none for 0 or less).
Palette QuadsToPalette(const QuadTable& quads, std::int32_t count);

/// Fills a grey ramp: 2 entries for 1 bit, 4 for 2, 16 for 4, else 256;
/// returns the number of entries.
std::int32_t MakeGrayQuads(QuadTable& quads, std::int32_t bits);

/// 1, 4, 8, 15, 16, 32 to their formats; anything else to 24 bits.
PixelFormat BitsToPixelFormat(std::int32_t bits);

/// Bits of a format; the device format counts as 24 and the custom one as 15.
std::int32_t PixelFormatToBits(PixelFormat format);

}  // namespace quorvex
