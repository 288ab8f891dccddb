#include "metafile/WmfPlayer.h"

#include <algorithm>
#include <cmath>

#include "metafile/WmfRecords.h"

namespace quorvex {

namespace {

// Most states SaveDC keeps; deeper saves are ignored.
constexpr std::size_t kMaxSavedStates = 4096;

LogicalRect ReadReversedRect(ByteReader& p) {
  LogicalRect r;
  r.Bottom = p.I16LE();
  r.Right = p.I16LE();
  r.Top = p.I16LE();
  r.Left = p.I16LE();
  return r;
}

}  // namespace

WmfPlayer::WmfPlayer(Raster& raster, const WmfPlacement& placement) : raster_(raster) {
  PageMapping& m = dc_.Mapping;
  m.Mode = kMmAnisotropic;
  m.WindowOrgX = placement.WindowLeft;
  m.WindowOrgY = placement.WindowTop;
  m.WindowExtX = placement.WindowWidth == 0 ? 1 : placement.WindowWidth;
  m.WindowExtY = placement.WindowHeight == 0 ? 1 : placement.WindowHeight;
  m.ViewportExtX = placement.Width;
  m.ViewportExtY = placement.Height;
  m.OffsetX = placement.X;
  m.OffsetY = placement.Y;
  raster_.SetClip(nullptr);
}

void WmfPlayer::Play(std::span<const std::uint8_t> metafile) {
  if (metafile.size() < kMetaHeaderSize) return;
  ByteReader header(metafile);
  header.Skip(10);  // type, header size, version, file size
  objects_.assign(header.U16LE(), GdiObject{});
  std::size_t pos = kMetaHeaderSize;
  while (metafile.size() - pos >= 6) {
    ByteReader head(metafile.subspan(pos, 6));
    const std::uint64_t bytes = std::uint64_t{head.U32LE()} * 2;
    const std::uint16_t function = head.U16LE();
    if (bytes < 6 || bytes > metafile.size() - pos) return;
    if (function == wmf::kEof) return;
    ByteReader params(metafile.subspan(pos + 6, static_cast<std::size_t>(bytes - 6)));
    try {
      Dispatch(function, params);
    } catch (const EReadPastEnd&) {
      // Parameters shorter than the record needs: the record is left out.
    }
    pos += static_cast<std::size_t>(bytes);
  }
}

void WmfPlayer::Dispatch(std::uint16_t function, ByteReader& p) {
  PageMapping& m = dc_.Mapping;
  switch (function) {
    case wmf::kSaveDc: SaveDC(); break;
    case wmf::kRestoreDc: RestoreDC(p.I16LE()); break;
    case wmf::kSetBkColor: dc_.BkColor = p.U32LE(); break;
    case wmf::kSetTextColor: dc_.TextColor = p.U32LE(); break;
    case wmf::kSetBkMode: dc_.BkMode = p.U16LE(); break;
    case wmf::kSetMapMode: m.SetMode(p.U16LE()); break;
    case wmf::kSetRop2: {
      const int rop2 = p.U16LE();
      if (rop2 >= 1 && rop2 <= 16) dc_.Rop2 = rop2;
      break;
    }
    case wmf::kSetPolyFillMode: {
      const int mode = p.U16LE();
      if (mode == 1 || mode == 2) dc_.PolyFillMode = mode;
      break;
    }
    case wmf::kSetTextAlign: dc_.TextAlign = p.U16LE(); break;
    case wmf::kSetTextCharExtra: dc_.TextCharExtra = p.I16LE(); break;
    case wmf::kSetWindowOrg: m.WindowOrgY = p.I16LE(), m.WindowOrgX = p.I16LE(); break;
    case wmf::kSetViewportOrg: m.ViewportOrgY = p.I16LE(), m.ViewportOrgX = p.I16LE(); break;
    case wmf::kSetWindowExt: {
      const double y = p.I16LE();
      m.SetWindowExt(p.I16LE(), y);
      break;
    }
    case wmf::kSetViewportExt: {
      const double y = p.I16LE();
      m.SetViewportExt(p.I16LE(), y);
      break;
    }
    case wmf::kOffsetWindowOrg: m.WindowOrgY += p.I16LE(), m.WindowOrgX += p.I16LE(); break;
    case wmf::kOffsetViewportOrg: m.ViewportOrgY += p.I16LE(), m.ViewportOrgX += p.I16LE(); break;
    case wmf::kScaleWindowExt:
    case wmf::kScaleViewportExt: {
      const double yDenom = p.I16LE(), yNum = p.I16LE(), xDenom = p.I16LE(), xNum = p.I16LE();
      if (yDenom == 0 || xDenom == 0) break;
      if (function == wmf::kScaleWindowExt) {
        m.SetWindowExt(m.WindowExtX * xNum / xDenom, m.WindowExtY * yNum / yDenom);
      } else {
        m.SetViewportExt(m.ViewportExtX * xNum / xDenom, m.ViewportExtY * yNum / yDenom);
      }
      break;
    }
    case wmf::kMoveTo: dc_.CurrentY = p.I16LE(), dc_.CurrentX = p.I16LE(); break;
    case wmf::kLineTo: {
      const double y = p.I16LE();
      LineTo(p.I16LE(), y);
      break;
    }
    case wmf::kIntersectClipRect: IntersectClip(ReadReversedRect(p), false); break;
    case wmf::kExcludeClipRect: IntersectClip(ReadReversedRect(p), true); break;
    case wmf::kOffsetClipRgn: {
      const double y = p.I16LE();
      OffsetClip(p.I16LE(), y);
      break;
    }
    case wmf::kSelectClipRegion: SelectClipRegion(Region(p.U16LE())); break;

    case wmf::kCreatePenIndirect: CreatePen(p); break;
    case wmf::kCreateBrushIndirect: CreateBrush(p); break;
    case wmf::kCreateFontIndirect: CreateFont(p); break;
    case wmf::kCreatePalette: CreatePalette(p); break;
    case wmf::kCreateRegion: CreateRegion(p); break;
    case wmf::kDibCreatePatternBrush: CreateDibPatternBrush(p); break;
    case wmf::kCreatePatternBrush: CreatePatternBrush(p); break;
    case wmf::kSelectObject: SelectObject(p.U16LE()); break;
    case wmf::kDeleteObject: DeleteObject(p.U16LE()); break;
    case wmf::kSelectPalette: {
      const std::uint16_t index = p.U16LE();
      if (index < objects_.size()) {
        if (const PaletteObject* palette = std::get_if<PaletteObject>(&objects_[index])) dc_.Palette = *palette;
      }
      break;
    }
    case wmf::kSetPalEntries:
    case wmf::kAnimatePalette: SetPaletteEntries(p); break;
    case wmf::kResizePalette: ResizePalette(p); break;

    case wmf::kRectangle: Rectangle(ReadReversedRect(p)); break;
    case wmf::kEllipse: Ellipse(ReadReversedRect(p)); break;
    case wmf::kRoundRect: {
      const double h = p.I16LE(), w = p.I16LE();
      RoundRect(ReadReversedRect(p), w, h);
      break;
    }
    case wmf::kArc:
    case wmf::kPie:
    case wmf::kChord: {
      const double yEnd = p.I16LE(), xEnd = p.I16LE(), yStart = p.I16LE(), xStart = p.I16LE();
      const LogicalRect r = ReadReversedRect(p);
      const ArcKind kind = function == wmf::kArc ? ArcKind::Arc : function == wmf::kPie ? ArcKind::Pie : ArcKind::Chord;
      ArcFigure(r, xStart, yStart, xEnd, yEnd, kind);
      break;
    }
    case wmf::kPolygon:
    case wmf::kPolyline: {
      const std::int16_t count = p.I16LE();
      if (count <= 0) break;
      std::vector<IPoint> points = ReadPoints(p, static_cast<std::size_t>(count));
      if (function == wmf::kPolygon) {
        Polygons({points});
      } else {
        Polyline(points);
      }
      break;
    }
    case wmf::kPolyPolygon: {
      const std::uint16_t polygons = p.U16LE();
      std::vector<std::uint16_t> counts;
      for (std::uint16_t i = 0; i < polygons; ++i) counts.push_back(p.U16LE());
      std::vector<std::vector<IPoint>> all;
      for (std::uint16_t count : counts) all.push_back(ReadPoints(p, count));
      Polygons(all);
      break;
    }
    case wmf::kSetPixel: {
      const ColorRef color = p.U32LE();
      const double y = p.I16LE();
      const IPoint at = m.ToPixel(p.I16LE(), y);
      raster_.Put(at.X, at.Y, Resolve(color));
      break;
    }
    case wmf::kFloodFill:
    case wmf::kExtFloodFill: {
      const bool surface = function == wmf::kExtFloodFill && p.U16LE() == 1;
      const ColorRef color = p.U32LE();
      const double y = p.I16LE();
      FloodFill(p.I16LE(), y, color, surface);
      break;
    }
    case wmf::kFillRegion: {
      const RegionObject* region = Region(p.U16LE());
      const BrushObject* brush = Brush(p.U16LE());
      if (region && brush) FillRegion(*region, *brush);
      break;
    }
    case wmf::kPaintRegion:
      if (const RegionObject* region = Region(p.U16LE())) FillRegion(*region, dc_.Brush);
      break;
    case wmf::kInvertRegion:
      if (const RegionObject* region = Region(p.U16LE())) InvertRegion(*region);
      break;
    case wmf::kFrameRegion: {
      const RegionObject* region = Region(p.U16LE());
      const BrushObject* brush = Brush(p.U16LE());
      const double h = p.I16LE(), w = p.I16LE();
      if (region && brush) FrameRegion(*region, *brush, w, h);
      break;
    }

    case wmf::kPatBlt: PatBlt(p); break;
    case wmf::kDibBitBlt: DibBlit(p, function, false); break;
    case wmf::kDibStretchBlt: DibBlit(p, function, true); break;
    case wmf::kStretchDib: StretchDib(p); break;
    case wmf::kSetDibToDev: SetDibitsToDevice(p); break;
    case wmf::kBitBlt: BitBlt16(p, function, false); break;
    case wmf::kStretchBlt: BitBlt16(p, function, true); break;

    case wmf::kTextOut: TextOut(p); break;
    case wmf::kExtTextOut: ExtTextOut(p); break;
    default: break;  // escapes, mapper flags, justification and the unknown
  }
}

void WmfPlayer::SaveDC() {
  if (saved_.size() < kMaxSavedStates) saved_.push_back(dc_);
}

void WmfPlayer::RestoreDC(std::int16_t level) {
  // Negative: that many states back; positive: the state saved as number `level`.
  std::int64_t keep;
  if (level < 0) {
    keep = static_cast<std::int64_t>(saved_.size()) + level;
  } else {
    keep = std::int64_t{level} - 1;
  }
  if (level == 0 || keep < 0 || keep >= static_cast<std::int64_t>(saved_.size())) return;
  dc_ = saved_[static_cast<std::size_t>(keep)];
  saved_.resize(static_cast<std::size_t>(keep));
  raster_.SetClip(dc_.Clip);
}

Rgb WmfPlayer::Resolve(ColorRef color) const {
  if ((color >> 24) == 1) {
    const std::size_t index = color & 0xFFFF;
    if (dc_.Palette && index < dc_.Palette->size()) return (*dc_.Palette)[index];
    return kBlack;
  }
  return MakeRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void WmfPlayer::IntersectClip(const LogicalRect& rect, bool exclude) {
  IPoint a, b;
  DeviceBox(rect, a, b);
  const std::int32_t w = raster_.Width();
  const std::int32_t h = raster_.Height();
  auto mask = std::make_shared<std::vector<std::uint8_t>>(static_cast<std::size_t>(w) * h, 1);
  if (dc_.Clip) *mask = *dc_.Clip;
  for (std::int32_t y = 0; y < h; ++y) {
    const bool rowInside = y >= a.Y && y < b.Y;
    for (std::int32_t x = 0; x < w; ++x) {
      const bool inside = rowInside && x >= a.X && x < b.X;
      if (inside == exclude) (*mask)[static_cast<std::size_t>(y) * w + x] = 0;
    }
  }
  dc_.Clip = mask;
  raster_.SetClip(dc_.Clip);
}

void WmfPlayer::SelectClipRegion(const RegionObject* region) {
  if (!region) {
    dc_.Clip = nullptr;
  } else {
    const std::int32_t w = raster_.Width();
    auto mask = std::make_shared<std::vector<std::uint8_t>>(static_cast<std::size_t>(w) * raster_.Height(), 0);
    for (const LogicalRect& r : region->Rects) {
      IPoint a, b;
      DeviceBox(r, a, b);
      for (std::int32_t y = std::max(a.Y, 0); y < std::min(b.Y, raster_.Height()); ++y) {
        for (std::int32_t x = std::max(a.X, 0); x < std::min(b.X, w); ++x) (*mask)[static_cast<std::size_t>(y) * w + x] = 1;
      }
    }
    dc_.Clip = mask;
  }
  raster_.SetClip(dc_.Clip);
}

void WmfPlayer::OffsetClip(double dx, double dy) {
  if (!dc_.Clip) return;
  const auto sx = static_cast<std::int64_t>(std::lround(ClampDevice(dx * dc_.Mapping.ScaleX())));
  const auto sy = static_cast<std::int64_t>(std::lround(ClampDevice(dy * dc_.Mapping.ScaleY())));
  const std::int32_t w = raster_.Width();
  const std::int32_t h = raster_.Height();
  auto mask = std::make_shared<std::vector<std::uint8_t>>(static_cast<std::size_t>(w) * h, 0);
  for (std::int64_t y = 0; y < h; ++y) {
    const std::int64_t from = y - sy;
    if (from < 0 || from >= h) continue;
    for (std::int64_t x = 0; x < w; ++x) {
      const std::int64_t fromX = x - sx;
      if (fromX >= 0 && fromX < w) (*mask)[y * w + x] = (*dc_.Clip)[from * w + fromX];
    }
  }
  dc_.Clip = mask;
  raster_.SetClip(dc_.Clip);
}

void WmfPlayer::DeviceBox(const LogicalRect& r, IPoint& topLeft, IPoint& bottomRight) const {
  const IPoint a = dc_.Mapping.ToPixel(r.Left, r.Top);
  const IPoint b = dc_.Mapping.ToPixel(r.Right, r.Bottom);
  topLeft = {std::min(a.X, b.X), std::min(a.Y, b.Y)};
  bottomRight = {std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

}  // namespace quorvex
