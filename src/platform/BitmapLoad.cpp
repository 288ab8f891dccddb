// Loading BMP files into the platform bitmap.

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "base/ByteReader.h"
#include "base/Files.h"
#include "platform/Rle.h"
#include "platform/Bitmap.h"

namespace quorvex {

namespace {

constexpr char kNotValid[] = "Bitmap image is not valid";
constexpr char kTooLarge[] = "Bitmap image is too large";

[[noreturn]] void NotValid() { throw EInvalidGraphic(kNotValid); }

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

constexpr std::uint32_t kMasks555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr std::uint32_t kMasks565[3] = {0xF800, 0x07E0, 0x001F};
constexpr std::uint32_t kMasks888[3] = {0xFF0000, 0x00FF00, 0x0000FF};

// What the headers say, checked, and where the pixels start.
struct BmpLayout {
  std::int32_t Width = 0;
  std::int32_t Rows = 0;  // always positive
  bool TopDown = false;
  int BitCount = 0;
  std::uint32_t Compression = kRgb;
  std::uint32_t Masks[3] = {0, 0, 0};  // red, green, blue
  PixelFormat Format = PixelFormat::Bit24;
  Palette Colors;
  std::span<const std::uint8_t> Pixels;  // from the pixel start to the end of the image
};

bool SameMasks(const std::uint32_t (&a)[3], const std::uint32_t (&b)[3]) {
  return std::equal(std::begin(a), std::end(a), std::begin(b));
}

void CheckBitsAndCompression(const BmpLayout& layout) {
  const int bits = layout.BitCount;
  switch (layout.Compression) {
    case kRgb:
      if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) NotValid();
      return;
    case kRle8:
      if (bits != 8) NotValid();
      break;
    case kRle4:
      if (bits != 4) NotValid();
      break;
    case kBitFields:
      if (bits != 16 && bits != 32) NotValid();
      return;
    default: NotValid();  // JPEG, PNG and the rarer codes
  }
  // Run-length pictures are stored bottom-up only.
  if (layout.TopDown) NotValid();
}

// The format the pixels are held in: palette and plain formats as they are,
// bit fields in the bitmap format with the same masks, else widened to 24 bits.
PixelFormat FormatFor(const BmpLayout& layout) {
  switch (layout.BitCount) {
    case 1: return PixelFormat::Bit1;
    case 4: return PixelFormat::Bit4;
    case 8: return PixelFormat::Bit8;
    case 16:
      if (SameMasks(layout.Masks, kMasks555)) return PixelFormat::Bit15;
      if (SameMasks(layout.Masks, kMasks565)) return PixelFormat::Bit16;
      return PixelFormat::Bit24;
    case 32: return SameMasks(layout.Masks, kMasks888) ? PixelFormat::Bit32 : PixelFormat::Bit24;
    default: return PixelFormat::Bit24;
  }
}

// Reads the headers and the colour table of a BMP file image.
BmpLayout ReadLayout(std::span<const std::uint8_t> image) {
  ByteReader file(image);
  if (file.U16LE() != 0x4D42) NotValid();
  file.Skip(8);  // the file size, often wrong, and two reserved words
  const std::uint32_t pixelOffset = file.U32LE();
  const std::uint32_t headerSize = file.U32LE();
  if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
      headerSize != 124) {
    NotValid();
  }
  ByteReader header = file.Sub(headerSize - 4);

  BmpLayout layout;
  std::int64_t height = 0;
  std::uint32_t colorsUsed = 0;
  if (headerSize == 12) {
    layout.Width = header.U16LE();
    height = header.U16LE();
    header.Skip(2);  // planes
    layout.BitCount = header.U16LE();
  } else {
    layout.Width = header.I32LE();
    height = header.I32LE();
    header.Skip(2);  // planes
    layout.BitCount = header.U16LE();
    layout.Compression = header.U32LE();
    header.Skip(12);  // image size and resolution
    colorsUsed = header.U32LE();
    header.Skip(4);  // colours important
  }
  layout.TopDown = height < 0;
  if (layout.Width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min()) NotValid();
  layout.Rows = static_cast<std::int32_t>(height < 0 ? -height : height);
  CheckBitsAndCompression(layout);

  if (layout.Compression == kBitFields) {
    // A 40-byte header is followed by the masks; the later headers hold them.
    ByteReader& masks = headerSize == 40 ? file : header;
    for (std::uint32_t& mask : layout.Masks) mask = masks.U32LE();
  } else if (layout.BitCount == 16) {
    std::copy(std::begin(kMasks555), std::end(kMasks555), layout.Masks);
  } else if (layout.BitCount == 32) {
    std::copy(std::begin(kMasks888), std::end(kMasks888), layout.Masks);
  }
  layout.Format = FormatFor(layout);

  // The colour table lies between the headers and the pixels. A pixel offset
  // inside the headers (0, say) is taken to mean "right after the table".
  const std::uint64_t tableStart = file.Position();
  const std::uint64_t entrySize = headerSize == 12 ? 3 : 4;
  const std::uint64_t defaultEntries = layout.BitCount <= 8 ? (std::uint64_t{1} << layout.BitCount) : 0;
  const std::uint64_t tableEntries = colorsUsed == 0 ? defaultEntries : colorsUsed;
  std::uint64_t entries = std::min(tableEntries, defaultEntries);
  std::uint64_t pixelStart = tableStart + tableEntries * entrySize;
  if (pixelOffset >= tableStart) {
    pixelStart = pixelOffset;
    entries = std::min(entries, (pixelOffset - tableStart) / entrySize);
  }
  layout.Colors.resize(static_cast<std::size_t>(entries));
  for (PaletteEntry& entry : layout.Colors) {
    auto quad = file.Bytes(entrySize);
    entry = {quad[2], quad[1], quad[0], 0};
  }
  file.Seek(pixelStart);
  layout.Pixels = file.Bytes(file.Remaining());
  return layout;
}

// One channel of a bit-field pixel scaled to 0..255.
class Channel {
 public:
  explicit Channel(std::uint32_t mask) : mask_(mask) {
    if (mask == 0) return;
    while (((mask >> shift_) & 1) == 0) ++shift_;
    max_ = mask >> shift_;
  }
  std::uint8_t Of(std::uint32_t pixel) const {
    if (max_ == 0) return 0;
    std::uint64_t value = (pixel & mask_) >> shift_;
    return static_cast<std::uint8_t>((value * 255 + max_ / 2) / max_);
  }

 private:
  std::uint32_t mask_;
  int shift_ = 0;
  std::uint32_t max_ = 0;
};

// Widens one row of bit-field pixels to blue, green, red.
void WidenRow(const std::uint8_t* source, const BmpLayout& layout, std::uint8_t* target) {
  const Channel red(layout.Masks[0]), green(layout.Masks[1]), blue(layout.Masks[2]);
  const int bytes = layout.BitCount / 8;
  for (std::int32_t x = 0; x < layout.Width; ++x) {
    const std::uint8_t* p = source + std::int64_t{x} * bytes;
    std::uint32_t pixel = p[0] | (p[1] << 8);
    if (bytes == 4) pixel |= (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    std::uint8_t* q = target + std::int64_t{x} * 3;
    q[0] = blue.Of(pixel);
    q[1] = green.Of(pixel);
    q[2] = red.Of(pixel);
  }
}

// Rows of `bytesPerRow` bytes that fit `limit`, counted without overflow.
bool RowsFit(std::int64_t rows, std::int64_t bytesPerRow, std::int64_t limit) {
  return bytesPerRow <= limit && rows <= limit / bytesPerRow;
}

}  // namespace

void Bitmap::LoadFromFile(const ByteString& path) {
  const ByteString data = ReadFile(path);
  LoadFromMemory({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()});
}

void Bitmap::LoadFromMemory(std::span<const std::uint8_t> image) {
  BmpLayout layout;
  try {
    layout = ReadLayout(image);
  } catch (const EReadPastEnd&) {
    NotValid();
  }
  const std::int64_t rowBytes = ScanLineBytes(layout.Width, StorageBits(layout.Format));
  if (!RowsFit(layout.Rows, rowBytes, kMaxBitmapBytes)) throw EInvalidGraphic(kTooLarge);
  const bool runLength = layout.Compression == kRle8 || layout.Compression == kRle4;
  const std::int64_t sourceRowBytes = ScanLineBytes(layout.Width, layout.BitCount);
  // Plain pixels must all be there before anything is allocated for them.
  if (!runLength && !RowsFit(layout.Rows, sourceRowBytes, static_cast<std::int64_t>(layout.Pixels.size()))) {
    NotValid();
  }

  Bitmap loaded(layout.Width, layout.Rows, layout.Format);
  if (runLength) {
    const RleError error = layout.Compression == kRle8
                               ? DecodeRle8(layout.Pixels, layout.Width, layout.Rows, loaded.pixels_)
                               : DecodeRle4(layout.Pixels, layout.Width, layout.Rows, loaded.pixels_);
    if (error != RleError::None) NotValid();
    // Decoded bottom row first; the bitmap counts from the top.
    std::uint8_t* top = loaded.pixels_.data();
    std::uint8_t* bottom = top + (layout.Rows - 1) * rowBytes;
    for (; top < bottom; top += rowBytes, bottom -= rowBytes) std::swap_ranges(top, top + rowBytes, bottom);
  } else {
    const bool widen = StorageBits(layout.Format) != layout.BitCount;
    for (std::int32_t i = 0; i < layout.Rows; ++i) {
      const std::uint8_t* source = layout.Pixels.data() + i * sourceRowBytes;
      std::uint8_t* target = loaded.ScanLine(layout.TopDown ? i : layout.Rows - 1 - i);
      if (widen) {
        WidenRow(source, layout, target);
      } else {
        std::memcpy(target, source, static_cast<std::size_t>(rowBytes));
      }
    }
  }
  loaded.palette_ = std::move(layout.Colors);
  TakeContent(loaded);
}

void Bitmap::TakeContent(Bitmap& loaded) {
  width_ = std::exchange(loaded.width_, 0);
  height_ = std::exchange(loaded.height_, 0);
  rowBytes_ = std::exchange(loaded.rowBytes_, 0);
  format_ = std::exchange(loaded.format_, PixelFormat::Device);
  pixels_ = std::move(loaded.pixels_);
  palette_ = std::move(loaded.palette_);
  SetPaletteModified(true);
  Changed();
}

}  // namespace quorvex
