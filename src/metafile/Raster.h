#pragma once
// The pixel surface the metafile player draws on: 0x00RRGGBB pixels, an
// optional clip mask, and the raster operations of GDI.

#include <cstdint>
#include <memory>
#include <vector>

namespace quorvex {

/// A colour inside the player: red in bits 16-23, green 8-15, blue 0-7.
using Rgb = std::uint32_t;

inline constexpr Rgb kBlack = 0x000000;
inline constexpr Rgb kWhite = 0xFFFFFF;

/// Red, green and blue as an Rgb.
constexpr Rgb MakeRgb(int red, int green, int blue) {
  return (static_cast<Rgb>(red & 0xFF) << 16) | (static_cast<Rgb>(green & 0xFF) << 8) | static_cast<Rgb>(blue & 0xFF);
}

/// A picture in player colours, rows from the top.
struct PixelImage {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::vector<Rgb> Pixels;
  bool BottomUp = false;    ///< stored bottom row first, as most DIBs are
  bool Monochrome = false;  ///< a one-bit device bitmap: black and white stand for text and background colour
  Rgb At(std::int32_t x, std::int32_t y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};

/// Which pixels may be drawn: one byte per pixel, non-zero where drawing shows.
using ClipMask = std::shared_ptr<const std::vector<std::uint8_t>>;

/// The foreground colour `pen` combined with `dest` by a binary raster
/// operation (R2_BLACK = 1 ... R2_WHITE = 16; R2_COPYPEN = 13).
Rgb ApplyRop2(int rop2, Rgb pen, Rgb dest);

/// A ternary raster operation (SRCCOPY = 0x00CC0020 ...): the operation's
/// truth table, in bits 16-23, over pattern, source and destination.
Rgb ApplyRop3(std::uint32_t rop3, Rgb pattern, Rgb source, Rgb dest);

/// True when the ternary operation reads the source, the pattern, the destination.
bool Rop3UsesSource(std::uint32_t rop3);
bool Rop3UsesPattern(std::uint32_t rop3);

/// Pixels plus the clip that every drawing call honours.
class Raster {
 public:
  Raster(std::int32_t width, std::int32_t height, Rgb fill = kWhite);

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }

  Rgb At(std::int32_t x, std::int32_t y) const { return pixels_[Index(x, y)]; }
  /// True inside the surface and inside the clip.
  bool Drawable(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    return !clip_ || (*clip_)[Index(x, y)] != 0;
  }
  /// Stores a colour at a drawable pixel; other pixels are left alone.
  void Put(std::int32_t x, std::int32_t y, Rgb color) {
    if (Drawable(x, y)) pixels_[Index(x, y)] = color;
  }
  /// Combines a colour with a drawable pixel through a binary raster operation.
  void Plot(std::int32_t x, std::int32_t y, Rgb color, int rop2) {
    if (Drawable(x, y)) {
      Rgb& p = pixels_[Index(x, y)];
      p = ApplyRop2(rop2, color, p);
    }
  }

  const ClipMask& Clip() const { return clip_; }
  /// Sets the clip; none (nullptr) lets everything through.
  void SetClip(ClipMask clip) { clip_ = std::move(clip); }

 private:
  std::size_t Index(std::int32_t x, std::int32_t y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }

  std::int32_t width_;
  std::int32_t height_;
  std::vector<Rgb> pixels_;
  ClipMask clip_;
};

}  // namespace quorvex
