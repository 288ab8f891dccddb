// The object table of an enhanced metafile in the output's: pens, brushes,
// fonts and palettes are written as creation records, enhanced metafile
// handles map to output slots, and stock objects get slots of their own.

#include <algorithm>
#include <cmath>

#include "metafile/CharsetText.h"
#include "metafile/EmfRecords.h"
#include "metafile/EmfTranslator.h"
#include "metafile/WmfRecords.h"

namespace quorvex {

namespace {

constexpr std::uint32_t kStockObject = 0x80000000;

// A pen style of the output: alternate pens are dotted, user styles solid.
int OutputPenStyle(std::uint32_t style) {
  const int s = static_cast<int>(style & 0x0F);
  return s > 6 ? (s == 8 ? 2 : 0) : s;
}

}  // namespace

bool EmfTranslator::ObjectRecord(std::uint32_t type, ByteReader& r, std::span<const std::uint8_t> record) {
  switch (type) {
    case emr::kSelectObject: SelectHandle(r.U32LE()); return true;
    case emr::kDeleteObject: DeleteHandle(r.U32LE()); return true;
    case emr::kCreatePen:
    case emr::kExtCreatePen: CreatePen(type, r); return true;
    case emr::kCreateBrushIndirect: {
      const std::uint32_t handle = r.U32LE();
      const std::uint32_t style = r.U32LE();
      const std::uint32_t color = r.U32LE();
      const std::uint32_t hatch = r.U32LE();
      // Solid, null and hatched brushes carry over; the others paint in their colour.
      const int wmfStyle = style == 1 || style == 2 ? static_cast<int>(style) : 0;
      AddObject(handle, ObjectKind::Brush, WriteBrush(wmfStyle, color, static_cast<int>(hatch & 0xFFFF)));
      return true;
    }
    case emr::kCreateDibPatternBrushPt:
    case emr::kCreateMonoBrush: CreatePatternBrush(r, record); return true;
    case emr::kExtCreateFontIndirectW: CreateFont(r); return true;
    case emr::kCreatePalette: CreatePalette(r); return true;
    case emr::kSelectPalette: {
      auto it = objects_.find(r.U32LE());
      if (it != objects_.end() && it->second.Kind == ObjectKind::Palette) {
        out_.Record(wmf::kSelectPalette, {it->second.Slot});
      }
      return true;
    }
    case emr::kRealizePalette: out_.Record(wmf::kRealizePalette, {}); return true;
    default: return false;
  }
}

void EmfTranslator::CreatePen(std::uint32_t type, ByteReader& r) {
  const std::uint32_t handle = r.U32LE();
  if (type == emr::kCreatePen) {
    const std::uint32_t style = r.U32LE();
    const double width = r.I32LE();
    r.I32LE();
    const std::uint32_t color = r.U32LE();
    AddObject(handle, ObjectKind::Pen, WritePen(OutputPenStyle(style), ToShort(width * ScaleAlongX()), color));
    return;
  }
  r.Skip(16);  // the pattern bitmap of a pattern pen is not carried over
  const std::uint32_t style = r.U32LE();
  const double width = r.U32LE();
  const std::uint32_t brushStyle = r.U32LE();
  const std::uint32_t color = r.U32LE();
  const int wmfStyle = brushStyle == 1 ? 5 : OutputPenStyle(style);  // a null brush draws nothing
  // Cosmetic pens are one pixel wide however the picture is scaled.
  const bool geometric = (style & 0x000F0000) == 0x00010000;
  AddObject(handle, ObjectKind::Pen, WritePen(wmfStyle, geometric ? ToShort(width * ScaleAlongX()) : 0, color));
}

void EmfTranslator::CreateFont(ByteReader& r) {
  const std::uint32_t handle = r.U32LE();
  const double height = r.I32LE(), width = r.I32LE();
  const std::int32_t escapement = r.I32LE(), orientation = r.I32LE(), weight = r.I32LE();
  std::uint8_t flags[8];  // italic, underline, strike-out, character set, precisions, quality, pitch
  for (std::uint8_t& f : flags) f = r.U8();
  std::u16string face;
  for (int i = 0; i < 32; ++i) {
    const char16_t c = r.U16LE();
    if (c == 0) break;
    face += c;
  }
  // A size that scales below one unit stays one unit, so the font keeps its kind.
  auto scaled = [](double v, double scale) -> std::int32_t {
    const double s = v * scale;
    return v == 0 ? 0 : std::abs(s) < 1 ? (v < 0 ? -1 : 1) : ToShort(s);
  };
  // Face names are stored in the system's code page, 932 on the systems the pictures come from.
  const int slot = WriteFont(scaled(height, ScaleAlongY()), scaled(width, ScaleAlongX()), escapement, orientation,
                             weight, flags, EncodeCharsetText(face, 128));
  AddObject(handle, ObjectKind::Font, slot, flags[3]);
}

void EmfTranslator::CreatePatternBrush(ByteReader& r, std::span<const std::uint8_t> record) {
  const std::uint32_t handle = r.U32LE();
  const std::uint32_t usage = r.U32LE();
  const std::uint32_t offBmi = r.U32LE(), cbBmi = r.U32LE(), offBits = r.U32LE(), cbBits = r.U32LE();
  std::optional<std::vector<std::uint8_t>> dib = PackedDib(record, offBmi, cbBmi, offBits, cbBits);
  if (!dib) return;
  std::vector<std::uint8_t> p;
  PutU16(p, 5);  // a DIB pattern
  PutU16(p, usage & 0xFFFF);
  p.insert(p.end(), dib->begin(), dib->end());
  AddObject(handle, ObjectKind::Brush, out_.CreateObject(wmf::kDibCreatePatternBrush, p));
}

void EmfTranslator::CreatePalette(ByteReader& r) {
  const std::uint32_t handle = r.U32LE();
  r.U16LE();  // version
  const std::uint16_t count = r.U16LE();
  std::vector<std::uint8_t> p;
  PutU16(p, 0x0300);
  PutU16(p, count);
  std::span<const std::uint8_t> entries = r.Bytes(std::size_t{count} * 4);
  p.insert(p.end(), entries.begin(), entries.end());
  AddObject(handle, ObjectKind::Palette, out_.CreateObject(wmf::kCreatePalette, p));
}

void EmfTranslator::SelectHandle(std::uint32_t handle) {
  if (handle & kStockObject) {
    SelectStock(handle & ~kStockObject);
    return;
  }
  auto it = objects_.find(handle);
  if (it == objects_.end() || it->second.Kind == ObjectKind::Palette) return;
  SelectSlot(it->second.Kind, it->second.Slot, it->second.Charset);
}

void EmfTranslator::SelectSlot(ObjectKind kind, int slot, int charset) {
  out_.SelectObject(slot);
  int* selected = kind == ObjectKind::Pen     ? &state_.PenSlot
                  : kind == ObjectKind::Brush ? &state_.BrushSlot
                                              : &state_.FontSlot;
  const int previous = *selected;
  *selected = slot;
  if (kind == ObjectKind::Font) state_.FontCharset = charset;
  // An object deleted while it was selected goes once something replaces it.
  if (previous != slot && pendingDeletes_.erase(previous)) out_.DeleteObject(previous);
}

void EmfTranslator::AddObject(std::uint32_t handle, ObjectKind kind, int slot, int charset) {
  DeleteHandle(handle);
  objects_[handle] = {kind, slot, charset};
}

void EmfTranslator::DeleteHandle(std::uint32_t handle) {
  auto it = objects_.find(handle);
  if (it == objects_.end()) return;
  const int slot = it->second.Slot;
  objects_.erase(it);
  // GDI keeps a selected object until it is replaced; deleting its slot now
  // would leave the figures that follow without it.
  if (slot == state_.PenSlot || slot == state_.BrushSlot || slot == state_.FontSlot) {
    pendingDeletes_.insert(slot);
  } else {
    out_.DeleteObject(slot);
  }
}

void EmfTranslator::SelectStock(std::uint32_t index) {
  if (index == 9 || index == 15 || index > 19) return;  // the default palette, unknown numbers
  const ObjectKind kind = index <= 5 || index == 18                   ? ObjectKind::Brush
                          : (index >= 6 && index <= 8) || index == 19 ? ObjectKind::Pen
                                                                      : ObjectKind::Font;
  SelectSlot(kind, StockSlot(index), 128);
}

int EmfTranslator::StockSlot(std::uint32_t index) {
  auto it = stockSlots_.find(index);
  if (it != stockSlots_.end()) return it->second;
  // The stock fonts of a Japanese system are Shift-JIS fonts.
  const std::uint8_t variable[8] = {0, 0, 0, 128, 0, 0, 0, 0};
  const std::uint8_t fixed[8] = {0, 0, 0, 128, 0, 0, 0, 0x31};
  const double px = unitsPerPixel_;
  int slot;
  switch (index) {
    case 0: slot = WriteBrush(0, 0xFFFFFF, 0); break;
    case 1: slot = WriteBrush(0, 0xC0C0C0, 0); break;
    case 2: slot = WriteBrush(0, 0x808080, 0); break;
    case 3: slot = WriteBrush(0, 0x404040, 0); break;
    case 4: slot = WriteBrush(0, 0x000000, 0); break;
    case 5: slot = WriteBrush(1, 0, 0); break;
    case 6: slot = WritePen(0, 0, 0xFFFFFF); break;
    case 8: slot = WritePen(5, 0, 0); break;
    case 18: slot = WriteBrush(0, 0xFFFFFF, 0); break;  // the DC brush, white until changed
    case 10:
    case 11:
    case 16: slot = WriteFont(ToShort(16 * px), 0, 0, 0, 400, fixed, "System"); break;
    case 12:
    case 13:
    case 14: slot = WriteFont(ToShort(16 * px), 0, 0, 0, 700, variable, "System"); break;
    case 17: slot = WriteFont(ToShort(-12 * px), 0, 0, 0, 400, variable, EncodeCharsetText(u"ＭＳ Ｐゴシック", 128)); break;
    default: slot = WritePen(0, 0, 0); break;  // the black pen and the DC pen
  }
  stockSlots_[index] = slot;
  return slot;
}

int EmfTranslator::WritePen(int style, std::int32_t width, std::uint32_t color) {
  return out_.CreateObject(wmf::kCreatePenIndirect, {style, width, 0, static_cast<std::int32_t>(color & 0xFFFF),
                                                     static_cast<std::int32_t>(color >> 16)});
}

int EmfTranslator::WriteBrush(int style, std::uint32_t color, int hatch) {
  return out_.CreateObject(wmf::kCreateBrushIndirect, {style, static_cast<std::int32_t>(color & 0xFFFF),
                                                       static_cast<std::int32_t>(color >> 16), hatch});
}

int EmfTranslator::WriteFont(std::int32_t height, std::int32_t width, std::int32_t escapement,
                             std::int32_t orientation, std::int32_t weight, const std::uint8_t flags[8],
                             const std::string& face) {
  std::vector<std::uint8_t> p;
  for (std::int32_t v : {height, width, escapement, orientation, weight}) {
    PutU16(p, static_cast<std::uint16_t>(ToShort(v)));
  }
  p.insert(p.end(), flags, flags + 8);
  std::vector<std::uint8_t> name(32, 0);
  std::copy_n(face.begin(), std::min<std::size_t>(face.size(), 31), name.begin());
  p.insert(p.end(), name.begin(), name.end());
  return out_.CreateObject(wmf::kCreateFontIndirect, p);
}

}  // namespace quorvex
