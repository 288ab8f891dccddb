#include "metafile/MetafileDib.h"

#include <bit>

#include "platform/Rle.h"
#include "base/ByteReader.h"

namespace quorvex {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;

// One colour channel described by a bit mask, widened to 8 bits.
struct Channel {
  std::uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;
  explicit Channel(std::uint32_t mask) : Mask(mask) {
    if (mask == 0) return;
    Shift = std::countr_zero(mask);
    Bits = std::min(8, std::popcount(mask >> Shift));
  }
  std::uint32_t Of(std::uint32_t pixel) const {
    if (Mask == 0) return 0;
    const std::uint32_t v = (pixel & Mask) >> Shift;
    const int width = std::popcount(Mask >> Shift);
    // Keep the top 8 bits, then repeat them to fill 8 bits.
    std::uint32_t top = width > 8 ? v >> (width - 8) : v;
    std::uint32_t out = 0;
    for (int filled = 0; filled < 8; filled += Bits) {
      out |= (Bits >= 8 - filled) ? top >> (Bits - (8 - filled)) : top << (8 - filled - Bits);
    }
    return out & 0xFF;
  }
};

struct DibHeader {
  std::int64_t Width = 0;
  std::int64_t Height = 0;  // negative: rows from the top
  int BitCount = 0;
  std::uint32_t Compression = kBiRgb;
  std::uint32_t ColorsUsed = 0;
  bool Core = false;
  std::uint32_t Masks[3] = {0, 0, 0};
};

std::optional<DibHeader> ReadHeader(ByteReader& r) {
  DibHeader h;
  const std::uint32_t size = r.U32LE();
  if (size == 12) {
    h.Core = true;
    h.Width = r.U16LE();
    h.Height = r.I16LE();
    r.U16LE();
    h.BitCount = r.U16LE();
    return h;
  }
  if (size < 40 || size > r.Size()) return std::nullopt;
  h.Width = r.I32LE();
  h.Height = r.I32LE();
  r.U16LE();
  h.BitCount = r.U16LE();
  h.Compression = r.U32LE();
  r.Skip(12);  // image size, resolution
  h.ColorsUsed = r.U32LE();
  r.U32LE();
  if (size >= 52) {
    for (std::uint32_t& m : h.Masks) m = r.U32LE();
  }
  r.Seek(size);
  if (h.Compression == kBiBitFields && size < 52) {
    for (std::uint32_t& m : h.Masks) m = r.U32LE();
  }
  return h;
}

// The colour table: RGB quads (triples for core headers) or palette indexes.
std::optional<std::vector<Rgb>> ReadColorTable(ByteReader& r, const DibHeader& h, bool paletteIndexes,
                                               const std::vector<Rgb>& palette) {
  std::uint32_t count = h.ColorsUsed;
  if (h.BitCount <= 8 && (count == 0 || h.Core)) count = 1u << h.BitCount;
  if (count > 65536) return std::nullopt;
  std::vector<Rgb> colors;
  if (paletteIndexes) {
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint16_t index = r.U16LE();
      colors.push_back(index < palette.size() ? palette[index] : kBlack);
    }
    return colors;
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t blue = r.U8();
    const std::uint8_t green = r.U8();
    const std::uint8_t red = r.U8();
    if (!h.Core) r.U8();
    colors.push_back(MakeRgb(red, green, blue));
  }
  return colors;
}

}  // namespace

std::optional<PixelImage> DecodePackedDib(std::span<const std::uint8_t> dib, bool paletteIndexes,
                                          const std::vector<Rgb>& palette) {
  try {
    ByteReader r(dib);
    std::optional<DibHeader> header = ReadHeader(r);
    if (!header) return std::nullopt;
    const DibHeader& h = *header;
    const std::int64_t rows = h.Height < 0 ? -h.Height : h.Height;
    if (h.Width <= 0 || rows == 0 || h.Width * rows > kMaxDibPixels) return std::nullopt;
    const int bits = h.BitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;
    std::optional<std::vector<Rgb>> colors = ReadColorTable(r, h, paletteIndexes, palette);
    if (!colors) return std::nullopt;

    const std::int64_t rowBytes = DibRowBytes(h.Width, bits);
    std::span<const std::uint8_t> pixels = r.Rest();
    std::vector<std::uint8_t> decoded;
    const bool rle = (h.Compression == kBiRle8 && bits == 8) || (h.Compression == kBiRle4 && bits == 4);
    if (rle) {
      if (h.Height < 0) return std::nullopt;
      decoded.assign(static_cast<std::size_t>(rowBytes * rows), 0);
      // What decodes before a bad code is kept, as the run-length data of a
      // damaged picture still shows its intact part.
      if (bits == 8) {
        DecodeRle8(pixels, static_cast<std::int32_t>(h.Width), static_cast<std::int32_t>(rows), decoded);
      } else {
        DecodeRle4(pixels, static_cast<std::int32_t>(h.Width), static_cast<std::int32_t>(rows), decoded);
      }
      pixels = decoded;
    } else if (h.Compression != kBiRgb && !(h.Compression == kBiBitFields && (bits == 16 || bits == 32))) {
      return std::nullopt;
    }
    if (static_cast<std::int64_t>(pixels.size()) < rowBytes * rows) return std::nullopt;

    std::uint32_t masks[3] = {h.Masks[0], h.Masks[1], h.Masks[2]};
    if (h.Compression != kBiBitFields) {
      if (bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
      } else {
        masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
      }
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    auto entry = [&](std::uint32_t i) { return i < colors->size() ? (*colors)[i] : kBlack; };

    PixelImage image;
    image.Width = static_cast<std::int32_t>(h.Width);
    image.Height = static_cast<std::int32_t>(rows);
    image.BottomUp = h.Height > 0;
    image.Pixels.resize(static_cast<std::size_t>(h.Width * rows));
    for (std::int64_t y = 0; y < rows; ++y) {
      const std::int64_t memoryRow = h.Height > 0 ? rows - 1 - y : y;
      const std::uint8_t* row = pixels.data() + memoryRow * rowBytes;
      Rgb* out = image.Pixels.data() + y * h.Width;
      for (std::int64_t x = 0; x < h.Width; ++x) {
        switch (bits) {
          case 1: out[x] = entry((row[x / 8] >> (7 - x % 8)) & 1); break;
          case 4: out[x] = entry(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F); break;
          case 8: out[x] = entry(row[x]); break;
          case 24: out[x] = MakeRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
          case 16: {
            const std::uint32_t v = row[2 * x] | (row[2 * x + 1] << 8);
            out[x] = MakeRgb(red.Of(v), green.Of(v), blue.Of(v));
            break;
          }
          default: {
            const std::uint8_t* p = row + 4 * x;
            const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
            out[x] = MakeRgb(red.Of(v), green.Of(v), blue.Of(v));
          }
        }
      }
    }
    return image;
  } catch (const EReadPastEnd&) {
    return std::nullopt;
  }
}

std::optional<PixelImage> DecodeBitmap16(std::span<const std::uint8_t> bitmap, std::size_t gap) {
  try {
    ByteReader r(bitmap);
    r.I16LE();  // type
    const std::int64_t width = r.I16LE();
    const std::int64_t height = r.I16LE();
    const std::int64_t rowBytes = r.I16LE();
    const int planes = r.U8();
    const int bits = r.U8();
    r.Skip(gap);
    if (width <= 0 || height <= 0 || width * height > kMaxDibPixels || planes != 1) return std::nullopt;
    if ((bits != 1 && bits != 24) || rowBytes < (width * bits + 7) / 8) return std::nullopt;
    std::span<const std::uint8_t> data = r.Bytes(static_cast<std::size_t>(rowBytes * height));
    PixelImage image;
    image.Width = static_cast<std::int32_t>(width);
    image.Height = static_cast<std::int32_t>(height);
    image.Monochrome = bits == 1;
    image.Pixels.resize(static_cast<std::size_t>(width * height));
    for (std::int64_t y = 0; y < height; ++y) {
      const std::uint8_t* row = data.data() + y * rowBytes;
      for (std::int64_t x = 0; x < width; ++x) {
        image.Pixels[y * width + x] = bits == 1 ? (((row[x / 8] >> (7 - x % 8)) & 1) ? kWhite : kBlack)
                                                : MakeRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
      }
    }
    return image;
  } catch (const EReadPastEnd&) {
    return std::nullopt;
  }
}

}  // namespace quorvex
