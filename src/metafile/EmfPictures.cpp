// Bitmaps, regions and clipping of an enhanced metafile: bitmap records
// become stretching DIB records, region fills become pattern fills, clip
// regions their bounding rectangle.

#include <algorithm>

#include "metafile/EmfRecords.h"
#include "metafile/EmfTranslator.h"
#include "metafile/WmfRecords.h"

namespace quorvex {

std::optional<std::vector<std::uint8_t>> EmfTranslator::PackedDib(std::span<const std::uint8_t> record,
                                                                  std::uint32_t offBmi, std::uint32_t cbBmi,
                                                                  std::uint32_t offBits, std::uint32_t cbBits) const {
  if (cbBmi == 0 || offBmi > record.size() || cbBmi > record.size() - offBmi || offBits > record.size() ||
      cbBits > record.size() - offBits) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> dib(record.begin() + offBmi, record.begin() + offBmi + cbBmi);
  dib.insert(dib.end(), record.begin() + offBits, record.begin() + offBits + cbBits);
  return dib;
}

void EmfTranslator::Blt(ByteReader& r, std::span<const std::uint8_t> record, bool stretch) {
  r.Skip(16);
  const double x = r.I32LE(), y = r.I32LE(), cx = r.I32LE(), cy = r.I32LE();
  const std::uint32_t rop = r.U32LE();
  const double xSrc = r.I32LE(), ySrc = r.I32LE();
  r.Skip(24 + 4);  // source transform, source background colour
  r.U32LE();         // colour usage
  const std::uint32_t offBmi = r.U32LE(), cbBmi = r.U32LE(), offBits = r.U32LE(), cbBits = r.U32LE();
  double cxSrc = cx, cySrc = cy;
  if (stretch) cxSrc = r.I32LE(), cySrc = r.I32LE();
  const DPoint a = Map(x, y), c = Map(x + cx, y + cy);
  const std::int32_t ropLo = static_cast<std::int32_t>(rop & 0xFFFF), ropHi = static_cast<std::int32_t>(rop >> 16);
  if (cbBmi == 0) {
    out_.Record(wmf::kPatBlt, {ropLo, ropHi, ToShort(c.Y - a.Y), ToShort(c.X - a.X), ToShort(a.Y), ToShort(a.X)});
    return;
  }
  std::optional<std::vector<std::uint8_t>> dib = PackedDib(record, offBmi, cbBmi, offBits, cbBits);
  if (!dib) return;
  // A device bitmap's source rectangle counts from its top, as the
  // stretching bitmap record of a Windows metafile reads it.
  std::vector<std::uint8_t> p;
  for (std::int32_t v : {ropLo, ropHi, static_cast<std::int32_t>(ToShort(cySrc)), static_cast<std::int32_t>(ToShort(cxSrc)),
                         static_cast<std::int32_t>(ToShort(ySrc)), static_cast<std::int32_t>(ToShort(xSrc)),
                         static_cast<std::int32_t>(ToShort(c.Y - a.Y)), static_cast<std::int32_t>(ToShort(c.X - a.X)),
                         static_cast<std::int32_t>(ToShort(a.Y)), static_cast<std::int32_t>(ToShort(a.X))}) {
    PutU16(p, static_cast<std::uint32_t>(v));
  }
  p.insert(p.end(), dib->begin(), dib->end());
  out_.RecordBytes(wmf::kDibStretchBlt, p);
}

void EmfTranslator::StretchDiBits(ByteReader& r, std::span<const std::uint8_t> record, bool toDevice) {
  r.Skip(16);
  const double x = r.I32LE(), y = r.I32LE(), xSrc = r.I32LE(), ySrc = r.I32LE(), cxSrc = r.I32LE(), cySrc = r.I32LE();
  const std::uint32_t offBmi = r.U32LE(), cbBmi = r.U32LE(), offBits = r.U32LE(), cbBits = r.U32LE();
  const std::uint32_t usage = r.U32LE();
  std::uint32_t rop = 0x00CC0020;
  DPoint a = Map(x, y), c;
  if (toDevice) {
    // Pixels to the device one to one: the size is in device pixels.
    c = {a.X + cxSrc * unitsPerPixel_, a.Y + cySrc * unitsPerPixel_};
  } else {
    rop = r.U32LE();
    const double cx = r.I32LE(), cy = r.I32LE();
    c = Map(x + cx, y + cy);
  }
  std::optional<std::vector<std::uint8_t>> dib = PackedDib(record, offBmi, cbBmi, offBits, cbBits);
  if (!dib) return;
  std::vector<std::uint8_t> p;
  PutU32(p, rop);
  PutU16(p, usage & 0xFFFF);
  for (double v : {cySrc, cxSrc, ySrc, xSrc, c.Y - a.Y, c.X - a.X, a.Y, a.X}) {
    PutU16(p, static_cast<std::uint16_t>(ToShort(v)));
  }
  p.insert(p.end(), dib->begin(), dib->end());
  out_.RecordBytes(wmf::kStretchDib, p);
}

void EmfTranslator::ClipRect(std::uint32_t type, ByteReader& r) {
  const double l = r.I32LE(), t = r.I32LE(), rt = r.I32LE(), b = r.I32LE();
  const DPoint a = Map(l, t), c = Map(rt, b);
  out_.Record(type == emr::kIntersectClipRect ? wmf::kIntersectClipRect : wmf::kExcludeClipRect,
              {ToShort(std::max(a.Y, c.Y)), ToShort(std::max(a.X, c.X)), ToShort(std::min(a.Y, c.Y)),
               ToShort(std::min(a.X, c.X))});
}

void EmfTranslator::ClipRegion(ByteReader& r) {
  const std::uint32_t size = r.U32LE();
  const std::uint32_t mode = r.U32LE();
  constexpr std::uint32_t kRgnAnd = 1, kRgnCopy = 5;
  if (mode != kRgnAnd && mode != kRgnCopy) return;  // unions and differences have no record
  if (size == 0) {
    // No region: the clip is reset by selecting an empty slot.
    if (mode == kRgnCopy) out_.Record(wmf::kSelectClipRegion, {out_.FreeSlot()});
    return;
  }
  r.Skip(8);
  const std::uint32_t count = r.U32LE();
  r.U32LE();
  // The region's bounds, in device pixels.
  const double l = r.I32LE(), t = r.I32LE(), rt = r.I32LE(), b = r.I32LE();
  if (count == 0) return;
  if (mode == kRgnCopy) out_.Record(wmf::kSelectClipRegion, {out_.FreeSlot()});
  const DPoint a = DeviceToOutput(l, t), c = DeviceToOutput(rt, b);
  out_.Record(wmf::kIntersectClipRect, {ToShort(c.Y), ToShort(c.X), ToShort(a.Y), ToShort(a.X)});
}

void EmfTranslator::PaintRegion(ByteReader& r, std::uint32_t type) {
  r.Skip(16);
  const std::uint32_t size = r.U32LE();
  std::optional<int> brush;
  if (type == emr::kFillRgn) {
    auto it = objects_.find(r.U32LE());
    if (it != objects_.end() && it->second.Kind == ObjectKind::Brush) brush = it->second.Slot;
    if (!brush) return;
  }
  if (size < 32) return;
  r.Skip(8);
  const std::uint32_t count = r.U32LE();
  r.Skip(4 + 16);
  if (count > r.Remaining() / 16) return;
  constexpr std::uint32_t kPatCopy = 0x00F00021, kDstInvert = 0x00550009;
  const std::uint32_t rop = type == emr::kInvertRgn ? kDstInvert : kPatCopy;
  if (brush) out_.SelectObject(*brush);
  for (std::uint32_t i = 0; i < count; ++i) {
    const double l = r.I32LE(), t = r.I32LE(), rt = r.I32LE(), b = r.I32LE();
    const DPoint a = DeviceToOutput(l, t), c = DeviceToOutput(rt, b);
    out_.Record(wmf::kPatBlt, {static_cast<std::int32_t>(rop & 0xFFFF), static_cast<std::int32_t>(rop >> 16),
                               ToShort(c.Y - a.Y), ToShort(c.X - a.X), ToShort(a.Y), ToShort(a.X)});
  }
  if (brush) out_.SelectObject(state_.BrushSlot >= 0 ? state_.BrushSlot : StockSlot(0));
}

}  // namespace quorvex
