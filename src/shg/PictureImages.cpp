#include "shg/PictureImages.h"

#include "base/Errors.h"

namespace quorvex {

namespace {

constexpr std::uint32_t kBmpHeadersSize = 14 + 40;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// The image size the file header declares. It counts unpadded rows, so it is
// short for most widths; loaders ignore it.
std::int64_t DeclaredImageBytes(const TShgBitmapHeader& header) {
  const std::int64_t width = header.Width;
  std::int64_t rowBytes;
  switch (header.ColorsUsed) {
    case 2: rowBytes = (width + 7) / 8; break;
    case 16: rowBytes = (width + 1) / 2; break;
    case 256: rowBytes = width; break;
    default: rowBytes = width * (header.BitCount / 8); break;
  }
  return rowBytes * header.Height;
}

}  // namespace

std::vector<std::uint8_t> BuildBmpImage(const TShgBitmapHeader& header, std::span<const std::uint8_t> palette,
                                        std::span<const std::uint8_t> pixels) {
  const std::uint32_t pixelOffset = kBmpHeadersSize + 4 * static_cast<std::uint32_t>(header.ColorsUsed);
  std::vector<std::uint8_t> image;
  image.reserve(kBmpHeadersSize + palette.size() + pixels.size());
  image.push_back('B');
  image.push_back('M');
  Put32(image, static_cast<std::uint32_t>(pixelOffset + DeclaredImageBytes(header)));
  Put16(image, 0);
  Put16(image, 0);
  Put32(image, pixelOffset);
  Put32(image, 40);
  Put32(image, static_cast<std::uint32_t>(header.Width));
  Put32(image, static_cast<std::uint32_t>(header.Height));
  Put16(image, static_cast<std::uint16_t>(header.Planes));
  Put16(image, header.BitCount);
  Put32(image, 0);  // no compression
  Put32(image, 0);  // image size
  Put32(image, 0);  // resolution
  Put32(image, 0);
  Put32(image, static_cast<std::uint32_t>(header.ColorsUsed));
  Put32(image, header.ColorsImportant);
  image.insert(image.end(), palette.begin(), palette.end());
  image.insert(image.end(), pixels.begin(), pixels.end());
  return image;
}

std::uint16_t PlaceableChecksum(std::span<const std::uint8_t> header) {
  QV_ASSERT(header.size() >= 20, "PlaceableChecksum: Header too short");
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i < 20; i += 2) sum ^= static_cast<std::uint16_t>(header[i] | (header[i + 1] << 8));
  return sum;
}

std::vector<std::uint8_t> BuildPlaceableMetafile(std::uint32_t width, std::uint32_t height,
                                                 std::span<const std::uint8_t> records) {
  std::vector<std::uint8_t> image;
  image.reserve(kPlaceableHeaderSize + records.size());
  Put32(image, kPlaceableKey);
  Put16(image, 0);  // handle
  Put16(image, 0);  // bounding box: left, top, right, bottom
  Put16(image, 0);
  Put16(image, width);
  Put16(image, height);
  Put16(image, 96);  // units per inch
  Put32(image, 0);   // reserved
  Put16(image, PlaceableChecksum(image));
  image.insert(image.end(), records.begin(), records.end());
  return image;
}

}  // namespace quorvex
