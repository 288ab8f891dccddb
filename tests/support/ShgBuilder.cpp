#include "support/ShgBuilder.h"

namespace quorvex::test {

namespace {

void PutWord(Bytes& out, std::uint32_t v, bool longForm) {
  if (v < 128 && !longForm) {
    out.push_back(static_cast<std::uint8_t>(v << 1));
    return;
  }
  out.push_back(static_cast<std::uint8_t>(((v & 0x7F) << 1) | 1));
  out.push_back(static_cast<std::uint8_t>(v >> 7));
}

void PutDword(Bytes& out, std::uint32_t v, bool longForm) {
  if (v < 32768 && !longForm) {
    Put16(out, v << 1);
    return;
  }
  Put16(out, ((v & 0x7FFF) << 1) | 1);
  Put16(out, v >> 15);
}

Bytes HotspotSection(const ShgBuilder& b) {
  Bytes section;
  section.push_back(1);  // skipped by readers
  Put16(section, static_cast<std::uint32_t>(b.Hotspots.size()));
  Put32(section, static_cast<std::uint32_t>(b.MacroData.size()));
  for (const ShgHotspot& h : b.Hotspots) {
    section.push_back(h.Type);
    section.push_back(h.Second);
    section.push_back(0);
    Put16(section, h.X);
    Put16(section, h.Y);
    Put16(section, h.Width);
    Put16(section, h.Height);
    Put32(section, 0x12345678);  // hash
  }
  section.insert(section.end(), b.MacroData.begin(), b.MacroData.end());
  for (const ShgHotspot& h : b.Hotspots) {
    for (const std::string* text : {&h.Name, &h.Target}) {
      section.insert(section.end(), text->begin(), text->end());
      section.push_back(0);
    }
  }
  return section;
}

}  // namespace

Bytes ShgBuilder::Build() const {
  const bool metafile = PictureType == 8;
  const Bytes section = Hotspots.empty() ? Bytes{} : HotspotSection(*this);
  const auto dataSize = static_cast<std::uint32_t>(Data.size());

  // The picture header's length does not depend on the offsets it holds, so
  // it is written once with placeholders and patched.
  Bytes picture{PictureType, Packing};
  if (metafile) {
    PutWord(picture, MappingMode, LongNumbers);
    Put16(picture, MetricWidth);
    Put16(picture, MetricHeight);
    PutDword(picture, DecompressedSize, LongNumbers);
    PutDword(picture, CompressedSize.value_or(dataSize), LongNumbers);
    PutDword(picture, HotspotSize.value_or(static_cast<std::uint32_t>(section.size())), LongNumbers);
  } else {
    PutDword(picture, XDpi, LongNumbers);
    PutDword(picture, YDpi, LongNumbers);
    PutWord(picture, Planes, LongNumbers);
    PutWord(picture, BitCount, LongNumbers);
    PutDword(picture, Width, LongNumbers);
    PutDword(picture, Height, LongNumbers);
    PutDword(picture, ColorsUsed.value_or(static_cast<std::uint32_t>(Palette.size() / 4)), LongNumbers);
    PutDword(picture, ColorsImportant, LongNumbers);
    PutDword(picture, CompressedSize.value_or(dataSize), LongNumbers);
    PutDword(picture, HotspotSize.value_or(static_cast<std::uint32_t>(section.size())), LongNumbers);
  }
  const auto dataOffset = static_cast<std::uint32_t>(picture.size() + 8 + (metafile ? 0 : Palette.size()));
  const std::uint32_t sectionOffset = section.empty() ? 0 : dataOffset + dataSize;
  Put32(picture, dataOffset);
  Put32(picture, HotspotOffset.value_or(sectionOffset));
  if (!metafile) picture.insert(picture.end(), Palette.begin(), Palette.end());
  picture.insert(picture.end(), Data.begin(), Data.end());
  picture.insert(picture.end(), section.begin(), section.end());

  Bytes file;
  Put16(file, Magic);
  Put16(file, PictureCount);
  Put32(file, PictureOffset);
  file.resize(PictureOffset, 0);
  file.insert(file.end(), picture.begin(), picture.end());
  return file;
}

}  // namespace quorvex::test
