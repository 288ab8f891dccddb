// Plain bitmap and metafile files (.bmp, .wmf, .emf) read into the same held
// form as a segmented-hypergraphics picture, without hotspots.

#include "base/ByteReader.h"
#include "base/Files.h"
#include "dib/VxDIB.h"
#include "metafile/Metafile.h"
#include "shg/PictureImages.h"
#include "shg/RunLen.h"
#include "shg/shg.h"

namespace quorvex {

namespace {

constexpr std::uint32_t kBmpHeadersSize = 14 + 40;

// Appends `raw` packed with RunLen unless packing makes it longer, and says
// which form was held: the packing method and the byte count.
struct HeldForm {
  std::uint8_t PackingMethod;
  std::uint32_t Size;
};

HeldForm AppendPackedOrStored(std::vector<std::uint8_t>& data, std::span<const std::uint8_t> raw) {
  std::vector<std::uint8_t> packed = PackRunLen(raw);
  if (packed.size() > raw.size()) {
    data.insert(data.end(), raw.begin(), raw.end());
    return {0, static_cast<std::uint32_t>(raw.size())};
  }
  data.insert(data.end(), packed.begin(), packed.end());
  return {1, static_cast<std::uint32_t>(packed.size())};
}

void DescribeHeldPicture(TShgFileHeader& header) {
  header.Magic = 0x506C;
  header.PictureCount = 1;
  header.PictureOffset = 8;
}

}  // namespace

// The DIB model reads the file, so every BMP it reads is held, with run-length
// pixels turned plain; its own BMP image then gives the header fields.
void TShg::LoadBmpFile(const ByteString& path) {
  TVxDIB dib;
  dib.LoadFromFile(path);
  if (dib.GetPixelFormat() == DibPixelFormat::Bit4Rle) dib.SetPixelFormat(DibPixelFormat::Bit4);
  if (dib.GetPixelFormat() == DibPixelFormat::Bit8Rle) dib.SetPixelFormat(DibPixelFormat::Bit8);
  MemoryStream stream;
  dib.SaveToStream(stream);
  const std::vector<std::uint8_t>& image = stream.Bytes();

  ByteReader reader(image);
  reader.Skip(2);
  const std::uint32_t fileSize = reader.U32LE();
  reader.Skip(4);
  const std::uint32_t pixelOffset = reader.U32LE();
  reader.Skip(4);  // header size
  TShgBitmapHeader h = BitmapHeader;
  h.PictureType = 6;
  h.PackingMethod = 1;
  h.XDpi = 96;
  h.YDpi = 96;
  h.Width = reader.I32LE();
  h.Height = reader.I32LE();
  h.Planes = reader.I16LE();
  h.BitCount = reader.U16LE();
  reader.Skip(16);  // compression, image size, resolution
  h.ColorsUsed = reader.I32LE();
  h.ColorsImportant = reader.U32LE();
  h.CompressedOffset = 0;
  h.HotspotSize = 0;
  h.HotspotOffset = 0;

  std::vector<std::uint8_t> data;
  reader.Seek(kBmpHeadersSize);
  const auto palette = reader.Bytes(4 * std::uint64_t(static_cast<std::uint32_t>(h.ColorsUsed)));
  data.assign(palette.begin(), palette.end());
  reader.Seek(pixelOffset);
  const HeldForm form = AppendPackedOrStored(data, reader.Bytes(fileSize - pixelOffset));
  h.PackingMethod = form.PackingMethod;
  h.CompressedSize = form.Size;

  DescribeHeldPicture(FileHeader);
  BitmapHeader = h;
  PictureData = MemoryStream(std::move(data));
}

// `placeable` is a placeable metafile image: its 22-byte header must carry
// the key and a matching checksum.
void TShg::LoadMetafileFile(std::span<const std::uint8_t> placeable, std::int32_t fileLength) {
  if (placeable.size() < kPlaceableHeaderSize) throw EShgErrorFile();
  ByteReader reader(placeable);
  const std::uint32_t key = reader.U32LE();
  reader.Skip(2);  // handle
  const std::int32_t left = reader.I16LE();
  const std::int32_t top = reader.I16LE();
  const std::int32_t right = reader.I16LE();
  const std::int32_t bottom = reader.I16LE();
  const std::uint16_t unitsPerInch = reader.U16LE();
  reader.Skip(4);  // reserved
  const std::uint16_t checksum = reader.U16LE();
  if (key != kPlaceableKey || checksum != PlaceableChecksum(placeable)) throw EShgErrorFile();

  const std::int32_t inch = unitsPerInch == 0 ? 96 : unitsPerInch;
  TShgMetafileHeader m = MetafileHeader;
  m.MetaPictureType = 8;
  m.MetaPackingMethod = 1;
  m.MappingMode = 8;
  m.MetaWidth = static_cast<std::uint32_t>(MulDiv(MulDiv(right - left, 2540, inch), 96, 2540));
  m.MetaHeight = static_cast<std::uint32_t>(MulDiv(MulDiv(bottom - top, 2540, inch), 96, 2540));
  m.DecompressedSize = fileLength - static_cast<std::int32_t>(kPlaceableHeaderSize);
  m.MetaHotspotSize = 0;
  m.MetaCompressedOffset = 0;
  m.MetaHotspotOffset = 0;
  std::vector<std::uint8_t> data;
  const HeldForm form = AppendPackedOrStored(data, placeable.subspan(kPlaceableHeaderSize));
  m.MetaPackingMethod = form.PackingMethod;
  m.MetaCompressedSize = form.Size;

  DescribeHeldPicture(FileHeader);
  BitmapHeader.PictureType = 8;
  MetafileHeader = m;
  PictureData = MemoryStream(std::move(data));
}

// An enhanced metafile is held as the placeable metafile the platform makes of it.
void TShg::LoadEnhancedMetafileFile(const ByteString& path) {
  const ByteString file = ReadFile(path);
  const std::vector<std::uint8_t> placeable =
      EnhancedToPlaceableMetafile({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
  LoadMetafileFile(placeable, static_cast<std::int32_t>(placeable.size()));
}

}  // namespace quorvex
