// The line and figure records. Coordinates are mapped to whole device
// pixels first, then drawn by GDI's rules: a rectangle, rounded rectangle or
// ellipse covers its box without the right column and the bottom row (one
// more of each without a pen); a polygon's interior is filled by pixel
// centres and its outline runs through its corner pixels.

#include <algorithm>
#include <cmath>

#include "metafile/ShapeOutlines.h"
#include "metafile/WmfPlayer.h"

namespace quorvex {

namespace {

// Whole-pixel points along an outline, repeated neighbours dropped.
std::vector<IPoint> PixelPoints(const Figure& figure) {
  std::vector<IPoint> out;
  for (const DPoint& p : figure) {
    const IPoint q{RoundPixel(p.X), RoundPixel(p.Y)};
    if (out.empty() || !(out.back() == q)) out.push_back(q);
  }
  return out;
}

Figure ToFigure(const std::vector<IPoint>& points) {
  Figure out;
  out.reserve(points.size());
  for (const IPoint& p : points) out.push_back({static_cast<double>(p.X), static_cast<double>(p.Y)});
  return out;
}

// The 8 x 8 hatch patterns: true where the hatch line is.
bool HatchAt(int hatch, std::int32_t x, std::int32_t y) {
  const int u = x & 7;
  const int v = y & 7;
  const bool horizontal = v == 7;
  const bool vertical = u == 7;
  const bool forward = ((u - v) & 7) == 0;  // upper left to lower right
  const bool backward = ((u + v) & 7) == 7;
  switch (hatch) {
    case 0: return horizontal;
    case 1: return vertical;
    case 2: return forward;
    case 3: return backward;
    case 4: return horizontal || vertical;
    case 5: return forward || backward;
    default: return false;
  }
}

}  // namespace

std::vector<IPoint> WmfPlayer::ReadPoints(ByteReader& p, std::size_t count) const {
  std::vector<IPoint> points;
  points.reserve(std::min(count, p.Remaining() / 4));
  for (std::size_t i = 0; i < count; ++i) {
    const double x = p.I16LE();
    const double y = p.I16LE();
    points.push_back(dc_.Mapping.ToPixel(x, y));
  }
  return points;
}

bool WmfPlayer::PenIsCosmetic() const { return PenWidth() <= 1.5; }

double WmfPlayer::PenWidth() const {
  return std::abs(ClampDevice(dc_.Pen.Width * dc_.Mapping.ScaleX()));
}

CosmeticPen WmfPlayer::MakeCosmeticPen() const {
  CosmeticPen pen;
  pen.Style = dc_.Pen.Style == kPsInsideFrame ? kPsSolid : dc_.Pen.Style;
  pen.Color = Resolve(dc_.Pen.Color);
  pen.Background = Resolve(dc_.BkColor);
  pen.OpaqueGaps = dc_.BkMode == 2;
  pen.Rop2 = dc_.Rop2;
  return pen;
}

void WmfPlayer::StrokeOutline(const std::vector<IPoint>& points, bool closed) {
  if (!PenVisible() || points.empty()) return;
  if (PenIsCosmetic()) {
    CosmeticPen pen = MakeCosmeticPen();
    for (std::size_t i = 0; i + 1 < points.size(); ++i) DrawCosmeticLine(raster_, points[i], points[i + 1], pen);
    if (closed && points.size() > 1) DrawCosmeticLine(raster_, points.back(), points.front(), pen);
    return;
  }
  // Wide pens draw solid, as GDI draws styled pens wider than a pixel.
  BrushObject ink;
  ink.Color = dc_.Pen.Color;
  PaintCoverage(Coverage::Stroke(raster_, {ToFigure(points)}, closed, PenWidth()), ink, dc_.Rop2);
}

void WmfPlayer::FillFigures(const std::vector<Figure>& figures, const BrushObject& brush) {
  if (brush.Style == kBsNull) return;
  PaintCoverage(Coverage::Fill(raster_, figures, dc_.PolyFillMode == 2), brush, dc_.Rop2);
}

bool WmfPlayer::BrushColorAt(const BrushObject& brush, std::int32_t x, std::int32_t y, Rgb& color) const {
  switch (brush.Style) {
    case kBsNull: return false;
    case kBsHatched:
      if (HatchAt(brush.Hatch, x, y)) {
        color = Resolve(brush.Color);
        return true;
      }
      if (dc_.BkMode != 2) return false;
      color = Resolve(dc_.BkColor);
      return true;
    case kBsPattern:
    case kBsDibPattern:
      if (brush.Pattern && brush.Pattern->Width > 0 && brush.Pattern->Height > 0) {
        const PixelImage& image = *brush.Pattern;
        color = image.At(x % image.Width, y % image.Height);
        if (brush.Monochrome) color = Resolve(color == kBlack ? dc_.TextColor : dc_.BkColor);
        return true;
      }
      [[fallthrough]];
    default: color = Resolve(brush.Color); return true;
  }
}

void WmfPlayer::PaintCoverage(const Coverage& coverage, const BrushObject& brush, int rop2) {
  if (brush.Style == kBsSolid) {
    const Rgb color = Resolve(brush.Color);
    coverage.ForEach([&](std::int32_t x, std::int32_t y) { raster_.Plot(x, y, color, rop2); });
    return;
  }
  coverage.ForEach([&](std::int32_t x, std::int32_t y) {
    Rgb color;
    if (BrushColorAt(brush, x, y, color)) raster_.Plot(x, y, color, rop2);
  });
}

void WmfPlayer::LineTo(double x, double y) {
  const IPoint from = dc_.Mapping.ToPixel(dc_.CurrentX, dc_.CurrentY);
  const IPoint to = dc_.Mapping.ToPixel(x, y);
  dc_.CurrentX = x;
  dc_.CurrentY = y;
  if (!PenVisible()) return;
  if (PenIsCosmetic()) {
    CosmeticPen pen = MakeCosmeticPen();
    DrawCosmeticLine(raster_, from, to, pen);
  } else {
    StrokeOutline({from, to}, false);
  }
}

void WmfPlayer::Rectangle(const LogicalRect& r) {
  IPoint a, b;
  DeviceBox(r, a, b);
  if (b.X - a.X < 1 || b.Y - a.Y < 1) return;
  auto box = [](double l, double t, double r, double b) { return Figure{{l, t}, {r, t}, {r, b}, {l, b}}; };
  if (!PenVisible()) {
    FillFigures({box(a.X, a.Y, b.X - 1, b.Y - 1)}, dc_.Brush);
    return;
  }
  if (PenIsCosmetic()) {
    // The outline takes the outer ring of pixels, the brush the rest.
    if (b.X - a.X > 2 && b.Y - a.Y > 2) FillFigures({box(a.X + 1, a.Y + 1, b.X - 1, b.Y - 1)}, dc_.Brush);
  } else {
    FillFigures({box(a.X, a.Y, b.X, b.Y)}, dc_.Brush);
  }
  StrokeOutline({{a.X, a.Y}, {b.X - 1, a.Y}, {b.X - 1, b.Y - 1}, {a.X, b.Y - 1}}, true);
}

void WmfPlayer::RoundRect(const LogicalRect& r, double cornerWidth, double cornerHeight) {
  IPoint a, b;
  DeviceBox(r, a, b);
  if (b.X - a.X < 1 || b.Y - a.Y < 1) return;
  const double cw = std::abs(ClampDevice(cornerWidth * dc_.Mapping.ScaleX()));
  const double ch = std::abs(ClampDevice(cornerHeight * dc_.Mapping.ScaleY()));
  const double inset = PenVisible() ? 0 : 1;
  FillFigures({RoundRectOutline({double(a.X), double(a.Y), b.X - inset, b.Y - inset}, cw, ch)}, dc_.Brush);
  StrokeOutline(PixelPoints(RoundRectOutline({double(a.X), double(a.Y), b.X - 1.0, b.Y - 1.0}, cw - 1, ch - 1)),
                true);
}

void WmfPlayer::Ellipse(const LogicalRect& r) {
  IPoint a, b;
  DeviceBox(r, a, b);
  if (b.X - a.X < 1 || b.Y - a.Y < 1) return;
  const double inset = PenVisible() ? 0 : 1;
  FillFigures({EllipseOutline({double(a.X), double(a.Y), b.X - inset, b.Y - inset})}, dc_.Brush);
  StrokeOutline(PixelPoints(EllipseOutline({double(a.X), double(a.Y), b.X - 1.0, b.Y - 1.0})), true);
}

void WmfPlayer::ArcFigure(const LogicalRect& r, double xStart, double yStart, double xEnd, double yEnd,
                          ArcKind kind) {
  IPoint a, b;
  DeviceBox(r, a, b);
  if (b.X - a.X < 1 || b.Y - a.Y < 1) return;
  const DPoint start = dc_.Mapping.ToDevice(xStart, yStart);
  const DPoint end = dc_.Mapping.ToDevice(xEnd, yEnd);
  const DBox fillBox{double(a.X), double(a.Y), double(b.X), double(b.Y)};
  const DBox penBox{double(a.X), double(a.Y), b.X - 1.0, b.Y - 1.0};
  if (kind != ArcKind::Arc) {
    Figure fill = ArcOutline(fillBox, start, end);
    if (kind == ArcKind::Pie) fill.push_back({(fillBox.Left + fillBox.Right) / 2, (fillBox.Top + fillBox.Bottom) / 2});
    FillFigures({fill}, dc_.Brush);
  }
  // The pen's arc lies half a pixel inside, through the outer pixels' centres.
  const DPoint penStart{start.X - 0.5, start.Y - 0.5};
  const DPoint penEnd{end.X - 0.5, end.Y - 0.5};
  Figure outline = ArcOutline(penBox, penStart, penEnd);
  if (kind == ArcKind::Pie) outline.push_back({(penBox.Left + penBox.Right) / 2, (penBox.Top + penBox.Bottom) / 2});
  StrokeOutline(PixelPoints(outline), kind != ArcKind::Arc);
}

void WmfPlayer::Polygons(const std::vector<std::vector<IPoint>>& polygons) {
  std::vector<Figure> figures;
  for (const auto& polygon : polygons) {
    if (polygon.size() >= 2) figures.push_back(ToFigure(polygon));
  }
  if (figures.empty()) return;
  FillFigures(figures, dc_.Brush);
  for (const auto& polygon : polygons) {
    if (polygon.size() >= 2) StrokeOutline(polygon, true);
  }
}

void WmfPlayer::Polyline(const std::vector<IPoint>& points) {
  if (points.size() >= 2) StrokeOutline(points, false);
}

void WmfPlayer::FloodFill(double x, double y, ColorRef colorRef, bool surface) {
  const IPoint seed = dc_.Mapping.ToPixel(x, y);
  if (!raster_.Drawable(seed.X, seed.Y) || dc_.Brush.Style == kBsNull) return;
  const Rgb color = Resolve(colorRef);
  // Surface: spread over pixels of that colour; border: up to pixels of it.
  auto inside = [&](std::int32_t px, std::int32_t py) {
    return raster_.Drawable(px, py) && ((raster_.At(px, py) == color) == surface);
  };
  if (!inside(seed.X, seed.Y)) return;
  const std::int32_t w = raster_.Width();
  std::vector<std::uint8_t> seen(static_cast<std::size_t>(w) * raster_.Height(), 0);
  std::vector<IPoint> stack;
  std::vector<IPoint> filled;
  auto visit = [&](std::int32_t px, std::int32_t py) {
    if (!inside(px, py)) return;
    std::uint8_t& mark = seen[static_cast<std::size_t>(py) * w + px];
    if (mark) return;
    mark = 1;
    stack.push_back({px, py});
  };
  visit(seed.X, seed.Y);
  while (!stack.empty()) {
    const IPoint p = stack.back();
    stack.pop_back();
    filled.push_back(p);
    visit(p.X + 1, p.Y);
    visit(p.X - 1, p.Y);
    visit(p.X, p.Y + 1);
    visit(p.X, p.Y - 1);
  }
  // Painted after the search, so the brush's own colour cannot steer it.
  for (const IPoint& p : filled) {
    Rgb c;
    if (BrushColorAt(dc_.Brush, p.X, p.Y, c)) raster_.Put(p.X, p.Y, c);
  }
}

void WmfPlayer::FillRegion(const RegionObject& region, const BrushObject& brush) {
  for (const LogicalRect& r : region.Rects) {
    IPoint a, b;
    DeviceBox(r, a, b);
    for (std::int32_t y = std::max(a.Y, 0); y < std::min(b.Y, raster_.Height()); ++y) {
      for (std::int32_t x = std::max(a.X, 0); x < std::min(b.X, raster_.Width()); ++x) {
        Rgb c;
        if (BrushColorAt(brush, x, y, c)) raster_.Plot(x, y, c, dc_.Rop2);
      }
    }
  }
}

void WmfPlayer::InvertRegion(const RegionObject& region) {
  for (const LogicalRect& r : region.Rects) {
    IPoint a, b;
    DeviceBox(r, a, b);
    for (std::int32_t y = std::max(a.Y, 0); y < std::min(b.Y, raster_.Height()); ++y) {
      for (std::int32_t x = std::max(a.X, 0); x < std::min(b.X, raster_.Width()); ++x) raster_.Plot(x, y, 0, 6);
    }
  }
}

void WmfPlayer::FrameRegion(const RegionObject& region, const BrushObject& brush, double width, double height) {
  const auto fw = static_cast<std::int32_t>(std::max(1.0, std::abs(ClampDevice(width * dc_.Mapping.ScaleX()))));
  const auto fh = static_cast<std::int32_t>(std::max(1.0, std::abs(ClampDevice(height * dc_.Mapping.ScaleY()))));
  for (const LogicalRect& r : region.Rects) {
    IPoint a, b;
    DeviceBox(r, a, b);
    for (std::int32_t y = std::max(a.Y, 0); y < std::min(b.Y, raster_.Height()); ++y) {
      for (std::int32_t x = std::max(a.X, 0); x < std::min(b.X, raster_.Width()); ++x) {
        const bool edge = x < a.X + fw || x >= b.X - fw || y < a.Y + fh || y >= b.Y - fh;
        Rgb c;
        if (edge && BrushColorAt(brush, x, y, c)) raster_.Plot(x, y, c, dc_.Rop2);
      }
    }
  }
}

}  // namespace quorvex
