#include "shg/shg.h"

#include <algorithm>

#include "base/Files.h"
#include "platform/Canvas.h"
#include "metafile/Metafile.h"
#include "shg/DeviceBitmap.h"
#include "shg/PictureImages.h"
#include "shg/RunLen.h"

namespace quorvex {

namespace {

constexpr std::uint8_t kDeviceBitmapPicture = 5;
constexpr std::uint8_t kBitmapPicture = 6;
constexpr std::uint8_t kMetafilePicture = 8;
// Largest metafile a picture may unpack to.
constexpr std::size_t kMaxMetafileBytes = std::size_t{256} << 20;
// The bounding box of a placeable metafile holds signed 16-bit numbers.
constexpr std::uint32_t kMaxMetafileSide = 32767;

std::span<const std::uint8_t> BytesOf(const ByteString& data) {
  return {reinterpret_cast<const std::uint8_t*>(data.data()), data.size()};
}

std::span<const std::uint8_t> BytesOf(const MemoryStream& stream) {
  return {stream.Bytes().data(), stream.Bytes().size()};
}

// The held data of a picture as the platform needs it: unpacked when it is
// packed, `count` bytes as stored otherwise; never more than `limit` bytes.
std::vector<std::uint8_t> HeldData(std::span<const std::uint8_t> held, std::uint32_t count, bool packed,
                                   std::size_t limit) {
  held = held.first(std::min<std::size_t>(held.size(), count));
  if (packed) return UnpackRunLen(held, limit);
  held = held.first(std::min(held.size(), limit));
  return {held.begin(), held.end()};
}

// Help compilers leave out the last rows of some pictures, and the viewer
// shows them anyway. Data that holds less than half of the rows is damage,
// not a picture cut short: filling it up would draw (and allocate) a picture
// of a size the file never held.
bool FillsUp(bool fill, std::size_t held, std::size_t needed) { return fill && held < needed && held >= needed / 2; }

}  // namespace

void TShg::LoadFromFile(const ByteString& path) {
  PictureData.Clear();
  hotSpots_.clear();
  const ByteString extension = LowerCase(ExtractFileExt(path));
  if (extension == ".shg" || extension == ".mrb") {  // multi-resolution bitmaps share the layout
    LoadShgFile(BytesOf(ReadFile(path)), extension == ".mrb");
  } else if (extension == ".bmp") {
    LoadBmpFile(path);
  } else if (extension == ".wmf") {
    const ByteString file = ReadFile(path);
    LoadMetafileFile(BytesOf(file), static_cast<std::int32_t>(file.size()));
  } else if (extension == ".emf") {
    LoadEnhancedMetafileFile(path);
  } else {
    throw EShgErrorFile();
  }
}

void TShg::LoadFromHelpPicture(std::span<const std::uint8_t> picture) {
  PictureData.Clear();
  hotSpots_.clear();
  LoadShgFile(picture, true, true);
}

const THotSpot& TShg::GetHotSpot(std::int32_t index) const {
  if (index < 0 || index >= HotSpotCount()) throw EListError(index);
  return hotSpots_[static_cast<std::size_t>(index)];
}

void TShg::RenderToBitmap(Bitmap& bitmap) const {
  if (BitmapHeader.PictureType == kBitmapPicture) {
    RenderBitmap(bitmap);
  } else if (BitmapHeader.PictureType == kDeviceBitmapPicture) {
    RenderDeviceBitmap(bitmap);
  } else if (MetafileHeader.MetaPictureType == kMetafilePicture) {
    RenderMetafile(bitmap);
  }
}

// The pixel rows never need more bytes than the bitmap holds, so unpacking
// stops there; a picture too large for a bitmap is refused before any of it
// is unpacked.
void TShg::RenderBitmap(Bitmap& bitmap) const {
  const TShgBitmapHeader& h = BitmapHeader;
  const std::span<const std::uint8_t> held = BytesOf(PictureData);
  const std::uint64_t paletteBytes = 4 * static_cast<std::uint64_t>(h.ColorsUsed);
  if (h.ColorsUsed < 0 || paletteBytes > held.size()) throw EInvalidGraphic("Bitmap image is not valid");
  const std::int64_t rowBytes = ScanLineBytes(h.Width, h.BitCount);
  const std::int64_t rows = h.Height < 0 ? -std::int64_t{h.Height} : h.Height;
  if (rowBytes > kMaxBitmapBytes || (rowBytes > 0 && rows > kMaxBitmapBytes / rowBytes)) {
    throw EInvalidGraphic("Bitmap image is too large");
  }
  const std::size_t needed = rowBytes > 0 ? static_cast<std::size_t>(rowBytes * rows) : 0;
  std::vector<std::uint8_t> pixels = HeldData(held.subspan(paletteBytes), h.CompressedSize, h.PackingMethod == 1, needed);
  if (FillsUp(FillShortPixelData, pixels.size(), needed)) pixels.resize(needed, 0);
  bitmap.LoadFromMemory(BuildBmpImage(h, held.first(paletteBytes), pixels));
}

void TShg::RenderDeviceBitmap(Bitmap& bitmap) const {
  const TShgBitmapHeader& h = BitmapHeader;
  const std::size_t needed = DeviceBitmapBytes(h);
  std::vector<std::uint8_t> rows = HeldData(BytesOf(PictureData), h.CompressedSize, h.PackingMethod == 1, needed);
  if (FillsUp(FillShortPixelData, rows.size(), needed)) rows.resize(needed, 0);
  bitmap.LoadFromMemory(DeviceBitmapImage(h, rows));
}

// The picture is played onto a white 24-bit bitmap of its size, as a new
// bitmap's canvas starts out white on the platform.
void TShg::RenderMetafile(Bitmap& bitmap) const {
  const TShgMetafileHeader& m = MetafileHeader;
  // Larger sides would wrap in the placeable header and draw a wrong picture.
  if (m.MetaWidth > kMaxMetafileSide || m.MetaHeight > kMaxMetafileSide ||
      ScanLineBytes(m.MetaWidth, 24) * m.MetaHeight > kMaxBitmapBytes) {
    throw EInvalidGraphic("Metafile picture is too large");
  }
  const std::vector<std::uint8_t> records =
      HeldData(BytesOf(PictureData), m.MetaCompressedSize, m.MetaPackingMethod == 1, kMaxMetafileBytes);
  const Metafile metafile(BuildPlaceableMetafile(m.MetaWidth, m.MetaHeight, records));
  bitmap.Clear();
  bitmap.SetFormat(PixelFormat::Bit24);
  bitmap.SetSize(static_cast<std::int32_t>(m.MetaWidth), static_cast<std::int32_t>(m.MetaHeight));
  BitmapCanvas(bitmap).FillRect({0, 0, bitmap.Width(), bitmap.Height()}, RgbColor(255, 255, 255));
  metafile.Draw(bitmap, 0, 0);
}

}  // namespace quorvex
