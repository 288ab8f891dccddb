#include "shg/DeviceBitmap.h"

#include <algorithm>

#include "platform/Bitmap.h"
#include "platform/Graphic.h"
#include "shg/PictureImages.h"

namespace quorvex {

namespace {

// The sixteen colours of the Windows display as blue, green, red, reserved:
// bit 0 of an index is red, bit 1 green, bit 2 blue, bit 3 bright.
constexpr std::uint8_t kDisplayColours[16][4] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},     {0, 128, 0, 0},     {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0},   {128, 128, 0, 0},   {192, 192, 192, 0},
    {128, 128, 128, 0}, {0, 0, 255, 0},     {0, 255, 0, 0},     {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0},   {255, 255, 0, 0},   {255, 255, 255, 0}};

bool Monochrome(const TShgBitmapHeader& h) { return h.Planes == 1 && h.BitCount == 1; }
bool Packed16(const TShgBitmapHeader& h) { return h.Planes == 1 && h.BitCount == 4; }
bool Planar(const TShgBitmapHeader& h) { return h.Planes >= 2 && h.Planes <= 4 && h.BitCount == 1; }

std::int64_t PlaneRowBytes(const TShgBitmapHeader& h) { return (std::int64_t{h.Width} * h.BitCount + 15) / 16 * 2; }

std::uint8_t Bit(std::span<const std::uint8_t> row, std::int64_t x) {
  return static_cast<std::uint8_t>((row[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1);
}

// The colour index of every pixel of a planar row: plane k gives bit k.
void ComposePlanes(const TShgBitmapHeader& h, std::span<const std::uint8_t> planes, std::uint8_t* out) {
  const std::int64_t planeBytes = PlaneRowBytes(h);
  for (std::int64_t x = 0; x < h.Width; ++x) {
    std::uint8_t index = 0;
    for (int k = 0; k < h.Planes; ++k) {
      index = static_cast<std::uint8_t>(index | Bit(planes.subspan(static_cast<std::size_t>(k * planeBytes)), x) << k);
    }
    std::uint8_t& pair = out[x / 2];
    pair = static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : pair | index);
  }
}

}  // namespace

std::size_t DeviceBitmapBytes(const TShgBitmapHeader& h) {
  if (h.Width <= 0 || h.Height <= 0 || !(Monochrome(h) || Packed16(h) || Planar(h))) return 0;
  const std::int64_t rowBytes = PlaneRowBytes(h) * h.Planes;
  if (rowBytes > kMaxBitmapBytes / h.Height) return 0;
  return static_cast<std::size_t>(rowBytes * h.Height);
}

std::vector<std::uint8_t> DeviceBitmapImage(const TShgBitmapHeader& h, std::span<const std::uint8_t> rows) {
  const std::size_t needed = DeviceBitmapBytes(h);
  if (needed == 0) throw EInvalidGraphic("Device-dependent bitmap of this kind is not supported");
  if (rows.size() < needed) throw EInvalidGraphic("Bitmap image is not valid");

  TShgBitmapHeader dib = h;
  dib.PictureType = 6;
  dib.Planes = 1;
  dib.BitCount = Monochrome(h) ? 1 : 4;
  dib.ColorsUsed = Monochrome(h) ? 2 : 16;
  dib.ColorsImportant = 0;
  std::vector<std::uint8_t> palette;
  if (Monochrome(h)) {
    palette = {0, 0, 0, 0, 255, 255, 255, 0};
  } else {
    for (const auto& colour : kDisplayColours) palette.insert(palette.end(), colour, colour + 4);
  }

  // The device keeps the top row first; a BMP keeps the bottom row first,
  // each row padded to 32 bits.
  const std::size_t inRow = static_cast<std::size_t>(PlaneRowBytes(h) * h.Planes);
  const std::size_t outRow = static_cast<std::size_t>(ScanLineBytes(h.Width, dib.BitCount));
  std::vector<std::uint8_t> pixels(outRow * static_cast<std::size_t>(h.Height), 0);
  for (std::int32_t y = 0; y < h.Height; ++y) {
    const std::span<const std::uint8_t> source = rows.subspan(static_cast<std::size_t>(y) * inRow, inRow);
    std::uint8_t* target = pixels.data() + static_cast<std::size_t>(h.Height - 1 - y) * outRow;
    if (Planar(h)) {
      ComposePlanes(h, source, target);
    } else {
      std::copy_n(source.begin(), std::min(inRow, outRow), target);
    }
  }
  return BuildBmpImage(dib, palette, pixels);
}

}  // namespace quorvex
