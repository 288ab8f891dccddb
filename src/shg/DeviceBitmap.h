#pragma once
// Device-dependent bitmaps, the pictures of help files from the days of
// Windows 3.0: the display's own bitmap memory, no palette stored.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "shg/shg.h"

namespace quorvex {

/// Bytes of pixel data a device-dependent bitmap of `header` holds: rows of
/// every plane, each padded to a 16-bit word. 0 for a shape not supported.
std::size_t DeviceBitmapBytes(const TShgBitmapHeader& header);

/// A BMP file image of the device-dependent bitmap `rows` (DeviceBitmapBytes
/// of them, top row first). Monochrome bitmaps draw 0 black and 1 white;
/// colour bitmaps, of four bits in one plane or one bit in up to four planes,
/// index the display's sixteen colours. Other shapes raise EInvalidGraphic.
std::vector<std::uint8_t> DeviceBitmapImage(const TShgBitmapHeader& header, std::span<const std::uint8_t> rows);

}  // namespace quorvex
