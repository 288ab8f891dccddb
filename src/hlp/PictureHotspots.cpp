#include "hlp/PictureHotspots.h"

#include "base/ByteReader.h"
#include "base/CompressedNumbers.h"

namespace quorvex {
namespace {

constexpr std::uint8_t kMetafile = 8;
constexpr std::size_t kHotspotRecordSize = 15;

ByteString ReadString(ByteReader& reader) {
  ByteString text;
  for (std::uint8_t c = reader.U8(); c != 0; c = reader.U8()) text.push_back(static_cast<char>(c));
  return text;
}

// The offset of a picture's hotspot section from the picture's start; 0 for none.
std::uint32_t HotspotOffset(ByteReader& reader) {
  const std::uint8_t type = reader.U8();
  reader.Skip(1);  // packing
  std::uint32_t size = 0;
  if (type == kMetafile) {
    ReadCompressedWord(reader);  // mapping mode
    reader.Skip(4);              // width, height
    ReadCompressedDword(reader);  // expanded size
    ReadCompressedDword(reader);  // packed size
    size = ReadCompressedDword(reader);
  } else {
    for (int i = 0; i < 2; ++i) ReadCompressedDword(reader);  // resolution
    for (int i = 0; i < 2; ++i) ReadCompressedWord(reader);   // planes, bits per pixel
    for (int i = 0; i < 5; ++i) ReadCompressedDword(reader);  // size, colours, packed size
    size = ReadCompressedDword(reader);
  }
  reader.Skip(4);  // where the data is
  const std::uint32_t offset = reader.U32LE();
  return size == 0 ? 0 : offset;
}

void ReadTargets(ByteReader& section, std::vector<ByteString>& targets) {
  section.Skip(1);
  const std::uint16_t count = section.U16LE();
  const std::uint32_t macroSize = section.U32LE();
  section.Skip(std::uint64_t{count} * kHotspotRecordSize + macroSize);
  for (std::uint16_t i = 0; i < count; ++i) {
    ReadString(section);  // the hotspot's name
    targets.push_back(ReadString(section));
  }
}

}  // namespace

std::vector<ByteString> PictureHotspotTargets(std::span<const std::uint8_t> picture) {
  std::vector<ByteString> targets;
  try {
    ByteReader reader(picture);
    reader.Skip(2);  // magic
    const std::uint16_t count = reader.U16LE();
    ByteReader table = reader.Sub(std::uint64_t{count} * 4);
    for (std::uint16_t i = 0; i < count; ++i) {
      const std::uint32_t start = table.U32LE();
      ByteReader header(picture);
      header.Seek(start);
      const std::uint32_t hotspots = HotspotOffset(header);
      if (hotspots == 0) continue;
      ByteReader section(picture);
      section.Seek(std::uint64_t{start} + hotspots);
      ReadTargets(section, targets);
    }
  } catch (const EReadPastEnd&) {
    // a damaged picture names what it names up to the damage
  }
  return targets;
}

}  // namespace quorvex
