// libFuzzer target: BMP file images through the platform bitmap, and every
// bitmap that loads through its pixel colours and a change of format.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/Bitmap.h"

using namespace quorvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    Bitmap bitmap;
    bitmap.LoadFromMemory(std::span<const std::uint8_t>(data, size));
    // Reading every pixel reaches every byte the loader claims to have filled.
    Color sum = 0;
    for (std::int32_t y = 0; y < bitmap.Height() && y < 4096; ++y) {
      for (std::int32_t x = 0; x < bitmap.Width() && x < 4096; ++x) sum ^= bitmap.PixelColor(x, y);
    }
    (void)sum;
    if (std::int64_t{bitmap.Width()} * bitmap.Height() < (1 << 20)) bitmap.SetFormat(PixelFormat::Bit24);
  } catch (const Exception&) {
  }
  return 0;
}
