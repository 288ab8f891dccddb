// The translation of an enhanced metafile into a placeable Windows metafile
// of 96 units per inch. Every coordinate is taken through the enhanced
// metafile's own world and page transforms to its reference device and then
// into one fixed window, so the records written need no mapping of their
// own. What a Windows metafile cannot say (paths, Bezier curves, rotated
// figures) is flattened into polygons; what it cannot say at all is left out.

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "platform/CharsetText.h"
#include "platform/LittleEndianReader.h"
#include "platform/Metafile.h"
#include "platform/PageMapping.h"
#include "platform/ShapeOutlines.h"
#include "platform/WmfRecords.h"
#include "platform/WmfWriter.h"

namespace quorvex {

namespace {

namespace emr {
enum : std::uint32_t {
  kHeader = 1, kPolyBezier = 2, kPolygon = 3, kPolyline = 4, kPolyBezierTo = 5, kPolylineTo = 6,
  kPolyPolyline = 7, kPolyPolygon = 8, kSetWindowExtEx = 9, kSetWindowOrgEx = 10, kSetViewportExtEx = 11,
  kSetViewportOrgEx = 12, kEof = 14, kSetPixelV = 15, kSetMapMode = 17, kSetBkMode = 18,
  kSetPolyFillMode = 19, kSetRop2 = 20, kSetStretchBltMode = 21, kSetTextAlign = 22, kSetTextColor = 24,
  kSetBkColor = 25, kOffsetClipRgn = 26, kMoveToEx = 27, kExcludeClipRect = 29, kIntersectClipRect = 30,
  kScaleViewportExtEx = 31, kScaleWindowExtEx = 32, kSaveDc = 33, kRestoreDc = 34, kSetWorldTransform = 35,
  kModifyWorldTransform = 36, kSelectObject = 37, kCreatePen = 38, kCreateBrushIndirect = 39,
  kDeleteObject = 40, kEllipse = 42, kRectangle = 43, kRoundRect = 44, kArc = 45, kChord = 46, kPie = 47,
  kSelectPalette = 48, kCreatePalette = 49, kRealizePalette = 52, kExtFloodFill = 53, kLineTo = 54,
  kSetArcDirection = 57, kBeginPath = 59, kEndPath = 60, kCloseFigure = 61, kFillPath = 62,
  kStrokeAndFillPath = 63, kStrokePath = 64, kAbortPath = 68, kFillRgn = 71, kInvertRgn = 73,
  kPaintRgn = 74, kExtSelectClipRgn = 75, kBitBlt = 76, kStretchBlt = 77, kSetDiBitsToDevice = 80,
  kStretchDiBits = 81, kExtCreateFontIndirectW = 82, kExtTextOutA = 83, kExtTextOutW = 84,
  kPolyBezier16 = 85, kPolygon16 = 86, kPolyline16 = 87, kPolyBezierTo16 = 88, kPolylineTo16 = 89,
  kPolyPolyline16 = 90, kPolyPolygon16 = 91, kCreateMonoBrush = 93, kCreateDibPatternBrushPt = 94,
  kExtCreatePen = 95,
};
}  // namespace emr

constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::size_t kHeaderSize = 88;
constexpr std::uint32_t kStockObject = 0x80000000;

[[noreturn]] void Invalid() { throw EInvalidGraphic("Metafile is not valid"); }

// An affine transform: x' = x M11 + y M21 + Dx, y' = x M12 + y M22 + Dy.
struct Xform {
  double M11 = 1, M12 = 0, M21 = 0, M22 = 1, Dx = 0, Dy = 0;
};

// `first` applied, then `then`.
Xform Combine(const Xform& first, const Xform& then) {
  return {first.M11 * then.M11 + first.M12 * then.M21, first.M11 * then.M12 + first.M12 * then.M22,
          first.M21 * then.M11 + first.M22 * then.M21, first.M21 * then.M12 + first.M22 * then.M22,
          first.Dx * then.M11 + first.Dy * then.M21 + then.Dx, first.Dx * then.M12 + first.Dy * then.M22 + then.Dy};
}

// What SaveDC keeps of the translation's own bookkeeping.
struct EmfState {
  PageMapping Page;
  Xform World;
  bool Clockwise = false;
  double CurrentX = 0, CurrentY = 0;
  int PenSlot = -1, BrushSlot = -1, FontSlot = -1;
  int FontCharset = 1;
  std::uint32_t TextAlign = 0;
};

enum class ObjectKind { Pen, Brush, Font, Palette };

struct EmfObject {
  ObjectKind Kind = ObjectKind::Pen;
  int Slot = 0;
  int Charset = 1;
};

struct PathFigure {
  Figure Points;  // in output units
  bool Closed = false;
};

std::int16_t ToShort(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<std::int16_t>(std::clamp(std::floor(v + 0.5), -32768.0, 32767.0));
}

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

class Translator {
 public:
  explicit Translator(std::span<const std::uint8_t> emf) : emf_(emf) {}

  std::vector<std::uint8_t> Run() {
    ReadHeader();
    std::size_t pos = headerSize_;
    while (pos < emf_.size()) {
      if (emf_.size() - pos < 8) Invalid();
      LittleEndianReader head(emf_.subspan(pos, 8));
      const std::uint32_t type = head.U32();
      const std::uint32_t size = head.U32();
      if (size < 8 || size % 4 != 0 || size > emf_.size() - pos) Invalid();
      if (type == emr::kEof) break;
      const std::span<const std::uint8_t> record = emf_.subspan(pos, size);
      LittleEndianReader r(record);
      r.Skip(8);
      try {
        Translate(type, r, record);
      } catch (const EReadPastEnd&) {
        // A record too short for what it says is left out.
      }
      pos += size;
    }
    return out_.Placeable(ToShort(MulDiv(frameWidth_, 96, 2540)), ToShort(MulDiv(frameHeight_, 96, 2540)), 96);
  }

 private:
  void ReadHeader() {
    if (emf_.size() < kHeaderSize) Invalid();
    LittleEndianReader r(emf_);
    const std::uint32_t type = r.U32();
    const std::uint32_t size = r.U32();
    const std::int32_t boundsLeft = r.I32(), boundsTop = r.I32(), boundsRight = r.I32(), boundsBottom = r.I32();
    const std::int32_t frameLeft = r.I32(), frameTop = r.I32(), frameRight = r.I32(), frameBottom = r.I32();
    const std::uint32_t signature = r.U32();
    if (type != emr::kHeader || signature != kEmfSignature || size < kHeaderSize || size % 4 != 0 ||
        size > emf_.size()) {
      Invalid();
    }
    headerSize_ = size;
    r.Seek(72);
    const std::int32_t devicePixelsX = r.I32(), devicePixelsY = r.I32();
    const std::int32_t deviceMmX = r.I32(), deviceMmY = r.I32();
    // Device pixels per hundredth of a millimetre.
    pixelsPerHimX_ = devicePixelsX > 0 && deviceMmX > 0 ? devicePixelsX / (deviceMmX * 100.0) : 96 / 2540.0;
    pixelsPerHimY_ = devicePixelsY > 0 && deviceMmY > 0 ? devicePixelsY / (deviceMmY * 100.0) : 96 / 2540.0;

    double left, top, right, bottom;
    if (frameRight > frameLeft && frameBottom > frameTop) {
      frameWidth_ = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{frameRight} - frameLeft, INT32_MAX));
      frameHeight_ = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{frameBottom} - frameTop, INT32_MAX));
      left = frameLeft * pixelsPerHimX_, top = frameTop * pixelsPerHimY_;
      right = frameRight * pixelsPerHimX_, bottom = frameBottom * pixelsPerHimY_;
    } else {
      // No usable frame: the bounds in device pixels stand in.
      left = boundsLeft, top = boundsTop, right = double(boundsRight) + 1, bottom = double(boundsBottom) + 1;
      frameWidth_ = static_cast<std::int32_t>(std::clamp((right - left) / pixelsPerHimX_, 0.0, 1e9));
      frameHeight_ = static_cast<std::int32_t>(std::clamp((bottom - top) / pixelsPerHimY_, 0.0, 1e9));
    }
    originX_ = left;
    originY_ = top;
    // Output units per device pixel: as fine as 16-bit coordinates allow, at most 16.
    const double extent = std::max({right - left, bottom - top, 1.0});
    unitsPerPixel_ = std::min(16.0, 16000.0 / extent);
    state_.Page.Mode = kMmText;
    state_.Page.DeviceDpiX = pixelsPerHimX_ * 2540;
    state_.Page.DeviceDpiY = pixelsPerHimY_ * 2540;

    out_.Record(wmf::kSetMapMode, {kMmAnisotropic});
    out_.Record(wmf::kSetWindowOrg, {0, 0});
    out_.Record(wmf::kSetWindowExt, {std::max<std::int32_t>(1, ToShort((bottom - top) * unitsPerPixel_)),
                                     std::max<std::int32_t>(1, ToShort((right - left) * unitsPerPixel_))});
  }

  // A logical point of the enhanced metafile in output units.
  DPoint Map(double x, double y) const {
    const Xform& w = state_.World;
    const DPoint device = state_.Page.ToDevice(x * w.M11 + y * w.M21 + w.Dx, x * w.M12 + y * w.M22 + w.Dy);
    return DeviceToOutput(device.X, device.Y);
  }
  DPoint DeviceToOutput(double x, double y) const {
    return {(x - originX_) * unitsPerPixel_, (y - originY_) * unitsPerPixel_};
  }
  // Output units per logical unit along x and along y.
  double ScaleAlongX() const {
    const DPoint a = Map(0, 0), b = Map(1, 0);
    return std::hypot(b.X - a.X, b.Y - a.Y);
  }
  double ScaleAlongY() const {
    const DPoint a = Map(0, 0), b = Map(0, 1);
    return std::hypot(b.X - a.X, b.Y - a.Y);
  }
  // True when logical rectangles stay rectangles with sides along the axes.
  bool AxisAligned() const {
    const DPoint a = Map(0, 0), bx = Map(1, 0), by = Map(0, 1);
    return std::abs(bx.Y - a.Y) < 1e-9 && std::abs(by.X - a.X) < 1e-9;
  }

  static void PutPoint(std::vector<std::uint8_t>& p, DPoint d) {
    PutU16(p, static_cast<std::uint16_t>(ToShort(d.X)));
    PutU16(p, static_cast<std::uint16_t>(ToShort(d.Y)));
  }

  void Translate(std::uint32_t type, LittleEndianReader& r, std::span<const std::uint8_t> record);

  // Figures and lines.
  std::vector<DPoint> ReadPoints(LittleEndianReader& r, std::uint32_t count, bool small) {
    std::vector<DPoint> points;
    points.reserve(std::min<std::size_t>(count, r.Remaining() / (small ? 4 : 8)));
    for (std::uint32_t i = 0; i < count; ++i) {
      const double x = small ? r.I16() : r.I32();
      const double y = small ? r.I16() : r.I32();
      points.push_back({x, y});
    }
    return points;
  }
  Figure MapAll(const std::vector<DPoint>& logical) const {
    Figure out;
    out.reserve(logical.size());
    for (const DPoint& p : logical) out.push_back(Map(p.X, p.Y));
    return out;
  }
  void WritePoly(std::uint16_t function, const Figure& points) {
    if (points.size() < 2) return;
    const std::size_t count = std::min<std::size_t>(points.size(), 32767);
    std::vector<std::uint8_t> p;
    PutU16(p, static_cast<std::uint32_t>(count));
    for (std::size_t i = 0; i < count; ++i) PutPoint(p, points[i]);
    out_.RecordBytes(function, p);
  }
  void WritePolyPolygon(const std::vector<Figure>& polygons) {
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
  // A figure into the open path, or drawn at once.
  void Figure_(const Figure& points, bool closed) {
    if (inPath_) {
      path_.push_back({points, closed});
      return;
    }
    WritePoly(closed ? wmf::kPolygon : wmf::kPolyline, points);
  }
  // Lines on from the current position.
  void LinesTo(const Figure& points) {
    if (points.empty()) return;
    if (inPath_) {
      if (path_.empty() || path_.back().Closed) path_.push_back({{Map(state_.CurrentX, state_.CurrentY)}, false});
      path_.back().Points.insert(path_.back().Points.end(), points.begin(), points.end());
    } else {
      Figure all{Map(state_.CurrentX, state_.CurrentY)};
      all.insert(all.end(), points.begin(), points.end());
      WritePoly(wmf::kPolyline, all);
    }
  }
  Figure Beziers(const std::vector<DPoint>& logical, DPoint start) const {
    Figure out;
    DPoint from = Map(start.X, start.Y);
    for (std::size_t i = 0; i + 2 < logical.size(); i += 3) {
      const DPoint to = Map(logical[i + 2].X, logical[i + 2].Y);
      AddBezier(out, from, Map(logical[i].X, logical[i].Y), Map(logical[i + 1].X, logical[i + 1].Y), to);
      from = to;
    }
    return out;
  }
  void BoxRecord(std::uint16_t function, LittleEndianReader& r);
  void ArcRecord(std::uint32_t type, LittleEndianReader& r);

  // Objects.
  void SelectSlot(ObjectKind kind, int slot, int charset) {
    out_.SelectObject(slot);
    int* selected = kind == ObjectKind::Pen ? &state_.PenSlot : kind == ObjectKind::Brush ? &state_.BrushSlot
                                                                                          : &state_.FontSlot;
    const int previous = *selected;
    *selected = slot;
    if (kind == ObjectKind::Font) state_.FontCharset = charset;
    // An object deleted while it was selected goes once something replaces it.
    if (previous != slot && pendingDeletes_.erase(previous)) out_.DeleteObject(previous);
  }
  void AddObject(std::uint32_t handle, ObjectKind kind, int slot, int charset = 1) {
    DeleteHandle(handle);
    objects_[handle] = {kind, slot, charset};
  }
  void DeleteHandle(std::uint32_t handle) {
    auto it = objects_.find(handle);
    if (it == objects_.end()) return;
    const int slot = it->second.Slot;
    objects_.erase(it);
    // GDI keeps a selected object until it is replaced; deleting its slot
    // now would leave the figures that follow without it.
    if (slot == state_.PenSlot || slot == state_.BrushSlot || slot == state_.FontSlot) {
      pendingDeletes_.insert(slot);
    } else {
      out_.DeleteObject(slot);
    }
  }
  void SelectStock(std::uint32_t index);
  int StockSlot(std::uint32_t index);
  int PenRecord(int style, std::int32_t width, std::uint32_t color) {
    return out_.CreateObject(wmf::kCreatePenIndirect,
                             {style, width, 0, static_cast<std::int32_t>(color & 0xFFFF),
                              static_cast<std::int32_t>(color >> 16)});
  }
  int BrushRecord(int style, std::uint32_t color, int hatch) {
    return out_.CreateObject(wmf::kCreateBrushIndirect,
                             {style, static_cast<std::int32_t>(color & 0xFFFF), static_cast<std::int32_t>(color >> 16),
                              hatch});
  }
  int FontRecord(std::int32_t height, std::int32_t width, std::int32_t escapement, std::int32_t orientation,
                 std::int32_t weight, const std::uint8_t flags[8], const std::string& face) {
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
  // Runs `draw` with the null pen or the null brush selected in place of the current one.
  template <class F>
  void WithNull(ObjectKind kind, F draw) {
    const int nullSlot = StockSlot(kind == ObjectKind::Pen ? 8 : 5);
    out_.SelectObject(nullSlot);
    draw();
    const int current = kind == ObjectKind::Pen ? state_.PenSlot : state_.BrushSlot;
    out_.SelectObject(current >= 0 ? current : StockSlot(kind == ObjectKind::Pen ? 7 : 0));
  }

  // Bitmaps and text.
  std::optional<std::vector<std::uint8_t>> PackedDib(std::span<const std::uint8_t> record, std::uint32_t offBmi,
                                                     std::uint32_t cbBmi, std::uint32_t offBits,
                                                     std::uint32_t cbBits) const {
    if (cbBmi == 0 || offBmi > record.size() || cbBmi > record.size() - offBmi || offBits > record.size() ||
        cbBits > record.size() - offBits) {
      return std::nullopt;
    }
    std::vector<std::uint8_t> dib(record.begin() + offBmi, record.begin() + offBmi + cbBmi);
    dib.insert(dib.end(), record.begin() + offBits, record.begin() + offBits + cbBits);
    return dib;
  }
  void Blt(LittleEndianReader& r, std::span<const std::uint8_t> record, bool stretch);
  void StretchDiBits(LittleEndianReader& r, std::span<const std::uint8_t> record, bool toDevice);
  void TextOut(LittleEndianReader& r, std::span<const std::uint8_t> record, bool wide);
  void ClipRegion(LittleEndianReader& r);
  void PaintRegion(LittleEndianReader& r, std::uint32_t type);
  void Path(std::uint32_t type);

  std::span<const std::uint8_t> emf_;
  WmfWriter out_;
  std::size_t headerSize_ = kHeaderSize;
  std::int32_t frameWidth_ = 0, frameHeight_ = 0;
  double pixelsPerHimX_ = 96 / 2540.0, pixelsPerHimY_ = 96 / 2540.0;
  double originX_ = 0, originY_ = 0, unitsPerPixel_ = 1;
  EmfState state_;
  std::vector<EmfState> saved_;
  std::map<std::uint32_t, EmfObject> objects_;
  std::map<std::uint32_t, int> stockSlots_;
  std::set<int> pendingDeletes_;
  bool inPath_ = false;
  std::vector<PathFigure> path_;
};

void Translator::Translate(std::uint32_t type, LittleEndianReader& r, std::span<const std::uint8_t> record) {
  PageMapping& page = state_.Page;
  switch (type) {
    case emr::kSetMapMode: page.SetMode(static_cast<int>(r.U32())); break;
    case emr::kSetWindowExtEx: {
      const double x = r.I32();
      page.SetWindowExt(x, r.I32());
      break;
    }
    case emr::kSetWindowOrgEx: page.WindowOrgX = r.I32(), page.WindowOrgY = r.I32(); break;
    case emr::kSetViewportExtEx: {
      const double x = r.I32();
      page.SetViewportExt(x, r.I32());
      break;
    }
    case emr::kSetViewportOrgEx: page.ViewportOrgX = r.I32(), page.ViewportOrgY = r.I32(); break;
    case emr::kScaleViewportExtEx:
    case emr::kScaleWindowExtEx: {
      const double xNum = r.I32(), xDenom = r.I32(), yNum = r.I32(), yDenom = r.I32();
      if (xDenom == 0 || yDenom == 0) break;
      if (type == emr::kScaleWindowExtEx) {
        page.SetWindowExt(page.WindowExtX * xNum / xDenom, page.WindowExtY * yNum / yDenom);
      } else {
        page.SetViewportExt(page.ViewportExtX * xNum / xDenom, page.ViewportExtY * yNum / yDenom);
      }
      break;
    }
    case emr::kSetWorldTransform:
    case emr::kModifyWorldTransform: {
      Xform x;
      x.M11 = r.F32(), x.M12 = r.F32(), x.M21 = r.F32(), x.M22 = r.F32(), x.Dx = r.F32(), x.Dy = r.F32();
      for (double v : {x.M11, x.M12, x.M21, x.M22, x.Dx, x.Dy}) {
        if (!std::isfinite(v)) return;
      }
      const std::uint32_t mode = type == emr::kSetWorldTransform ? 4 : r.U32();
      if (mode == 1) state_.World = Xform{};
      if (mode == 2) state_.World = Combine(x, state_.World);
      if (mode == 3) state_.World = Combine(state_.World, x);
      if (mode == 4) state_.World = x;
      break;
    }
    case emr::kSetArcDirection: state_.Clockwise = r.U32() == 2; break;
    case emr::kSaveDc:
      saved_.push_back(state_);
      out_.Record(wmf::kSaveDc, {});
      break;
    case emr::kRestoreDc: {
      const std::int32_t level = r.I32();
      const std::int64_t keep = level < 0 ? static_cast<std::int64_t>(saved_.size()) + level : std::int64_t{level} - 1;
      if (level == 0 || keep < 0 || keep >= static_cast<std::int64_t>(saved_.size())) break;
      state_ = saved_[static_cast<std::size_t>(keep)];
      saved_.resize(static_cast<std::size_t>(keep));
      out_.Record(wmf::kRestoreDc, {level});
      break;
    }

    case emr::kSetBkMode: out_.Record(wmf::kSetBkMode, {static_cast<std::int32_t>(r.U32() & 0xFFFF)}); break;
    case emr::kSetPolyFillMode:
      out_.Record(wmf::kSetPolyFillMode, {static_cast<std::int32_t>(r.U32() & 0xFFFF)});
      break;
    case emr::kSetRop2: out_.Record(wmf::kSetRop2, {static_cast<std::int32_t>(r.U32() & 0xFFFF)}); break;
    case emr::kSetStretchBltMode:
      out_.Record(wmf::kSetStretchBltMode, {static_cast<std::int32_t>(r.U32() & 0xFFFF)});
      break;
    case emr::kSetTextAlign:
      state_.TextAlign = r.U32() & 0xFFFF;
      out_.Record(wmf::kSetTextAlign, {static_cast<std::int32_t>(state_.TextAlign)});
      break;
    case emr::kSetTextColor:
    case emr::kSetBkColor: {
      const std::uint32_t color = r.U32();
      out_.Record(type == emr::kSetTextColor ? wmf::kSetTextColor : wmf::kSetBkColor,
                  {static_cast<std::int32_t>(color & 0xFFFF), static_cast<std::int32_t>(color >> 16)});
      break;
    }

    case emr::kIntersectClipRect:
    case emr::kExcludeClipRect: {
      const double l = r.I32(), t = r.I32(), rt = r.I32(), b = r.I32();
      const DPoint a = Map(l, t), c = Map(rt, b);
      out_.Record(type == emr::kIntersectClipRect ? wmf::kIntersectClipRect : wmf::kExcludeClipRect,
                  {ToShort(std::max(a.Y, c.Y)), ToShort(std::max(a.X, c.X)), ToShort(std::min(a.Y, c.Y)),
                   ToShort(std::min(a.X, c.X))});
      break;
    }
    case emr::kOffsetClipRgn: {
      const double x = r.I32(), y = r.I32();
      const DPoint a = Map(0, 0), b = Map(x, y);
      out_.Record(wmf::kOffsetClipRgn, {ToShort(b.Y - a.Y), ToShort(b.X - a.X)});
      break;
    }
    case emr::kExtSelectClipRgn: ClipRegion(r); break;

    case emr::kMoveToEx: {
      state_.CurrentX = r.I32(), state_.CurrentY = r.I32();
      if (inPath_) path_.push_back({{Map(state_.CurrentX, state_.CurrentY)}, false});
      break;
    }
    case emr::kLineTo: {
      const double x = r.I32(), y = r.I32();
      if (inPath_) {
        LinesTo({Map(x, y)});
      } else {
        const DPoint from = Map(state_.CurrentX, state_.CurrentY), to = Map(x, y);
        out_.Record(wmf::kMoveTo, {ToShort(from.Y), ToShort(from.X)});
        out_.Record(wmf::kLineTo, {ToShort(to.Y), ToShort(to.X)});
      }
      state_.CurrentX = x, state_.CurrentY = y;
      break;
    }
    case emr::kSetPixelV: {
      const double x = r.I32(), y = r.I32();
      const std::uint32_t color = r.U32();
      const DPoint p = Map(x, y);
      out_.Record(wmf::kSetPixel, {static_cast<std::int32_t>(color & 0xFFFF), static_cast<std::int32_t>(color >> 16),
                                   ToShort(p.Y), ToShort(p.X)});
      break;
    }
    case emr::kExtFloodFill: {
      const double x = r.I32(), y = r.I32();
      const std::uint32_t color = r.U32();
      const std::uint32_t mode = r.U32();
      const DPoint p = Map(x, y);
      out_.Record(wmf::kExtFloodFill, {static_cast<std::int32_t>(mode & 0xFFFF), static_cast<std::int32_t>(color & 0xFFFF),
                                       static_cast<std::int32_t>(color >> 16), ToShort(p.Y), ToShort(p.X)});
      break;
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
    case emr::kPolyBezierTo16: {
      r.Skip(16);  // bounds
      const bool small = type >= emr::kPolyBezier16;
      const std::vector<DPoint> points = ReadPoints(r, r.U32(), small);
      if (points.empty()) break;
      if (type == emr::kPolygon || type == emr::kPolygon16) {
        Figure_(MapAll(points), true);
      } else if (type == emr::kPolyline || type == emr::kPolyline16) {
        Figure_(MapAll(points), false);
      } else if (type == emr::kPolyBezier || type == emr::kPolyBezier16) {
        Figure f{Map(points[0].X, points[0].Y)};
        const Figure curve = Beziers(std::vector<DPoint>(points.begin() + 1, points.end()), points[0]);
        f.insert(f.end(), curve.begin(), curve.end());
        Figure_(f, false);
      } else {
        const bool bezier = type == emr::kPolyBezierTo || type == emr::kPolyBezierTo16;
        LinesTo(bezier ? Beziers(points, {state_.CurrentX, state_.CurrentY}) : MapAll(points));
        // Curves end on every third point; a partial curve is left out.
        const std::size_t used = bezier ? points.size() / 3 * 3 : points.size();
        if (used > 0) state_.CurrentX = points[used - 1].X, state_.CurrentY = points[used - 1].Y;
      }
      break;
    }
    case emr::kPolyPolygon:
    case emr::kPolyPolyline:
    case emr::kPolyPolygon16:
    case emr::kPolyPolyline16: {
      r.Skip(16);
      const std::uint32_t polys = r.U32();
      const std::uint32_t total = r.U32();
      if (polys > r.Remaining() / 4) break;
      std::vector<std::uint32_t> counts;
      std::uint64_t sum = 0;
      for (std::uint32_t i = 0; i < polys; ++i) counts.push_back(r.U32()), sum += counts.back();
      if (sum != total) break;
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
      break;
    }
    case emr::kRectangle: BoxRecord(wmf::kRectangle, r); break;
    case emr::kEllipse: BoxRecord(wmf::kEllipse, r); break;
    case emr::kRoundRect: BoxRecord(wmf::kRoundRect, r); break;
    case emr::kArc:
    case emr::kChord:
    case emr::kPie: ArcRecord(type, r); break;

    case emr::kBeginPath:
    case emr::kEndPath:
    case emr::kCloseFigure:
    case emr::kFillPath:
    case emr::kStrokeAndFillPath:
    case emr::kStrokePath:
    case emr::kAbortPath: Path(type); break;

    case emr::kSelectObject: {
      const std::uint32_t handle = r.U32();
      if (handle & kStockObject) {
        SelectStock(handle & ~kStockObject);
        break;
      }
      auto it = objects_.find(handle);
      if (it == objects_.end()) break;
      if (it->second.Kind == ObjectKind::Palette) break;
      SelectSlot(it->second.Kind, it->second.Slot, it->second.Charset);
      break;
    }
    case emr::kDeleteObject: DeleteHandle(r.U32()); break;
    case emr::kCreatePen: {
      const std::uint32_t handle = r.U32();
      const std::uint32_t style = r.U32();
      const double width = r.I32();
      r.I32();
      const std::uint32_t color = r.U32();
      int wmfStyle = static_cast<int>(style & 0x0F);
      if (wmfStyle > 6) wmfStyle = wmfStyle == 8 ? 2 : 0;  // alternate: dotted; user styles: solid
      AddObject(handle, ObjectKind::Pen, PenRecord(wmfStyle, ToShort(width * ScaleAlongX()), color));
      break;
    }
    case emr::kExtCreatePen: {
      const std::uint32_t handle = r.U32();
      r.Skip(16);  // the pattern bitmap of a pattern pen is not carried over
      const std::uint32_t style = r.U32();
      const double width = r.U32();
      const std::uint32_t brushStyle = r.U32();
      const std::uint32_t color = r.U32();
      int wmfStyle = static_cast<int>(style & 0x0F);
      if (wmfStyle > 6) wmfStyle = wmfStyle == 8 ? 2 : 0;
      if (brushStyle == 1) wmfStyle = 5;  // a null brush draws nothing
      const bool geometric = (style & 0x000F0000) == 0x00010000;
      AddObject(handle, ObjectKind::Pen, PenRecord(wmfStyle, geometric ? ToShort(width * ScaleAlongX()) : 0, color));
      break;
    }
    case emr::kCreateBrushIndirect: {
      const std::uint32_t handle = r.U32();
      const std::uint32_t style = r.U32();
      const std::uint32_t color = r.U32();
      const std::uint32_t hatch = r.U32();
      const int wmfStyle = style == 1 || style == 2 ? static_cast<int>(style) : 0;
      AddObject(handle, ObjectKind::Brush, BrushRecord(wmfStyle, color, static_cast<int>(hatch & 0xFFFF)));
      break;
    }
    case emr::kCreateDibPatternBrushPt:
    case emr::kCreateMonoBrush: {
      const std::uint32_t handle = r.U32();
      const std::uint32_t usage = r.U32();
      const std::uint32_t offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
      std::optional<std::vector<std::uint8_t>> dib = PackedDib(record, offBmi, cbBmi, offBits, cbBits);
      if (!dib) break;
      std::vector<std::uint8_t> p;
      PutU16(p, 5);
      PutU16(p, usage & 0xFFFF);
      p.insert(p.end(), dib->begin(), dib->end());
      AddObject(handle, ObjectKind::Brush, out_.CreateObject(wmf::kDibCreatePatternBrush, p));
      break;
    }
    case emr::kExtCreateFontIndirectW: {
      const std::uint32_t handle = r.U32();
      const double height = r.I32(), width = r.I32();
      const std::int32_t escapement = r.I32(), orientation = r.I32(), weight = r.I32();
      std::uint8_t flags[8];
      for (std::uint8_t& f : flags) f = r.U8();
      std::u16string face;
      for (int i = 0; i < 32; ++i) {
        const char16_t c = r.U16();
        if (c == 0) break;
        face += c;
      }
      auto scaled = [](double v, double scale) {
        const double s = v * scale;
        return v == 0 ? 0 : std::abs(s) < 1 ? (v < 0 ? -1 : 1) : ToShort(s);
      };
      // Face names are stored in the system's code page, 932 on the systems the pictures come from.
      const int slot = FontRecord(scaled(height, ScaleAlongY()), scaled(width, ScaleAlongX()), escapement, orientation,
                                  weight, flags, EncodeCharsetText(face, 128));
      AddObject(handle, ObjectKind::Font, slot, flags[3]);
      break;
    }
    case emr::kCreatePalette: {
      const std::uint32_t handle = r.U32();
      r.U16();
      const std::uint16_t count = r.U16();
      std::vector<std::uint8_t> p;
      PutU16(p, 0x0300);
      PutU16(p, count);
      std::span<const std::uint8_t> entries = r.Bytes(std::size_t{count} * 4);
      p.insert(p.end(), entries.begin(), entries.end());
      AddObject(handle, ObjectKind::Palette, out_.CreateObject(wmf::kCreatePalette, p));
      break;
    }
    case emr::kSelectPalette: {
      auto it = objects_.find(r.U32());
      if (it != objects_.end() && it->second.Kind == ObjectKind::Palette) out_.Record(wmf::kSelectPalette, {it->second.Slot});
      break;
    }
    case emr::kRealizePalette: out_.Record(wmf::kRealizePalette, {}); break;

    case emr::kBitBlt: Blt(r, record, false); break;
    case emr::kStretchBlt: Blt(r, record, true); break;
    case emr::kStretchDiBits: StretchDiBits(r, record, false); break;
    case emr::kSetDiBitsToDevice: StretchDiBits(r, record, true); break;
    case emr::kExtTextOutA: TextOut(r, record, false); break;
    case emr::kExtTextOutW: TextOut(r, record, true); break;
    case emr::kFillRgn:
    case emr::kPaintRgn:
    case emr::kInvertRgn: PaintRegion(r, type); break;
    default: break;  // comments, colour management, what has no counterpart
  }
}

void Translator::BoxRecord(std::uint16_t function, LittleEndianReader& r) {
  const double l = r.I32(), t = r.I32(), rt = r.I32(), b = r.I32();
  double cw = 0, ch = 0;
  if (function == wmf::kRoundRect) cw = r.I32(), ch = r.I32();
  if (inPath_ || !AxisAligned()) {
    // Traced in logical space and mapped point by point.
    const DBox box{std::min(l, rt), std::min(t, b), std::max(l, rt), std::max(t, b)};
    Figure logical = function == wmf::kEllipse     ? EllipseOutline(box)
                     : function == wmf::kRoundRect ? RoundRectOutline(box, cw, ch)
                                                   : Figure{{l, t}, {rt, t}, {rt, b}, {l, b}};
    Figure mapped;
    for (const DPoint& p : logical) mapped.push_back(Map(p.X, p.Y));
    Figure_(mapped, true);
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

void Translator::ArcRecord(std::uint32_t type, LittleEndianReader& r) {
  const double l = r.I32(), t = r.I32(), rt = r.I32(), b = r.I32();
  double xs = r.I32(), ys = r.I32(), xe = r.I32(), ye = r.I32();
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

void Translator::Path(std::uint32_t type) {
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

int Translator::StockSlot(std::uint32_t index) {
  auto it = stockSlots_.find(index);
  if (it != stockSlots_.end()) return it->second;
  int slot;
  const std::uint8_t japanese[8] = {0, 0, 0, 128, 0, 0, 0, 0};
  const std::uint8_t fixed[8] = {0, 0, 0, 128, 0, 0, 0, 0x31};
  const double px = unitsPerPixel_;
  switch (index) {
    case 0: slot = BrushRecord(0, 0xFFFFFF, 0); break;
    case 1: slot = BrushRecord(0, 0xC0C0C0, 0); break;
    case 2: slot = BrushRecord(0, 0x808080, 0); break;
    case 3: slot = BrushRecord(0, 0x404040, 0); break;
    case 4: slot = BrushRecord(0, 0x000000, 0); break;
    case 5: slot = BrushRecord(1, 0, 0); break;
    case 6: slot = PenRecord(0, 0, 0xFFFFFF); break;
    case 8: slot = PenRecord(5, 0, 0); break;
    case 18: slot = BrushRecord(0, 0xFFFFFF, 0); break;
    case 10:
    case 11:
    case 16: slot = FontRecord(ToShort(16 * px), 0, 0, 0, 400, fixed, "System"); break;
    case 12:
    case 13:
    case 14: slot = FontRecord(ToShort(16 * px), 0, 0, 0, 700, japanese, "System"); break;
    case 17: slot = FontRecord(ToShort(-12 * px), 0, 0, 0, 400, japanese, EncodeCharsetText(u"ＭＳ Ｐゴシック", 128)); break;
    default: slot = PenRecord(0, 0, 0); break;  // black and the DC pen
  }
  stockSlots_[index] = slot;
  return slot;
}

void Translator::SelectStock(std::uint32_t index) {
  if (index == 9 || index == 15 || index > 19) return;  // the default palette, unknown
  const ObjectKind kind = index <= 5 || index == 18 ? ObjectKind::Brush
                          : (index >= 6 && index <= 8) || index == 19 ? ObjectKind::Pen
                                                                      : ObjectKind::Font;
  SelectSlot(kind, StockSlot(index), 128);
}

void Translator::Blt(LittleEndianReader& r, std::span<const std::uint8_t> record, bool stretch) {
  r.Skip(16);
  const double x = r.I32(), y = r.I32(), cx = r.I32(), cy = r.I32();
  const std::uint32_t rop = r.U32();
  const double xSrc = r.I32(), ySrc = r.I32();
  r.Skip(24 + 4);  // source transform, source background colour
  r.U32();         // colour usage
  const std::uint32_t offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
  double cxSrc = cx, cySrc = cy;
  if (stretch) cxSrc = r.I32(), cySrc = r.I32();
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

void Translator::StretchDiBits(LittleEndianReader& r, std::span<const std::uint8_t> record, bool toDevice) {
  r.Skip(16);
  const double x = r.I32(), y = r.I32(), xSrc = r.I32(), ySrc = r.I32(), cxSrc = r.I32(), cySrc = r.I32();
  const std::uint32_t offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
  const std::uint32_t usage = r.U32();
  std::uint32_t rop = 0x00CC0020;
  DPoint a = Map(x, y), c;
  if (toDevice) {
    // Pixels to the device one to one: the size is in device pixels.
    c = {a.X + cxSrc * unitsPerPixel_, a.Y + cySrc * unitsPerPixel_};
  } else {
    rop = r.U32();
    const double cx = r.I32(), cy = r.I32();
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

void Translator::TextOut(LittleEndianReader& r, std::span<const std::uint8_t> record, bool wide) {
  r.Skip(16 + 4 + 8);  // bounds, graphics mode, scales
  const double x = r.I32(), y = r.I32();
  const std::uint32_t chars = r.U32();
  const std::uint32_t offString = r.U32();
  const std::uint32_t options = r.U32();
  const double l = r.I32(), t = r.I32(), rt = r.I32(), b = r.I32();
  const std::uint32_t offDx = r.U32();
  if (options & 0x0010) return;  // glyph indexes name no characters
  const std::size_t unit = wide ? 2 : 1;
  if (chars > 32767 || offString > record.size() || std::size_t{chars} * unit > record.size() - offString) return;

  // The text in the font's code page, and which character each byte belongs to.
  std::string bytes;
  std::vector<std::size_t> owner;
  LittleEndianReader text(record.subspan(offString, std::size_t{chars} * unit));
  for (std::uint32_t i = 0; i < chars; ++i) {
    const std::uint32_t first = i;
    std::string encoded;
    if (wide) {
      std::u16string one(1, static_cast<char16_t>(text.U16()));
      if (one[0] >= 0xD800 && one[0] < 0xDC00 && i + 1 < chars) {
        one += static_cast<char16_t>(text.U16());
        ++i;
      }
      encoded = EncodeCharsetText(one, state_.FontCharset);
    } else {
      encoded = std::string(1, static_cast<char>(text.U8()));
    }
    for (std::size_t k = 0; k < encoded.size(); ++k) owner.push_back(k == 0 ? first : SIZE_MAX);
    bytes += encoded;
  }
  if (bytes.size() > 32767) return;

  // Advances: cumulative positions rounded once, so rounding never drifts.
  std::vector<std::int32_t> dx;
  const std::size_t dxStride = (options & 0x2000) ? 8 : 4;
  if (offDx != 0 && offDx <= record.size() && std::size_t{chars} * dxStride <= record.size() - offDx) {
    LittleEndianReader advances(record.subspan(offDx, std::size_t{chars} * dxStride));
    std::vector<double> logical;
    for (std::uint32_t i = 0; i < chars; ++i) {
      logical.push_back(advances.I32());
      if (dxStride == 8) advances.I32();
    }
    const double scale = ScaleAlongX();
    double sum = 0;
    std::int32_t placed = 0;
    for (std::size_t k = 0; k < bytes.size(); ++k) {
      if (owner[k] == SIZE_MAX) {
        dx.push_back(0);
        continue;
      }
      sum += logical[owner[k]] * scale;
      const std::int32_t at = ToShort(sum);
      dx.push_back(at - placed);
      placed = at;
    }
  }

  const DPoint p = Map(x, y);
  std::vector<std::uint8_t> out;
  PutU16(out, static_cast<std::uint16_t>(ToShort(p.Y)));
  PutU16(out, static_cast<std::uint16_t>(ToShort(p.X)));
  PutU16(out, static_cast<std::uint32_t>(bytes.size()));
  const std::uint16_t wmfOptions = static_cast<std::uint16_t>(options & 0x0006);
  PutU16(out, wmfOptions);
  if (wmfOptions) {
    const DPoint a = Map(l, t), c = Map(rt, b);
    for (double v : {std::min(a.X, c.X), std::min(a.Y, c.Y), std::max(a.X, c.X), std::max(a.Y, c.Y)}) {
      PutU16(out, static_cast<std::uint16_t>(ToShort(v)));
    }
  }
  out.insert(out.end(), bytes.begin(), bytes.end());
  if (bytes.size() % 2) out.push_back(0);
  for (std::int32_t d : dx) PutU16(out, static_cast<std::uint16_t>(d));
  if (state_.TextAlign & 1) {
    // Text that uses the current position starts where the lines left it.
    const DPoint cp = Map(state_.CurrentX, state_.CurrentY);
    out_.Record(wmf::kMoveTo, {ToShort(cp.Y), ToShort(cp.X)});
  }
  out_.RecordBytes(wmf::kExtTextOut, out);
}

void Translator::ClipRegion(LittleEndianReader& r) {
  const std::uint32_t size = r.U32();
  const std::uint32_t mode = r.U32();
  constexpr std::uint32_t kRgnAnd = 1, kRgnCopy = 5;
  if (mode != kRgnAnd && mode != kRgnCopy) return;  // unions and differences have no record
  if (size == 0) {
    // No region: the clip is reset by selecting an empty slot.
    if (mode == kRgnCopy) out_.Record(wmf::kSelectClipRegion, {out_.FreeSlot()});
    return;
  }
  r.Skip(8);
  const std::uint32_t count = r.U32();
  r.U32();
  // The region's bounds, in device pixels.
  const double l = r.I32(), t = r.I32(), rt = r.I32(), b = r.I32();
  if (count == 0) return;
  if (mode == kRgnCopy) out_.Record(wmf::kSelectClipRegion, {out_.FreeSlot()});
  const DPoint a = DeviceToOutput(l, t), c = DeviceToOutput(rt, b);
  out_.Record(wmf::kIntersectClipRect, {ToShort(c.Y), ToShort(c.X), ToShort(a.Y), ToShort(a.X)});
}

void Translator::PaintRegion(LittleEndianReader& r, std::uint32_t type) {
  r.Skip(16);
  const std::uint32_t size = r.U32();
  std::optional<int> brush;
  if (type == emr::kFillRgn) {
    auto it = objects_.find(r.U32());
    if (it != objects_.end() && it->second.Kind == ObjectKind::Brush) brush = it->second.Slot;
    if (!brush) return;
  }
  if (size < 32) return;
  r.Skip(8);
  const std::uint32_t count = r.U32();
  r.Skip(4 + 16);
  if (count > r.Remaining() / 16) return;
  constexpr std::uint32_t kPatCopy = 0x00F00021, kDstInvert = 0x00550009;
  const std::uint32_t rop = type == emr::kInvertRgn ? kDstInvert : kPatCopy;
  if (brush) out_.SelectObject(*brush);
  for (std::uint32_t i = 0; i < count; ++i) {
    const double l = r.I32(), t = r.I32(), rt = r.I32(), b = r.I32();
    const DPoint a = DeviceToOutput(l, t), c = DeviceToOutput(rt, b);
    out_.Record(wmf::kPatBlt, {static_cast<std::int32_t>(rop & 0xFFFF), static_cast<std::int32_t>(rop >> 16),
                               ToShort(c.Y - a.Y), ToShort(c.X - a.X), ToShort(a.Y), ToShort(a.X)});
  }
  if (brush) out_.SelectObject(state_.BrushSlot >= 0 ? state_.BrushSlot : StockSlot(0));
}

}  // namespace

std::vector<std::uint8_t> EnhancedToPlaceableMetafile(std::span<const std::uint8_t> emf) {
  return Translator(emf).Run();
}

}  // namespace quorvex
