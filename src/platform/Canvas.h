#pragma once
// Drawing surfaces: a canvas sets pixels and stretches a picture in DIB
// layout into a rectangle, as the platform's device contexts do.

#include <cstdint>
#include <span>
#include <unordered_map>

#include "platform/Bitmap.h"
#include "platform/Graphic.h"
#include "platform/Palette.h"

namespace quorvex {

/// A picture in DIB layout handed to a canvas for drawing.
struct DibImage {
  std::int32_t Width = 0;
  std::int32_t Height = 0;         ///< negative when the rows are stored top-down
  int BitCount = 0;                ///< 1, 4, 8 or 24
  std::uint32_t Compression = 0;   ///< 0, 1 (8-bit run-length) or 2 (4-bit run-length)
  Palette Colors;                  ///< the colour table; indexes past its end are black
  std::span<const std::uint8_t> Bits;  ///< rows padded to 4 bytes, or the run-length stream
};

/// Red, green and blue in the colour layout of the platform.
constexpr Color RgbColor(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }

/// Something to draw on.
class Canvas {
 public:
  virtual ~Canvas() = default;

  /// Size of the surface in pixels.
  virtual std::int32_t SurfaceWidth() const = 0;
  virtual std::int32_t SurfaceHeight() const = 0;

  /// Sets one pixel (x from the left, y from the top); outside the surface nothing happens.
  void SetPixel(std::int32_t x, std::int32_t y, Color color);
  /// Fills a rectangle, clipped to the surface.
  void FillRect(const Rect& rect, Color color);

  /// Copies `image` into `dest`, stretched or shrunk. Every target pixel takes
  /// the colour of the source pixel under its centre (nearest neighbour: the
  /// colour-on-colour mode, which drops rows and columns when shrinking). A
  /// rectangle with Right < Left or Bottom < Top mirrors the picture; what
  /// falls outside the surface is clipped. Run-length images are decoded
  /// first. An image whose pixels are missing or whose run-length data is bad
  /// draws nothing, as the platform refuses it.
  void StretchDIBits(const Rect& dest, const DibImage& image);

 protected:
  /// Stores a pixel inside the surface in the surface's own format.
  virtual void PutPixel(std::int32_t x, std::int32_t y, Color color) = 0;
};

/// A canvas over a platform bitmap; palette bitmaps take the nearest entry.
class BitmapCanvas : public Canvas {
 public:
  explicit BitmapCanvas(Bitmap& bitmap) : bitmap_(bitmap) {}
  std::int32_t SurfaceWidth() const override { return bitmap_.Width(); }
  std::int32_t SurfaceHeight() const override { return bitmap_.Height(); }

 protected:
  void PutPixel(std::int32_t x, std::int32_t y, Color color) override;

 private:
  Bitmap& bitmap_;
  // Colour -> stored value, so the nearest palette entry is searched once per colour.
  std::unordered_map<Color, std::uint32_t> values_;
};

}  // namespace quorvex
