// Lines, figures and paths of an enhanced metafile as polygon, polyline and
// figure records. Figures under a turning transform, Bezier curves and the
// figures of a path are flattened into point lists first.

#include <algorithm>

#include "metafile/EmfRecords.h"
#include "metafile/EmfTranslator.h"
#include "metafile/ShapeOutlines.h"
#include "metafile/WmfRecords.h"

namespace quorvex {

namespace {

// Points of a cubic Bezier curve after its start point.
void AddBezier(Figure& out, DPoint p0, DPoint p1, DPoint p2, DPoint p3) {
  constexpr int kSteps = 16;
  for (int i = 1; i <= kSteps; ++i) {
    const double t = static_cast<double>(i) / kSteps;
    const double a = (1 - t) * (1 - t) * (1 - t), b = 3 * (1 - t) * (1 - t) * t, c = 3 * (1 - t) * t * t,
                 d = t * t * t;
    out.push_back({a * p0.X + b * p1.X + c * p2.X + d * p3.X, a * p0.Y + b * p1.Y + c * p2.Y + d * p3.Y});
  }
}

void PutPoint(std::vector<std::uint8_t>& p, DPoint d) {
  PutU16(p, static_cast<std::uint16_t>(ToShort(d.X)));
  PutU16(p, static_cast<std::uint16_t>(ToShort(d.Y)));
}

}  // namespace

bool EmfTranslator::FigureRecord(std::uint32_t type, ByteReader& r) {
  switch (type) {
    case emr::kMoveToEx:
      state_.CurrentX = r.I32LE(), state_.CurrentY = r.I32LE();
      if (inPath_) path_.push_back({{Map(state_.CurrentX, state_.CurrentY)}, false});
      return true;
    case emr::kLineTo: LineTo(r); return true;
    case emr::kSetPixelV: {
      const double x = r.I32LE(), y = r.I32LE();
      const std::uint32_t color = r.U32LE();
      const DPoint p = Map(x, y);
      out_.Record(wmf::kSetPixel, {static_cast<std::int32_t>(color & 0xFFFF), static_cast<std::int32_t>(color >> 16),
                                   ToShort(p.Y), ToShort(p.X)});
      return true;
    }
    case emr::kExtFloodFill: {
      const double x = r.I32LE(), y = r.I32LE();
      const std::uint32_t color = r.U32LE();
      const std::uint32_t mode = r.U32LE();
      const DPoint p = Map(x, y);
      out_.Record(wmf::kExtFloodFill, {static_cast<std::int32_t>(mode & 0xFFFF),
                                       static_cast<std::int32_t>(color & 0xFFFF),
                                       static_cast<std::int32_t>(color >> 16), ToShort(p.Y), ToShort(p.X)});
      return true;
    }
    case emr::kPolygon:
    case emr::kPolyline:
    case emr::kPolygon16:
    case emr::kPolyline16:
    case emr::kPolyBezier:
    case emr::kPolyBezier16:
    case emr::kPolylineTo:
    case emr::kPolylineTo16:
    case emr::kPolyBezierTo:
    case emr::kPolyBezierTo16: PolyRecord(type, r); return true;
    case emr::kPolyPolygon:
    case emr::kPolyPolyline:
    case emr::kPolyPolygon16:
    case emr::kPolyPolyline16: PolyPolyRecord(type, r); return true;
    case emr::kRectangle: BoxRecord(wmf::kRectangle, r); return true;
    case emr::kEllipse: BoxRecord(wmf::kEllipse, r); return true;
    case emr::kRoundRect: BoxRecord(wmf::kRoundRect, r); return true;
    case emr::kArc:
    case emr::kChord:
    case emr::kPie: ArcRecord(type, r); return true;
    case emr::kBeginPath:
    case emr::kEndPath:
    case emr::kCloseFigure:
    case emr::kFillPath:
    case emr::kStrokeAndFillPath:
    case emr::kStrokePath:
    case emr::kAbortPath: Path(type); return true;
    default: return false;
  }
}

void EmfTranslator::LineTo(ByteReader& r) {
  const double x = r.I32LE(), y = r.I32LE();
  if (inPath_) {
    LinesTo({Map(x, y)});
  } else {
    const DPoint from = Map(state_.CurrentX, state_.CurrentY), to = Map(x, y);
    out_.Record(wmf::kMoveTo, {ToShort(from.Y), ToShort(from.X)});
    out_.Record(wmf::kLineTo, {ToShort(to.Y), ToShort(to.X)});
  }
  state_.CurrentX = x, state_.CurrentY = y;
}

void EmfTranslator::PolyRecord(std::uint32_t type, ByteReader& r) {
  r.Skip(16);  // bounds
  const bool small = type >= emr::kPolyBezier16;
  const std::vector<DPoint> points = ReadPoints(r, r.U32LE(), small);
  if (points.empty()) return;
  if (type == emr::kPolygon || type == emr::kPolygon16) {
    AddFigure(MapAll(points), true);
  } else if (type == emr::kPolyline || type == emr::kPolyline16) {
    AddFigure(MapAll(points), false);
  } else if (type == emr::kPolyBezier || type == emr::kPolyBezier16) {
    Figure f{Map(points[0].X, points[0].Y)};
    const Figure curve = Beziers(std::vector<DPoint>(points.begin() + 1, points.end()), points[0]);
    f.insert(f.end(), curve.begin(), curve.end());
    AddFigure(f, false);
  } else {
    const bool bezier = type == emr::kPolyBezierTo || type == emr::kPolyBezierTo16;
    LinesTo(bezier ? Beziers(points, {state_.CurrentX, state_.CurrentY}) : MapAll(points));
    // Curves end on every third point; a partial curve is left out.
    const std::size_t used = bezier ? points.size() / 3 * 3 : points.size();
    if (used > 0) state_.CurrentX = points[used - 1].X, state_.CurrentY = points[used - 1].Y;
  }
}

void EmfTranslator::PolyPolyRecord(std::uint32_t type, ByteReader& r) {
  r.Skip(16);
  const std::uint32_t polys = r.U32LE();
  const std::uint32_t total = r.U32LE();
  if (polys > r.Remaining() / 4) return;
  std::vector<std::uint32_t> counts;
  std::uint64_t sum = 0;
  for (std::uint32_t i = 0; i < polys; ++i) counts.push_back(r.U32LE()), sum += counts.back();
  if (sum != total) return;
  const bool small = type == emr::kPolyPolygon16 || type == emr::kPolyPolyline16;
  const bool closed = type == emr::kPolyPolygon || type == emr::kPolyPolygon16;
  std::vector<Figure> figures;
  for (std::uint32_t count : counts) figures.push_back(MapAll(ReadPoints(r, count, small)));
  if (inPath_) {
    for (const Figure& f : figures) path_.push_back({f, closed});
  } else if (closed) {
    WritePolyPolygon(figures);
  } else {
    for (const Figure& f : figures) WritePoly(wmf::kPolyline, f);
  }
}

void EmfTranslator::BoxRecord(std::uint16_t function, ByteReader& r) {
  const double l = r.I32LE(), t = r.I32LE(), rt = r.I32LE(), b = r.I32LE();
  double cw = 0, ch = 0;
  if (function == wmf::kRoundRect) cw = r.I32LE(), ch = r.I32LE();
  if (inPath_ || !AxisAligned()) {
    // Traced in logical space and mapped point by point.
    const DBox box{std::min(l, rt), std::min(t, b), std::max(l, rt), std::max(t, b)};
    const Figure logical = function == wmf::kEllipse     ? EllipseOutline(box)
                           : function == wmf::kRoundRect ? RoundRectOutline(box, cw, ch)
                                                         : Figure{{l, t}, {rt, t}, {rt, b}, {l, b}};
    AddFigure(MapAll(logical), true);
    return;
  }
  const DPoint a = Map(l, t), c = Map(rt, b);
  if (function == wmf::kRoundRect) {
    out_.Record(function, {ToShort(ch * ScaleAlongY()), ToShort(cw * ScaleAlongX()), ToShort(c.Y), ToShort(c.X),
                           ToShort(a.Y), ToShort(a.X)});
  } else {
    out_.Record(function, {ToShort(c.Y), ToShort(c.X), ToShort(a.Y), ToShort(a.X)});
  }
}

void EmfTranslator::ArcRecord(std::uint32_t type, ByteReader& r) {
  const double l = r.I32LE(), t = r.I32LE(), rt = r.I32LE(), b = r.I32LE();
  double xs = r.I32LE(), ys = r.I32LE(), xe = r.I32LE(), ye = r.I32LE();
  if (state_.Clockwise) std::swap(xs, xe), std::swap(ys, ye);
  if (!AxisAligned()) return;  // a turned arc has no record
  const DPoint a = Map(l, t), c = Map(rt, b), s = Map(xs, ys), e = Map(xe, ye);
  if (inPath_) {
    Figure f = ArcOutline({std::min(a.X, c.X), std::min(a.Y, c.Y), std::max(a.X, c.X), std::max(a.Y, c.Y)}, s, e);
    if (type == emr::kPie) f.push_back({(a.X + c.X) / 2, (a.Y + c.Y) / 2});
    path_.push_back({f, type != emr::kArc});
    return;
  }
  const std::uint16_t function = type == emr::kArc ? wmf::kArc : type == emr::kChord ? wmf::kChord : wmf::kPie;
  out_.Record(function, {ToShort(e.Y), ToShort(e.X), ToShort(s.Y), ToShort(s.X), ToShort(c.Y), ToShort(c.X),
                         ToShort(a.Y), ToShort(a.X)});
}

void EmfTranslator::Path(std::uint32_t type) {
  switch (type) {
    case emr::kBeginPath:
      inPath_ = true;
      path_.clear();
      return;
    case emr::kEndPath: inPath_ = false; return;
    case emr::kCloseFigure:
      if (!path_.empty()) path_.back().Closed = true;
      return;
    case emr::kAbortPath:
      inPath_ = false;
      path_.clear();
      return;
    default: break;
  }
  std::vector<Figure> all;
  for (const PathFigure& f : path_) {
    if (f.Points.size() >= 2) all.push_back(f.Points);
  }
  if (type == emr::kFillPath) {
    WithNull(ObjectKind::Pen, [&] { WritePolyPolygon(all); });
  } else if (type == emr::kStrokeAndFillPath) {
    WritePolyPolygon(all);
  } else {
    WithNull(ObjectKind::Brush, [&] {
      for (const PathFigure& f : path_) WritePoly(f.Closed ? wmf::kPolygon : wmf::kPolyline, f.Points);
    });
  }
  path_.clear();
  inPath_ = false;
}

std::vector<DPoint> EmfTranslator::ReadPoints(ByteReader& r, std::uint32_t count, bool small) const {
  std::vector<DPoint> points;
  points.reserve(std::min<std::size_t>(count, r.Remaining() / (small ? 4 : 8)));
  for (std::uint32_t i = 0; i < count; ++i) {
    const double x = small ? r.I16LE() : r.I32LE();
    const double y = small ? r.I16LE() : r.I32LE();
    points.push_back({x, y});
  }
  return points;
}

Figure EmfTranslator::MapAll(const std::vector<DPoint>& logical) const {
  Figure out;
  out.reserve(logical.size());
  for (const DPoint& p : logical) out.push_back(Map(p.X, p.Y));
  return out;
}

Figure EmfTranslator::Beziers(const std::vector<DPoint>& logical, DPoint start) const {
  Figure out;
  DPoint from = Map(start.X, start.Y);
  for (std::size_t i = 0; i + 2 < logical.size(); i += 3) {
    const DPoint to = Map(logical[i + 2].X, logical[i + 2].Y);
    AddBezier(out, from, Map(logical[i].X, logical[i].Y), Map(logical[i + 1].X, logical[i + 1].Y), to);
    from = to;
  }
  return out;
}

void EmfTranslator::WritePoly(std::uint16_t function, const Figure& points) {
  if (points.size() < 2) return;
  const std::size_t count = std::min<std::size_t>(points.size(), 32767);
  std::vector<std::uint8_t> p;
  PutU16(p, static_cast<std::uint32_t>(count));
  for (std::size_t i = 0; i < count; ++i) PutPoint(p, points[i]);
  out_.RecordBytes(function, p);
}

void EmfTranslator::WritePolyPolygon(const std::vector<Figure>& polygons) {
  std::vector<const Figure*> kept;
  std::size_t total = 0;
  for (const Figure& f : polygons) {
    if (f.size() >= 2 && total + f.size() <= 32767 && kept.size() < 32767) {
      kept.push_back(&f);
      total += f.size();
    }
  }
  if (kept.empty()) return;
  std::vector<std::uint8_t> p;
  PutU16(p, static_cast<std::uint32_t>(kept.size()));
  for (const Figure* f : kept) PutU16(p, static_cast<std::uint32_t>(f->size()));
  for (const Figure* f : kept) {
    for (const DPoint& d : *f) PutPoint(p, d);
  }
  out_.RecordBytes(wmf::kPolyPolygon, p);
}

void EmfTranslator::AddFigure(const Figure& points, bool closed) {
  if (inPath_) {
    path_.push_back({points, closed});
    return;
  }
  WritePoly(closed ? wmf::kPolygon : wmf::kPolyline, points);
}

void EmfTranslator::LinesTo(const Figure& points) {
  if (points.empty()) return;
  if (inPath_) {
    if (path_.empty() || path_.back().Closed) path_.push_back({{Map(state_.CurrentX, state_.CurrentY)}, false});
    path_.back().Points.insert(path_.back().Points.end(), points.begin(), points.end());
    return;
  }
  Figure all{Map(state_.CurrentX, state_.CurrentY)};
  all.insert(all.end(), points.begin(), points.end());
  WritePoly(wmf::kPolyline, all);
}

}  // namespace quorvex
