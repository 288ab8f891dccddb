// Reading segmented-hypergraphics files (.shg) into the held form.

#include <limits>

#include "base/ByteReader.h"
#include "base/CompressedNumbers.h"
#include "base/Lz77.h"
#include "metafile/Metafile.h"
#include "shg/shg.h"

namespace quorvex {

namespace {

constexpr std::uint16_t kMagicUpper = 0x506C;  // "lP"
constexpr std::uint16_t kMagicLower = 0x706C;  // "lp"
constexpr std::uint8_t kDeviceDependentBitmap = 5;
constexpr std::uint8_t kMetafile = 8;
constexpr std::size_t kHotspotRecordSize = 15;

// Hundredths of a millimetre to pixels at 96 per inch.
std::uint32_t MetricToPixels(std::uint32_t value) {
  return static_cast<std::uint32_t>(MulDiv(static_cast<std::int32_t>(value), 96, 2540));
}

std::uint8_t HotspotKind(std::uint8_t type) {
  switch (type) {
    case 0xC8:
    case 0xCC: return 0;  // macro
    case 0xE2:
    case 0xE6:
    case 0xEA:
    case 0xEE: return 1;  // popup
    default: return 2;    // jump
  }
}

ByteString ReadZeroTerminated(ByteReader& reader) {
  ByteString text;
  for (std::uint8_t c = reader.U8(); c != 0; c = reader.U8()) text.push_back(static_cast<char>(c));
  return text;
}

// The palette and the picture data are copied as a stream copies them: bytes
// the file does not hold are a read error, not a refused file.
void AppendFromFile(std::vector<std::uint8_t>& data, std::span<const std::uint8_t> file, std::uint64_t offset,
                    std::uint64_t count) {
  if (count == 0) return;
  if (offset > file.size() || count > file.size() - offset) throw EReadError();
  data.insert(data.end(), file.begin() + offset, file.begin() + offset + count);
}

// Help compilers pack picture data with LZ77 (method 2), or LZ77 over RunLen
// (method 3): the data is held expanded, as method 0 or 1, from `start` on.
void ExpandLz77Data(std::vector<std::uint8_t>& data, std::size_t start, std::uint8_t& packing, std::uint32_t& size) {
  if (packing < 2) return;
  std::vector<std::uint8_t> expanded =
      ExpandLz77(std::span<const std::uint8_t>(data).subspan(start), std::numeric_limits<std::size_t>::max());
  data.resize(start);
  data.insert(data.end(), expanded.begin(), expanded.end());
  packing = static_cast<std::uint8_t>(packing - 2);
  size = static_cast<std::uint32_t>(expanded.size());
}

// The hotspot section: a skipped byte, the count, the macro data size, the
// records, the macro data and a name and a target per hotspot. The first
// hotspot of the file is stored last.
std::vector<THotSpot> ReadHotspots(ByteReader& reader, bool metafile) {
  reader.Skip(1);
  const std::uint16_t count = reader.U16LE();
  const std::uint32_t macroSize = reader.U32LE();
  // The records must be there before the table is sized for them.
  ByteReader records = reader.Sub(std::uint64_t{count} * kHotspotRecordSize);
  std::vector<THotSpot> hotSpots(count);
  auto toPixels = [metafile](std::uint16_t v) {
    return metafile ? static_cast<std::uint16_t>(MetricToPixels(v)) : v;
  };
  for (std::size_t i = count; i-- > 0;) {
    THotSpot& spot = hotSpots[i];
    spot.Kind = HotspotKind(records.U8());
    spot.Visible = records.U8() == 0;
    records.Skip(1);
    spot.Left = toPixels(records.U16LE());
    spot.Top = toPixels(records.U16LE());
    spot.Width = toPixels(records.U16LE());
    spot.Height = toPixels(records.U16LE());
    records.Skip(4);  // hash of the context name
  }
  reader.Skip(macroSize);
  for (std::size_t i = count; i-- > 0;) {
    hotSpots[i].Name = ReadZeroTerminated(reader);
    hotSpots[i].Target = ReadZeroTerminated(reader);
  }
  return hotSpots;
}

}  // namespace

EShgErrorFile::EShgErrorFile() : EShgError("TShg.LoadFromFile: File type is invalid") {}

// Everything is read into copies and taken over at the end, so a refused file
// leaves the header fields as they were. Header bytes the file lacks refuse
// it like any other malformed header.
void TShg::LoadShgFile(std::span<const std::uint8_t> file, bool firstOfSeveral, bool helpPicture) {
  TShgFileHeader fileHeader;
  TShgBitmapHeader bitmap = BitmapHeader;
  TShgMetafileHeader meta = MetafileHeader;
  std::vector<std::uint8_t> data;
  std::vector<THotSpot> hotSpots;
  try {
    ByteReader reader(file);
    fileHeader.Magic = reader.U16LE();
    fileHeader.PictureCount = reader.U16LE();
    fileHeader.PictureOffset = reader.U32LE();
    if (fileHeader.Magic != kMagicUpper && fileHeader.Magic != kMagicLower) throw EShgErrorFile();
    if (fileHeader.PictureCount != 1 && !(firstOfSeveral && fileHeader.PictureCount > 1)) throw EShgErrorFile();

    const std::uint64_t picture = fileHeader.PictureOffset;
    reader.Seek(picture);
    bitmap.PictureType = reader.U8();
    bitmap.PackingMethod = reader.U8();
    if (bitmap.PackingMethod > (helpPicture ? 3 : 1)) throw EShgErrorFile();
    // Device-dependent bitmaps come only from help files of Windows 3.0 days.
    if (bitmap.PictureType == kDeviceDependentBitmap && !helpPicture) throw EShgErrorFile();

    std::uint32_t hotspotSize = 0;
    std::uint32_t hotspotOffset = 0;
    if (bitmap.PictureType == kMetafile) {
      meta.MetaPictureType = kMetafile;
      meta.MetaPackingMethod = bitmap.PackingMethod;
      meta.MappingMode = static_cast<std::int16_t>(ReadCompressedWord(reader));
      meta.MetaWidth = MetricToPixels(reader.U16LE());
      meta.MetaHeight = MetricToPixels(reader.U16LE());
      meta.DecompressedSize = static_cast<std::int32_t>(ReadCompressedDword(reader));
      meta.MetaCompressedSize = ReadCompressedDword(reader);
      meta.MetaHotspotSize = ReadCompressedDword(reader);
      meta.MetaCompressedOffset = reader.U32LE();
      meta.MetaHotspotOffset = reader.U32LE();
      AppendFromFile(data, file, picture + meta.MetaCompressedOffset, meta.MetaCompressedSize);
      ExpandLz77Data(data, 0, meta.MetaPackingMethod, meta.MetaCompressedSize);
      bitmap.PackingMethod = meta.MetaPackingMethod;
      hotspotSize = meta.MetaHotspotSize;
      hotspotOffset = meta.MetaHotspotOffset;
    } else {
      bitmap.XDpi = static_cast<std::int32_t>(ReadCompressedDword(reader));
      bitmap.YDpi = static_cast<std::int32_t>(ReadCompressedDword(reader));
      bitmap.Planes = static_cast<std::int16_t>(ReadCompressedWord(reader));
      bitmap.BitCount = ReadCompressedWord(reader);
      bitmap.Width = static_cast<std::int32_t>(ReadCompressedDword(reader));
      bitmap.Height = static_cast<std::int32_t>(ReadCompressedDword(reader));
      bitmap.ColorsUsed = static_cast<std::int32_t>(ReadCompressedDword(reader));
      bitmap.ColorsImportant = ReadCompressedDword(reader);
      bitmap.CompressedSize = ReadCompressedDword(reader);
      bitmap.HotspotSize = ReadCompressedDword(reader);
      bitmap.CompressedOffset = reader.U32LE();
      bitmap.HotspotOffset = reader.U32LE();
      // In help files a palette of no count given has an entry for every
      // value. A device-dependent bitmap stores none: the display's colours.
      if (bitmap.PictureType == kDeviceDependentBitmap) {
        bitmap.ColorsUsed = 0;
      } else if (helpPicture && bitmap.ColorsUsed == 0 && bitmap.BitCount <= 8) {
        bitmap.ColorsUsed = 1 << bitmap.BitCount;
      }
      AppendFromFile(data, file, reader.Position(), 4 * std::uint64_t(bitmap.ColorsUsed));
      const std::size_t pixels = data.size();
      AppendFromFile(data, file, picture + bitmap.CompressedOffset, bitmap.CompressedSize);
      ExpandLz77Data(data, pixels, bitmap.PackingMethod, bitmap.CompressedSize);
      hotspotSize = bitmap.HotspotSize;
      hotspotOffset = bitmap.HotspotOffset;
    }

    if (hotspotSize != 0 && hotspotOffset != 0) {
      reader.Seek(picture + hotspotOffset);
      hotSpots = ReadHotspots(reader, bitmap.PictureType == kMetafile);
    }
  } catch (const EReadPastEnd&) {
    throw EShgErrorFile();
  }
  FileHeader = fileHeader;
  BitmapHeader = bitmap;
  MetafileHeader = meta;
  PictureData = MemoryStream(std::move(data));
  hotSpots_ = std::move(hotSpots);
}

}  // namespace quorvex
