#include "png/SFunc.h"

#include <algorithm>

namespace quorvex {

std::int32_t DibRowStride(std::int32_t width, std::int32_t bits) {
  // The shift is a logical one on the 32-bit product, as the row arithmetic of DIBs is.
  std::uint32_t bytes = (static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bits) + 7) >> 3;
  return static_cast<std::int32_t>((bytes + 3) & ~std::uint32_t{3});
}

std::int32_t NearestPaletteIndex(const Palette& palette, std::int32_t color) {
  return NearestEntry(palette, color);
}

std::int32_t PaletteEntryColor(const Palette& palette, std::int32_t index) {
  if (index < 0 || index >= static_cast<std::int32_t>(palette.size()) || index >= kMaxPaletteEntries) return -1;
  const PaletteEntry& e = palette[index];
  return e.Blue * 65536 + e.Green * 256 + e.Red;
}

std::int32_t PaletteToQuads(const Palette& palette, QuadTable& quads) {
  std::int32_t count = std::min<std::int32_t>(static_cast<std::int32_t>(palette.size()), kMaxPaletteEntries);
  for (std::int32_t i = 0; i < count; ++i) quads[i] = {palette[i].Blue, palette[i].Green, palette[i].Red, 0};
  return count;
}

Palette QuadsToPalette(const QuadTable& quads, std::int32_t count) {
  Palette palette(static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, kMaxPaletteEntries)));
  for (std::size_t i = 0; i < palette.size(); ++i) palette[i] = {quads[i].Red, quads[i].Green, quads[i].Blue, 0};
  return palette;
}

std::int32_t MakeGrayQuads(QuadTable& quads, std::int32_t bits) {
  std::int32_t count = 256;
  std::int32_t step = 1;
  if (bits == 1) count = 2, step = 255;
  if (bits == 2) count = 4, step = 85;
  if (bits == 4) count = 16, step = 17;
  for (std::int32_t i = 0; i < count; ++i) {
    auto v = static_cast<std::uint8_t>(i * step);
    quads[i] = {v, v, v, 0};
  }
  return count;
}

PixelFormat BitsToPixelFormat(std::int32_t bits) {
  switch (bits) {
    case 1: return PixelFormat::Bit1;
    case 4: return PixelFormat::Bit4;
    case 8: return PixelFormat::Bit8;
    case 15: return PixelFormat::Bit15;
    case 16: return PixelFormat::Bit16;
    case 32: return PixelFormat::Bit32;
    default: return PixelFormat::Bit24;
  }
}

std::int32_t PixelFormatToBits(PixelFormat format) {
  switch (format) {
    case PixelFormat::Device: return 24;
    case PixelFormat::Bit1: return 1;
    case PixelFormat::Bit4: return 4;
    case PixelFormat::Bit8: return 8;
    case PixelFormat::Bit15: return 15;
    case PixelFormat::Bit16: return 16;
    case PixelFormat::Bit24: return 24;
    case PixelFormat::Bit32: return 32;
    case PixelFormat::Custom: return 15;
  }
  return 24;
}

}  // namespace quorvex
