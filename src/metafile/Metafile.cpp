#include "metafile/Metafile.h"

#include <cstdlib>
#include <limits>

#include "base/ByteReader.h"
#include "metafile/Raster.h"
#include "metafile/WmfPlayer.h"

namespace quorvex {

namespace {

[[noreturn]] void Invalid() { throw EInvalidGraphic("Metafile is not valid"); }

}  // namespace

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t product = std::int64_t{a} * b;
  const std::int64_t n = product < 0 ? -product : product;
  const std::int64_t d = c < 0 ? -std::int64_t{c} : c;
  // Halves round away from zero: add half the divisor to the magnitude.
  const std::int64_t q = (n + d / 2) / d;
  const bool negative = (product < 0) != (c < 0);
  const std::int64_t result = negative ? -q : q;
  if (result > std::numeric_limits<std::int32_t>::max() || result < std::numeric_limits<std::int32_t>::min()) return -1;
  return static_cast<std::int32_t>(result);
}

Metafile::Metafile(std::vector<std::uint8_t> placeable) : bytes_(std::move(placeable)) {
  if (bytes_.size() < kPlaceableHeaderSize + kMetaHeaderSize) Invalid();
  ByteReader r(bytes_);
  if (r.U32LE() != kPlaceableKey) Invalid();
  r.U16LE();  // handle
  left_ = r.I16LE();
  top_ = r.I16LE();
  right_ = r.I16LE();
  bottom_ = r.I16LE();
  unitsPerInch_ = r.U16LE();
  r.U32LE();  // reserved
  const std::uint16_t checksum = r.U16LE();
  ByteReader words(bytes_);
  std::uint16_t sum = 0;
  for (int i = 0; i < 10; ++i) sum ^= words.U16LE();
  if (sum != checksum) Invalid();
  // The metafile's own header: memory or disk type, nine words long.
  const std::uint16_t type = r.U16LE();
  const std::uint16_t headerWords = r.U16LE();
  if ((type != 1 && type != 2) || headerWords != 9) Invalid();
}

std::int32_t Metafile::Width() const {
  return MulDiv(std::int32_t{right_} - left_, 96, unitsPerInch_ == 0 ? 96 : unitsPerInch_);
}

std::int32_t Metafile::Height() const {
  return MulDiv(std::int32_t{bottom_} - top_, 96, unitsPerInch_ == 0 ? 96 : unitsPerInch_);
}

void Metafile::Draw(Bitmap& target, std::int32_t x, std::int32_t y) const {
  if (target.Format() != PixelFormat::Bit24 && target.Format() != PixelFormat::Device) {
    target.SetFormat(PixelFormat::Bit24);
  }
  if (target.Empty() || right_ == left_ || bottom_ == top_) return;
  const std::int32_t w = target.Width();
  const std::int32_t h = target.Height();
  Raster raster(w, h);
  for (std::int32_t row = 0; row < h; ++row) {
    const std::uint8_t* p = target.ScanLine(row);
    for (std::int32_t col = 0; col < w; ++col, p += 3) raster.Put(col, row, MakeRgb(p[2], p[1], p[0]));
  }
  WmfPlacement placement;
  placement.WindowLeft = left_;
  placement.WindowTop = top_;
  placement.WindowWidth = std::int32_t{right_} - left_;
  placement.WindowHeight = std::int32_t{bottom_} - top_;
  placement.X = x;
  placement.Y = y;
  placement.Width = Width();
  placement.Height = Height();
  WmfPlayer player(raster, placement);
  player.Play(std::span<const std::uint8_t>(bytes_).subspan(kPlaceableHeaderSize));
  raster.SetClip(nullptr);
  for (std::int32_t row = 0; row < h; ++row) {
    std::uint8_t* p = target.ScanLine(row);
    for (std::int32_t col = 0; col < w; ++col, p += 3) {
      const Rgb c = raster.At(col, row);
      p[0] = c & 0xFF;
      p[1] = (c >> 8) & 0xFF;
      p[2] = (c >> 16) & 0xFF;
    }
  }
  target.Changed();
}

}  // namespace quorvex
