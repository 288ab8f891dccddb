#include "support/BitmapBuilder.h"

#include <random>

namespace quorvex::test {

Palette NoisePalette(int count, std::uint32_t seed) {
  std::mt19937 random(seed);
  Palette palette(static_cast<std::size_t>(count));
  for (PaletteEntry& e : palette) {
    e.Red = static_cast<std::uint8_t>(random());
    e.Green = static_cast<std::uint8_t>(random());
    e.Blue = static_cast<std::uint8_t>(random());
  }
  return palette;
}

std::unique_ptr<Bitmap> NoiseBitmap(PixelFormat format, int width, int height, std::uint32_t seed) {
  auto bitmap = std::make_unique<Bitmap>(width, height, format);
  std::mt19937 random(seed);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bitmap->ScanLine(y);
    for (int i = 0; i < bitmap->RowBytes(); ++i) row[i] = static_cast<std::uint8_t>(random());
  }
  if (IsPaletteFormat(format)) bitmap->SetPalette(NoisePalette(1 << bitmap->BitsPerPixel(), seed + 7));
  return bitmap;
}

std::unique_ptr<Bitmap> BlankBitmap(PixelFormat format, int width, int height) {
  return std::make_unique<Bitmap>(width, height, format);
}

const char* FormatName(PixelFormat format) {
  switch (format) {
    case PixelFormat::Bit1: return "1";
    case PixelFormat::Bit4: return "4";
    case PixelFormat::Bit8: return "8";
    case PixelFormat::Bit15: return "15";
    case PixelFormat::Bit16: return "16";
    case PixelFormat::Bit24: return "24";
    case PixelFormat::Bit32: return "32";
    case PixelFormat::Device: return "device";
    case PixelFormat::Custom: return "custom";
  }
  return "?";
}

}  // namespace quorvex::test
