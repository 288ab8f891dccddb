#pragma once
// The in-memory bitmap that carries pictures between the readers and the PNG
// writer: a size, a pixel format, rows in DIB layout and a palette.

#include <cstdint>
#include <span>
#include <vector>

#include "base/ByteString.h"
#include "platform/Graphic.h"
#include "platform/Palette.h"

namespace quorvex {

/// How a bitmap stores its pixels. Device is the screen's format and is held
/// like Bit24; Custom stands for a format described by bit masks and is held
/// like Bit15 (5 bits each of red, green, blue in a 16-bit word).
enum class PixelFormat { Device, Bit1, Bit4, Bit8, Bit15, Bit16, Bit24, Bit32, Custom };

/// Bits one pixel occupies in a scan line of `format` (Device 24, Custom 16).
int StorageBits(PixelFormat format);

/// True for the formats whose pixels are palette indexes (1, 4 and 8 bits).
bool IsPaletteFormat(PixelFormat format);

/// Bytes of one scan line: the row's bits rounded up to a multiple of 4 bytes.
std::int64_t ScanLineBytes(std::int64_t width, int bits);

/// Largest pixel block a bitmap allocates.
inline constexpr std::int64_t kMaxBitmapBytes = std::int64_t{1} << 30;

/// A bitmap whose scan lines are counted from the top and laid out as in a
/// DIB: pixels packed most significant bits first (1 and 4 bits), 15- and
/// 16-bit little-endian words (red in the high bits), 24 bits as blue, green,
/// red, 32 bits as blue, green, red and a fourth byte; every row padded to a
/// multiple of 4 bytes. A new bitmap is empty (0 x 0, Device format).
class Bitmap : public Graphic {
 public:
  Bitmap() = default;
  /// A bitmap of the given size and format with all pixel bytes zero.
  Bitmap(std::int32_t width, std::int32_t height, PixelFormat format);

  const char* ClassName() const override { return "TBitmap"; }

  /// No source clears the bitmap; another Bitmap is copied (size, format,
  /// pixels, palette, transparency); any other source is asked to assign itself.
  void Assign(const Persistent* source) override;
  /// Back to the new, empty state (the transparency settings stay).
  void Clear() { Assign(nullptr); }
  /// What Assign(&source) does, for a source that is not needed afterwards:
  /// the pixels and palette move instead of being copied, and `source` is
  /// left empty.
  void Take(Bitmap& source);

  /// Loads a BMP file; a file that cannot be read raises EFOpenError.
  void LoadFromFile(const ByteString& path);
  /// Loads a BMP file image held in memory: information headers of 12, 40,
  /// 52, 56, 108 and 124 bytes; 1, 4, 8, 16, 24 and 32 bits; plain, 4- and
  /// 8-bit run-length and bit-field pixels; rows bottom-up or top-down. The
  /// file-size field is ignored. 1, 4, 8 and 24 bits load as they are, 16
  /// and 32 bits as Bit15, Bit16 or Bit32 when their masks are those
  /// formats' and as Bit24 otherwise. Anything unreadable raises
  /// EInvalidGraphic "Bitmap image is not valid", a pixel block above
  /// kMaxBitmapBytes "Bitmap image is too large"; the bitmap then stays as it was.
  void LoadFromMemory(std::span<const std::uint8_t> image);

  /// True when the width or the height is 0.
  bool Empty() const override { return width_ == 0 || height_ == 0; }
  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  void SetWidth(std::int32_t width) override { SetSize(width, height_); }
  void SetHeight(std::int32_t height) override { SetSize(width_, height); }
  /// Resizes, keeping the pixels of the part both sizes share; new pixels are
  /// zero. A negative size or a pixel block above kMaxBitmapBytes raises
  /// EInvalidGraphicOperation and leaves the bitmap as it was.
  void SetSize(std::int32_t width, std::int32_t height);

  PixelFormat Format() const { return format_; }
  /// Changes the format and converts the pixels so that they keep their
  /// colours (as near as the new format allows). Palette formats keep the
  /// palette, cut to what the new depth can index; a palette format without
  /// palette entries stands for a grey ramp.
  void SetFormat(PixelFormat format);
  /// Bits one pixel occupies in a scan line.
  int BitsPerPixel() const { return StorageBits(format_); }
  /// Bytes of one scan line, a multiple of 4.
  std::int32_t RowBytes() const { return rowBytes_; }

  /// The pixel bytes of row `y`, counted from the top. A row outside the
  /// bitmap raises EInvalidGraphicOperation.
  std::uint8_t* ScanLine(std::int32_t y);
  const std::uint8_t* ScanLine(std::int32_t y) const;

  /// The palette (at most 256 entries; for palette formats at most 2^bits).
  Palette GetPalette() const override { return palette_; }
  /// Takes the palette, cut to the entries the format can index; calls Changed.
  void SetPalette(const Palette& palette) override;

  /// The colour shown transparent when the transparent flag is on (-1: none).
  Color TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(Color color);

  /// The colour of one pixel (red in bits 0-7). Palette pixels are looked up
  /// in the palette (a grey ramp when it has no entries; black past its end);
  /// 5- and 6-bit channels are widened by repeating their top bits.
  Color PixelColor(std::int32_t x, std::int32_t y) const;
  /// Sets one pixel. For palette formats a colour with bit 24 set gives the
  /// index in its low byte; any other colour picks the nearest palette entry.
  void SetPixelColor(std::int32_t x, std::int32_t y, Color color);

  /// The raw value of one pixel: the palette index for palette formats, the
  /// stored bits otherwise (24 and 32 bits: blue + green * 256 + red * 65536).
  std::uint32_t PixelValue(std::int32_t x, std::int32_t y) const;
  void SetPixelValue(std::int32_t x, std::int32_t y, std::uint32_t value);

 private:
  void CheckPixel(std::int32_t x, std::int32_t y) const;
  /// Takes size, format, pixels and palette of `loaded`, leaving it empty.
  void TakeContent(Bitmap& loaded);
  Palette EffectivePalette() const;

  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  PixelFormat format_ = PixelFormat::Device;
  std::int32_t rowBytes_ = 0;
  std::vector<std::uint8_t> pixels_;
  Palette palette_;
  Color transparentColor_ = -1;
};

/// The grey ramp a palette format without palette entries stands for: 2^bits
/// entries from black to white in equal steps.
Palette GreyRampPalette(int bits);

/// Index of the palette entry nearest to `color` (sum of the channel
/// differences; the first of equal entries wins), or -1 for no entries.
int NearestEntry(const Palette& palette, Color color);

}  // namespace quorvex
