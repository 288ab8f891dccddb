#pragma once
// Bitmaps for picture tests: every pixel format, filled with reproducible
// noise or with given pixels.

#include <cstdint>
#include <memory>

#include "platform/Bitmap.h"

namespace quorvex::test {

/// A bitmap whose pixel bytes (padding included) are pseudo-random from
/// `seed`; palette formats get a full palette of random colours.
std::unique_ptr<Bitmap> NoiseBitmap(PixelFormat format, int width, int height, std::uint32_t seed = 1);

/// A bitmap of one format with every pixel value 0 and no palette.
std::unique_ptr<Bitmap> BlankBitmap(PixelFormat format, int width, int height);

/// A palette of `count` random colours.
Palette NoisePalette(int count, std::uint32_t seed);

/// Every format a bitmap can have.
inline constexpr PixelFormat kAllPixelFormats[] = {PixelFormat::Bit1,  PixelFormat::Bit4,  PixelFormat::Bit8,
                                                   PixelFormat::Bit15, PixelFormat::Bit16, PixelFormat::Bit24,
                                                   PixelFormat::Bit32, PixelFormat::Device, PixelFormat::Custom};

/// A short name for test messages ("1", "24", "device", ...).
const char* FormatName(PixelFormat format);

}  // namespace quorvex::test
