#pragma once
// File images built from the held form of a picture, for the platform to
// load: a BMP file for a bitmap picture, a placeable metafile for a metafile.

#include <cstdint>
#include <span>
#include <vector>

#include "metafile/Metafile.h"
#include "shg/shg.h"

namespace quorvex {

/// A BMP file image of `header`'s picture: a 14-byte file header, a 40-byte
/// information header (no compression), the palette and the pixel rows.
std::vector<std::uint8_t> BuildBmpImage(const TShgBitmapHeader& header, std::span<const std::uint8_t> palette,
                                        std::span<const std::uint8_t> pixels);

/// The exclusive-or of the ten 16-bit words before a placeable header's checksum.
std::uint16_t PlaceableChecksum(std::span<const std::uint8_t> header);

/// A placeable metafile of `width` x `height` units at 96 per inch (each kept
/// to 16 bits) holding `records`.
std::vector<std::uint8_t> BuildPlaceableMetafile(std::uint32_t width, std::uint32_t height,
                                                 std::span<const std::uint8_t> records);

}  // namespace quorvex
