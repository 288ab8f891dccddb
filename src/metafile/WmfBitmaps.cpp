// The bitmap records: pattern fills and blocks of pixels copied, stretched
// and combined with the destination by a ternary raster operation. Every
// target pixel takes the source pixel under its centre.

#include <algorithm>
#include <cmath>

#include "metafile/MetafileDib.h"
#include "metafile/WmfPlayer.h"

namespace quorvex {

namespace {

// The high byte of a function number is the record's parameter words when
// it carries no bitmap.
bool WithoutBitmap(std::uint16_t function, const ByteReader& p) {
  return p.Size() == static_cast<std::size_t>(function >> 8) * 2;
}

}  // namespace

std::optional<PixelImage> WmfPlayer::ReadDib(std::span<const std::uint8_t> bytes, bool paletteIndexes) const {
  static const std::vector<Rgb> kNoPalette;
  return DecodePackedDib(bytes, paletteIndexes, dc_.Palette ? *dc_.Palette : kNoPalette);
}

void WmfPlayer::Blit(const PixelImage* source, bool monochrome, double sx, double sy, double sw, double sh,
                     IPoint d0, IPoint d1, std::uint32_t rop) {
  const bool usesPattern = Rop3UsesPattern(rop);
  if (usesPattern && dc_.Brush.Style == kBsNull) return;
  const bool usesSource = source && Rop3UsesSource(rop);
  const std::int64_t dw = std::int64_t{d1.X} - d0.X;
  const std::int64_t dh = std::int64_t{d1.Y} - d0.Y;
  if (dw == 0 || dh == 0) return;
  const std::int32_t xFrom = std::max(std::min(d0.X, d1.X), 0);
  const std::int32_t xTo = std::min(std::max(d0.X, d1.X), raster_.Width());
  const std::int32_t yFrom = std::max(std::min(d0.Y, d1.Y), 0);
  const std::int32_t yTo = std::min(std::max(d0.Y, d1.Y), raster_.Height());
  const Rgb text = Resolve(dc_.TextColor);
  const Rgb back = Resolve(dc_.BkColor);
  for (std::int32_t y = yFrom; y < yTo; ++y) {
    // A negative extent on either side mirrors the picture.
    const double v = ((y + 0.5) - d0.Y) / static_cast<double>(dh);
    const auto srcY = static_cast<std::int64_t>(std::floor(sy + v * sh));
    if (usesSource && (srcY < 0 || srcY >= source->Height)) continue;
    for (std::int32_t x = xFrom; x < xTo; ++x) {
      if (!raster_.Drawable(x, y)) continue;
      Rgb s = 0;
      if (usesSource) {
        const double u = ((x + 0.5) - d0.X) / static_cast<double>(dw);
        const auto srcX = static_cast<std::int64_t>(std::floor(sx + u * sw));
        if (srcX < 0 || srcX >= source->Width) continue;
        s = source->At(static_cast<std::int32_t>(srcX), static_cast<std::int32_t>(srcY));
        if (monochrome) s = s == kBlack ? text : back;
      }
      Rgb pattern = 0;
      if (usesPattern && !BrushColorAt(dc_.Brush, x, y, pattern)) continue;
      raster_.Put(x, y, ApplyRop3(rop, pattern, s, raster_.At(x, y)));
    }
  }
}

void WmfPlayer::PatBlt(ByteReader& p) {
  const std::uint32_t rop = p.U32LE();
  const double h = p.I16LE(), w = p.I16LE(), y = p.I16LE(), x = p.I16LE();
  Blit(nullptr, false, 0, 0, 0, 0, dc_.Mapping.ToPixel(x, y), dc_.Mapping.ToPixel(x + w, y + h), rop);
}

// DIBBITBLT and DIBSTRETCHBLT differ only in the source size, which the
// stretching form stores and the plain form takes from the destination.
void WmfPlayer::DibBlit(ByteReader& p, std::uint16_t function, bool stretch) {
  const bool noBitmap = WithoutBitmap(function, p);
  const std::uint32_t rop = p.U32LE();
  double sh = 0, sw = 0;
  if (stretch) {
    sh = p.I16LE();
    sw = p.I16LE();
  }
  const double sy = p.I16LE(), sx = p.I16LE();
  if (noBitmap) p.I16LE();
  const double h = p.I16LE(), w = p.I16LE(), y = p.I16LE(), x = p.I16LE();
  const IPoint d0 = dc_.Mapping.ToPixel(x, y);
  const IPoint d1 = dc_.Mapping.ToPixel(x + w, y + h);
  if (noBitmap) {
    Blit(nullptr, false, 0, 0, 0, 0, d0, d1, rop);
    return;
  }
  std::optional<PixelImage> image = ReadDib(p.Rest(), false);
  if (image) Blit(&*image, false, sx, sy, stretch ? sw : w, stretch ? sh : h, d0, d1, rop);
}

void WmfPlayer::StretchDib(ByteReader& p) {
  const std::uint32_t rop = p.U32LE();
  const std::uint16_t usage = p.U16LE();
  const double sh = p.I16LE(), sw = p.I16LE(), sy = p.I16LE(), sx = p.I16LE();
  const double h = p.I16LE(), w = p.I16LE(), y = p.I16LE(), x = p.I16LE();
  std::optional<PixelImage> image = ReadDib(p.Rest(), usage == 1);
  if (!image) return;
  // The source rectangle of a bottom-up DIB is measured from its bottom row.
  const double top = image->BottomUp ? image->Height - sy - sh : sy;
  Blit(&*image, false, sx, top, sw, sh, dc_.Mapping.ToPixel(x, y), dc_.Mapping.ToPixel(x + w, y + h), rop);
}

void WmfPlayer::SetDibitsToDevice(ByteReader& p) {
  const std::uint16_t usage = p.U16LE();
  p.U16LE();  // scan lines held
  p.U16LE();  // first scan line
  const double sy = p.I16LE(), sx = p.I16LE();
  const double h = p.I16LE(), w = p.I16LE(), y = p.I16LE(), x = p.I16LE();
  std::optional<PixelImage> image = ReadDib(p.Rest(), usage == 1);
  if (!image) return;
  // Pixels go to the device one to one, whatever the mapping.
  const IPoint d0 = dc_.Mapping.ToPixel(x, y);
  const IPoint d1{static_cast<std::int32_t>(std::clamp(d0.X + w, -kDeviceLimit, kDeviceLimit)),
                  static_cast<std::int32_t>(std::clamp(d0.Y + h, -kDeviceLimit, kDeviceLimit))};
  const double top = image->BottomUp ? image->Height - sy - h : sy;
  Blit(&*image, false, sx, top, w, h, d0, d1, 0x00CC0020);
}

void WmfPlayer::BitBlt16(ByteReader& p, std::uint16_t function, bool stretch) {
  const bool noBitmap = WithoutBitmap(function, p);
  const std::uint32_t rop = p.U32LE();
  double sh = 0, sw = 0;
  if (stretch) sh = p.I16LE(), sw = p.I16LE();
  const double sy = p.I16LE(), sx = p.I16LE();
  if (noBitmap) p.I16LE();
  const double h = p.I16LE(), w = p.I16LE(), y = p.I16LE(), x = p.I16LE();
  if (!stretch) sh = h, sw = w;
  const IPoint d0 = dc_.Mapping.ToPixel(x, y);
  const IPoint d1 = dc_.Mapping.ToPixel(x + w, y + h);
  if (noBitmap) {
    Blit(nullptr, false, 0, 0, 0, 0, d0, d1, rop);
    return;
  }
  std::optional<PixelImage> image = DecodeBitmap16(p.Rest(), 0);
  if (image) Blit(&*image, image->Monochrome, sx, sy, sw, sh, d0, d1, rop);
}

}  // namespace quorvex
