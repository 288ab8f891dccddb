// The object records: pens, brushes, fonts, palettes and regions enter the
// metafile's object table at its first free slot and are selected from it.

#include <algorithm>

#include "metafile/MetafileDib.h"
#include "metafile/WmfPlayer.h"

namespace quorvex {

namespace {

// Largest object table a metafile may grow to.
constexpr std::size_t kMaxObjects = 65535;

}  // namespace

void WmfPlayer::AddObject(GdiObject object) {
  for (GdiObject& slot : objects_) {
    if (std::holds_alternative<std::monostate>(slot)) {
      slot = std::move(object);
      return;
    }
  }
  // A table declared too small grows, so later indexes still line up.
  if (objects_.size() < kMaxObjects) objects_.push_back(std::move(object));
}

void WmfPlayer::SelectObject(std::uint16_t index) {
  if (index >= objects_.size()) return;
  const GdiObject& object = objects_[index];
  if (const auto* pen = std::get_if<PenObject>(&object)) {
    dc_.Pen = *pen;
  } else if (const auto* brush = std::get_if<BrushObject>(&object)) {
    dc_.Brush = *brush;
  } else if (const auto* font = std::get_if<FontObject>(&object)) {
    dc_.Font = *font;
  } else if (const auto* region = std::get_if<RegionObject>(&object)) {
    SelectClipRegion(region);
  }
}

void WmfPlayer::DeleteObject(std::uint16_t index) {
  if (index < objects_.size()) objects_[index] = std::monostate{};
}

const RegionObject* WmfPlayer::Region(std::uint16_t index) const {
  return index < objects_.size() ? std::get_if<RegionObject>(&objects_[index]) : nullptr;
}

const BrushObject* WmfPlayer::Brush(std::uint16_t index) const {
  return index < objects_.size() ? std::get_if<BrushObject>(&objects_[index]) : nullptr;
}

void WmfPlayer::CreatePen(ByteReader& p) {
  PenObject pen;
  pen.Style = p.U16LE() & 0x0F;
  pen.Width = p.I16LE();
  p.I16LE();  // the y of the width point is not used
  pen.Color = p.U32LE();
  AddObject(pen);
}

void WmfPlayer::CreateBrush(ByteReader& p) {
  BrushObject brush;
  brush.Style = p.U16LE();
  brush.Color = p.U32LE();
  brush.Hatch = p.U16LE();
  // Pattern styles need a bitmap this record cannot carry: they paint like a
  // solid brush in the given colour, the null brush stays null.
  if (brush.Style != kBsNull && brush.Style != kBsHatched) brush.Style = kBsSolid;
  AddObject(brush);
}

void WmfPlayer::CreateFont(ByteReader& p) {
  FontObject font;
  font.Height = p.I16LE();
  font.Width = p.I16LE();
  font.Escapement = p.I16LE();
  p.I16LE();  // orientation
  font.Weight = p.I16LE();
  font.Italic = p.U8() != 0;
  font.Underline = p.U8() != 0;
  font.StrikeOut = p.U8() != 0;
  font.Charset = p.U8();
  p.Skip(3);  // output and clip precision, quality
  font.PitchAndFamily = p.U8();
  // The face name runs to its zero byte or the end of the record (at most 32 bytes).
  for (int i = 0; i < 32 && p.Remaining() > 0; ++i) {
    const std::uint8_t c = p.U8();
    if (c == 0) break;
    font.FaceName += static_cast<char>(c);
  }
  AddObject(font);
}

void WmfPlayer::CreatePalette(ByteReader& p) {
  p.U16LE();  // version
  const std::uint16_t count = p.U16LE();
  auto palette = std::make_shared<std::vector<Rgb>>();
  for (std::uint16_t i = 0; i < count; ++i) {
    const std::uint8_t red = p.U8(), green = p.U8(), blue = p.U8();
    p.U8();
    palette->push_back(MakeRgb(red, green, blue));
  }
  AddObject(palette);
}

void WmfPlayer::SetPaletteEntries(ByteReader& p) {
  const std::uint16_t start = p.U16LE();
  const std::uint16_t count = p.U16LE();
  if (!dc_.Palette) return;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t red = p.U8(), green = p.U8(), blue = p.U8();
    p.U8();
    const std::size_t at = std::size_t{start} + i;
    if (at < dc_.Palette->size()) (*dc_.Palette)[at] = MakeRgb(red, green, blue);
  }
}

void WmfPlayer::ResizePalette(ByteReader& p) {
  const std::uint16_t count = p.U16LE();
  if (dc_.Palette) dc_.Palette->resize(count, kBlack);
}

void WmfPlayer::CreateRegion(ByteReader& p) {
  p.Skip(10);  // next in chain, object type, object count, region size
  const std::uint16_t scans = p.U16LE();
  p.Skip(10);  // largest scan, bounding box
  RegionObject region;
  for (std::uint16_t s = 0; s < scans; ++s) {
    const std::uint16_t count = p.U16LE();
    const std::int16_t top = p.I16LE();
    const std::int16_t bottom = p.I16LE();
    for (std::uint16_t i = 0; i + 1 < count; i += 2) {
      const std::int16_t left = p.I16LE();
      const std::int16_t right = p.I16LE();
      region.Rects.push_back({left, top, right, bottom});
    }
    if (count % 2) p.U16LE();
    p.U16LE();  // the count again
  }
  AddObject(std::move(region));
}

void WmfPlayer::CreateDibPatternBrush(ByteReader& p) {
  const std::uint16_t style = p.U16LE();
  const std::uint16_t usage = p.U16LE();
  BrushObject brush;
  std::optional<PixelImage> image = ReadDib(p.Rest(), usage == 1);
  if (!image && style == kBsPattern) image = DecodeBitmap16(p.Rest(), 0);
  if (image) {
    brush.Style = kBsDibPattern;
    brush.Pattern = std::make_shared<const PixelImage>(std::move(*image));
  } else {
    brush.Color = 0;  // a pattern that cannot be read paints black
  }
  AddObject(brush);
}

void WmfPlayer::CreatePatternBrush(ByteReader& p) {
  BrushObject brush;
  // The bitmap's header, its unused bits pointer and 18 reserved bytes, then the pattern bits.
  std::optional<PixelImage> image = DecodeBitmap16(p.Rest(), 22);
  if (image) {
    brush.Style = kBsPattern;
    brush.Monochrome = image->Monochrome;
    brush.Pattern = std::make_shared<const PixelImage>(std::move(*image));
  } else {
    brush.Color = 0;
  }
  AddObject(brush);
}

}  // namespace quorvex
