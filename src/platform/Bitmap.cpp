#include "platform/Bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/PictureFormats.h"

namespace quorvex {

namespace {

// Registers the bitmap for BMP files when the program starts.
struct BitmapRegistration {
  BitmapRegistration() {
    RegisterPictureFormat("bmp", "Bitmaps", "TBitmap", [] { return std::make_unique<Bitmap>(); });
  }
  ~BitmapRegistration() { UnregisterPictureClass("TBitmap"); }
};
const BitmapRegistration registration;

Color Rgb(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }
int RedOf(Color c) { return c & 0xFF; }
int GreenOf(Color c) { return (c >> 8) & 0xFF; }
int BlueOf(Color c) { return (c >> 16) & 0xFF; }

// 5- and 6-bit channels are widened so that full intensity stays full.
int Widen5(std::uint32_t v) { return static_cast<int>((v << 3) | (v >> 2)); }
int Widen6(std::uint32_t v) { return static_cast<int>((v << 2) | (v >> 4)); }

int EntryCapacity(PixelFormat format) {
  return IsPaletteFormat(format) ? (1 << StorageBits(format)) : kMaxPaletteEntries;
}

// Clears the bits right of the last pixel in a row's final byte, so shrinking
// a packed row leaves no stray pixels in the padding.
void ClearBitsAfter(std::uint8_t* row, std::int64_t width, int bits) {
  std::int64_t usedBits = width * bits;
  if (usedBits % 8 == 0) return;
  row[usedBits / 8] &= static_cast<std::uint8_t>(0xFF00 >> (usedBits % 8));
}

}  // namespace

int StorageBits(PixelFormat format) {
  switch (format) {
    case PixelFormat::Bit1: return 1;
    case PixelFormat::Bit4: return 4;
    case PixelFormat::Bit8: return 8;
    case PixelFormat::Bit15:
    case PixelFormat::Bit16:
    case PixelFormat::Custom: return 16;
    case PixelFormat::Bit32: return 32;
    case PixelFormat::Device:
    case PixelFormat::Bit24: return 24;
  }
  return 24;
}

bool IsPaletteFormat(PixelFormat format) {
  return format == PixelFormat::Bit1 || format == PixelFormat::Bit4 || format == PixelFormat::Bit8;
}

std::int64_t ScanLineBytes(std::int64_t width, int bits) { return (width * bits + 31) / 32 * 4; }

Palette GreyRampPalette(int bits) {
  int count = 1 << bits;
  int step = 255 / (count - 1);
  Palette ramp(count);
  for (int i = 0; i < count; ++i) {
    auto v = static_cast<std::uint8_t>(i * step);
    ramp[i] = {v, v, v, 0};
  }
  return ramp;
}

int NearestEntry(const Palette& palette, Color color) {
  if (palette.empty()) return -1;
  int best = 0;
  int bestDistance = 16777216;
  int count = std::min(static_cast<int>(palette.size()), kMaxPaletteEntries);
  for (int i = 0; i < count; ++i) {
    const PaletteEntry& e = palette[i];
    int distance = std::abs(e.Red - RedOf(color)) + std::abs(e.Green - GreenOf(color)) +
                   std::abs(e.Blue - BlueOf(color));
    if (distance == 0) return i;
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

Bitmap::Bitmap(std::int32_t width, std::int32_t height, PixelFormat format) : format_(format) {
  SetSize(width, height);
}

void Bitmap::Assign(const Persistent* source) {
  if (source == this) return;
  if (source == nullptr) {
    width_ = height_ = rowBytes_ = 0;
    format_ = PixelFormat::Device;
    pixels_ = {};
    palette_.clear();
    Changed();
    return;
  }
  if (const auto* other = dynamic_cast<const Bitmap*>(source)) {
    width_ = other->width_;
    height_ = other->height_;
    format_ = other->format_;
    rowBytes_ = other->rowBytes_;
    pixels_ = other->pixels_;
    palette_ = other->palette_;
    transparentColor_ = other->transparentColor_;
    StoreTransparent(other->Transparent());
    SetPaletteModified(true);
    Changed();
    return;
  }
  Graphic::Assign(source);
}

void Bitmap::Take(Bitmap& source) {
  if (&source == this) return;
  transparentColor_ = source.transparentColor_;
  StoreTransparent(source.Transparent());
  TakeContent(source);
}

void Bitmap::SetSize(std::int32_t width, std::int32_t height) {
  if (width == width_ && height == height_) return;
  if (width < 0 || height < 0) throw EInvalidGraphicOperation("Bitmap.SetSize: Invalid size");
  int bits = BitsPerPixel();
  std::int64_t rowBytes = ScanLineBytes(width, bits);
  if (rowBytes * height > kMaxBitmapBytes) throw EInvalidGraphicOperation("Bitmap.SetSize: Image too large");

  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(rowBytes * height));
  std::int32_t keptRows = std::min(height, height_);
  std::int32_t keptWidth = std::min(width, width_);
  std::size_t keptBytes = static_cast<std::size_t>((std::int64_t{keptWidth} * bits + 7) / 8);
  for (std::int32_t y = 0; y < keptRows && keptBytes > 0; ++y) {
    std::uint8_t* target = pixels.data() + y * rowBytes;
    std::memcpy(target, ScanLine(y), keptBytes);
    ClearBitsAfter(target, keptWidth, bits);
  }
  width_ = width;
  height_ = height;
  rowBytes_ = static_cast<std::int32_t>(rowBytes);
  pixels_ = std::move(pixels);
  Changed();
}

void Bitmap::SetFormat(PixelFormat format) {
  if (format == format_) return;
  Bitmap converted(width_, height_, format);
  Palette palette = palette_;
  if (static_cast<int>(palette.size()) > EntryCapacity(format)) palette.resize(EntryCapacity(format));
  converted.palette_ = palette;

  // Indexes stay as they are when the palette survives whole; everything else
  // goes through the colour, so the picture looks the same afterwards.
  bool keepIndexes = IsPaletteFormat(format_) && IsPaletteFormat(format) && !palette_.empty() &&
                     palette_.size() == palette.size();
  std::unordered_map<Color, std::uint32_t> nearest;
  Palette target = converted.EffectivePalette();
  for (std::int32_t y = 0; y < height_; ++y) {
    for (std::int32_t x = 0; x < width_; ++x) {
      if (keepIndexes) {
        converted.SetPixelValue(x, y, PixelValue(x, y));
      } else if (IsPaletteFormat(format)) {
        Color color = PixelColor(x, y);
        auto found = nearest.find(color);
        if (found == nearest.end()) {
          found = nearest.emplace(color, static_cast<std::uint32_t>(NearestEntry(target, color))).first;
        }
        converted.SetPixelValue(x, y, found->second);
      } else {
        converted.SetPixelColor(x, y, PixelColor(x, y));
      }
    }
  }
  format_ = format;
  rowBytes_ = converted.rowBytes_;
  pixels_ = std::move(converted.pixels_);
  palette_ = std::move(palette);
  SetPaletteModified(true);
  Changed();
}

std::uint8_t* Bitmap::ScanLine(std::int32_t y) {
  return const_cast<std::uint8_t*>(static_cast<const Bitmap*>(this)->ScanLine(y));
}

const std::uint8_t* Bitmap::ScanLine(std::int32_t y) const {
  if (y < 0 || y >= height_) throw EInvalidGraphicOperation("Scan line index out of range");
  return pixels_.data() + static_cast<std::size_t>(y) * rowBytes_;
}

void Bitmap::SetPalette(const Palette& palette) {
  palette_ = palette;
  if (static_cast<int>(palette_.size()) > EntryCapacity(format_)) palette_.resize(EntryCapacity(format_));
  SetPaletteModified(true);
  Changed();
}

void Bitmap::SetTransparentColor(Color color) {
  if (color == transparentColor_) return;
  transparentColor_ = color;
  Changed();
}

Palette Bitmap::EffectivePalette() const {
  if (IsPaletteFormat(format_) && palette_.empty()) return GreyRampPalette(BitsPerPixel());
  return palette_;
}

void Bitmap::CheckPixel(std::int32_t x, std::int32_t y) const {
  if (x < 0 || x >= width_ || y < 0 || y >= height_) {
    throw EInvalidGraphicOperation("Bitmap: Pixel position out of range");
  }
}

std::uint32_t Bitmap::PixelValue(std::int32_t x, std::int32_t y) const {
  CheckPixel(x, y);
  const std::uint8_t* row = ScanLine(y);
  switch (format_) {
    case PixelFormat::Bit1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case PixelFormat::Bit4: return (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    case PixelFormat::Bit8: return row[x];
    case PixelFormat::Bit15:
    case PixelFormat::Bit16:
    case PixelFormat::Custom: return row[2 * x] | (row[2 * x + 1] << 8);
    case PixelFormat::Bit32: {
      const std::uint8_t* p = row + 4 * x;
      return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    case PixelFormat::Device:
    case PixelFormat::Bit24: {
      const std::uint8_t* p = row + 3 * x;
      return p[0] | (p[1] << 8) | (p[2] << 16);
    }
  }
  return 0;
}

void Bitmap::SetPixelValue(std::int32_t x, std::int32_t y, std::uint32_t value) {
  CheckPixel(x, y);
  std::uint8_t* row = ScanLine(y);
  switch (format_) {
    case PixelFormat::Bit1: {
      auto mask = static_cast<std::uint8_t>(0x80 >> (x % 8));
      row[x / 8] = static_cast<std::uint8_t>((value & 1) ? (row[x / 8] | mask) : (row[x / 8] & ~mask));
      return;
    }
    case PixelFormat::Bit4: {
      std::uint8_t& b = row[x / 2];
      b = static_cast<std::uint8_t>((x % 2 == 0) ? ((b & 0x0F) | ((value & 0x0F) << 4)) : ((b & 0xF0) | (value & 0x0F)));
      return;
    }
    case PixelFormat::Bit8: row[x] = static_cast<std::uint8_t>(value); return;
    case PixelFormat::Bit15:
    case PixelFormat::Bit16:
    case PixelFormat::Custom:
      row[2 * x] = static_cast<std::uint8_t>(value);
      row[2 * x + 1] = static_cast<std::uint8_t>(value >> 8);
      return;
    case PixelFormat::Bit32:
      for (int i = 0; i < 4; ++i) row[4 * x + i] = static_cast<std::uint8_t>(value >> (8 * i));
      return;
    case PixelFormat::Device:
    case PixelFormat::Bit24:
      for (int i = 0; i < 3; ++i) row[3 * x + i] = static_cast<std::uint8_t>(value >> (8 * i));
      return;
  }
}

Color Bitmap::PixelColor(std::int32_t x, std::int32_t y) const {
  std::uint32_t v = PixelValue(x, y);
  switch (format_) {
    case PixelFormat::Bit1:
    case PixelFormat::Bit4:
    case PixelFormat::Bit8: {
      if (palette_.empty()) {
        int grey = static_cast<int>(v) * (255 / ((1 << BitsPerPixel()) - 1));
        return Rgb(grey, grey, grey);
      }
      if (v >= palette_.size()) return 0;
      const PaletteEntry& e = palette_[v];
      return Rgb(e.Red, e.Green, e.Blue);
    }
    case PixelFormat::Bit15:
    case PixelFormat::Custom: return Rgb(Widen5((v >> 10) & 31), Widen5((v >> 5) & 31), Widen5(v & 31));
    case PixelFormat::Bit16: return Rgb(Widen5((v >> 11) & 31), Widen6((v >> 5) & 63), Widen5(v & 31));
    case PixelFormat::Bit32:
    case PixelFormat::Device:
    case PixelFormat::Bit24: return Rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  return 0;
}

void Bitmap::SetPixelColor(std::int32_t x, std::int32_t y, Color color) {
  std::uint32_t r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
  switch (format_) {
    case PixelFormat::Bit1:
    case PixelFormat::Bit4:
    case PixelFormat::Bit8: {
      int index = (color & 0x01000000) ? (color & 0xFF)
                  : palette_.empty()       ? NearestEntry(GreyRampPalette(BitsPerPixel()), color)
                                           : NearestEntry(palette_, color);
      SetPixelValue(x, y, static_cast<std::uint32_t>(std::max(index, 0)));
      return;
    }
    case PixelFormat::Bit15:
    case PixelFormat::Custom: SetPixelValue(x, y, ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)); return;
    case PixelFormat::Bit16: SetPixelValue(x, y, ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)); return;
    case PixelFormat::Bit32:
    case PixelFormat::Device:
    case PixelFormat::Bit24: SetPixelValue(x, y, b | (g << 8) | (r << 16)); return;
  }
}

}  // namespace quorvex
