#include "platform/Canvas.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/Rle.h"

namespace quorvex {

namespace {

// Reads source pixels of a DIB image by column and row counted from the top.
class DibPixels {
 public:
  // False when the image cannot be drawn (a bad format, missing pixels, bad run-length data).
  bool Open(const DibImage& image) {
    image_ = &image;
    if (image.Width <= 0 || image.Height == 0) return false;
    if (image.BitCount != 1 && image.BitCount != 4 && image.BitCount != 8 && image.BitCount != 24) return false;
    rows_ = std::abs(static_cast<std::int64_t>(image.Height));
    rowBytes_ = DibRowBytes(image.Width, image.BitCount);
    bits_ = image.Bits;
    if (image.Compression != 0) {
      const bool rle8 = image.Compression == 1 && image.BitCount == 8;
      const bool rle4 = image.Compression == 2 && image.BitCount == 4;
      if (!rle8 && !rle4) return false;
      if (rowBytes_ * rows_ > kMaxBitmapBytes) return false;
      decoded_.assign(static_cast<std::size_t>(rowBytes_ * rows_), 0);
      RleError error = rle8 ? DecodeRle8(image.Bits, image.Width, static_cast<std::int32_t>(rows_), decoded_)
                            : DecodeRle4(image.Bits, image.Width, static_cast<std::int32_t>(rows_), decoded_);
      if (error != RleError::None) return false;
      bits_ = decoded_;
    }
    return static_cast<std::int64_t>(bits_.size()) >= rowBytes_ * rows_;
  }

  std::int64_t Width() const { return image_->Width; }
  std::int64_t Height() const { return rows_; }

  Color ColorAt(std::int64_t x, std::int64_t yFromTop) const {
    const std::int64_t memoryRow = image_->Height > 0 ? rows_ - 1 - yFromTop : yFromTop;
    const std::uint8_t* row = bits_.data() + memoryRow * rowBytes_;
    switch (image_->BitCount) {
      case 1: return Entry((row[x / 8] >> (7 - x % 8)) & 1);
      case 4: return Entry((x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
      case 8: return Entry(row[x]);
      default: {
        const std::uint8_t* p = row + 3 * x;
        return RgbColor(p[2], p[1], p[0]);
      }
    }
  }

 private:
  Color Entry(std::size_t index) const {
    if (index >= image_->Colors.size()) return 0;
    const PaletteEntry& e = image_->Colors[index];
    return RgbColor(e.Red, e.Green, e.Blue);
  }

  const DibImage* image_ = nullptr;
  std::int64_t rows_ = 0;
  std::int64_t rowBytes_ = 0;
  std::span<const std::uint8_t> bits_;
  std::vector<std::uint8_t> decoded_;
};

// The source coordinate under the centre of target pixel `offset` of `span` pixels.
std::int64_t SourceAt(std::int64_t offset, std::int64_t span, std::int64_t sourceSize) {
  return (2 * offset + 1) * sourceSize / (2 * span);
}

}  // namespace

void Canvas::SetPixel(std::int32_t x, std::int32_t y, Color color) {
  if (x < 0 || y < 0 || x >= SurfaceWidth() || y >= SurfaceHeight()) return;
  PutPixel(x, y, color);
}

void Canvas::FillRect(const Rect& rect, Color color) {
  const std::int32_t left = std::max(rect.Left, 0), right = std::min(rect.Right, SurfaceWidth());
  const std::int32_t top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, SurfaceHeight());
  for (std::int32_t y = top; y < bottom; ++y) {
    for (std::int32_t x = left; x < right; ++x) PutPixel(x, y, color);
  }
}

void Canvas::StretchDIBits(const Rect& dest, const DibImage& image) {
  const std::int64_t spanX = std::int64_t{dest.Right} - dest.Left;
  const std::int64_t spanY = std::int64_t{dest.Bottom} - dest.Top;
  if (spanX == 0 || spanY == 0) return;
  DibPixels source;
  if (!source.Open(image)) return;

  const std::int64_t firstX = std::max<std::int64_t>(std::min(dest.Left, dest.Right), 0);
  const std::int64_t endX = std::min<std::int64_t>(std::max(dest.Left, dest.Right), SurfaceWidth());
  const std::int64_t firstY = std::max<std::int64_t>(std::min(dest.Top, dest.Bottom), 0);
  const std::int64_t endY = std::min<std::int64_t>(std::max(dest.Top, dest.Bottom), SurfaceHeight());
  for (std::int64_t y = firstY; y < endY; ++y) {
    // A reversed rectangle counts its offsets from the other edge: a mirror image.
    const std::int64_t v = spanY > 0 ? y - dest.Top : dest.Top - 1 - y;
    const std::int64_t sourceY = SourceAt(v, std::abs(spanY), source.Height());
    for (std::int64_t x = firstX; x < endX; ++x) {
      const std::int64_t u = spanX > 0 ? x - dest.Left : dest.Left - 1 - x;
      const std::int64_t sourceX = SourceAt(u, std::abs(spanX), source.Width());
      PutPixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), source.ColorAt(sourceX, sourceY));
    }
  }
}

void BitmapCanvas::PutPixel(std::int32_t x, std::int32_t y, Color color) {
  auto found = values_.find(color);
  if (found == values_.end()) {
    bitmap_.SetPixelColor(x, y, color);
    values_.emplace(color, bitmap_.PixelValue(x, y));
    return;
  }
  bitmap_.SetPixelValue(x, y, found->second);
}

}  // namespace quorvex
