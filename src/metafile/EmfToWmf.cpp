// The translation of an enhanced metafile into a placeable Windows metafile
// of 96 units per inch. Every coordinate is taken through the enhanced
// metafile's own world and page transforms to its reference device and then
// into one fixed window, so the records written need no mapping of their
// own. What a Windows metafile cannot say (paths, Bezier curves, turned
// figures) is flattened into polygons; what it cannot say at all is left out.

#include <algorithm>
#include <climits>
#include <cmath>

#include "metafile/EmfRecords.h"
#include "metafile/EmfTranslator.h"
#include "metafile/Metafile.h"
#include "metafile/WmfRecords.h"

namespace quorvex {

namespace {

constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::size_t kHeaderSize = 88;

[[noreturn]] void Invalid() { throw EInvalidGraphic("Metafile is not valid"); }

}  // namespace

Xform Combine(const Xform& first, const Xform& then) {
  return {first.M11 * then.M11 + first.M12 * then.M21, first.M11 * then.M12 + first.M12 * then.M22,
          first.M21 * then.M11 + first.M22 * then.M21, first.M21 * then.M12 + first.M22 * then.M22,
          first.Dx * then.M11 + first.Dy * then.M21 + then.Dx, first.Dx * then.M12 + first.Dy * then.M22 + then.Dy};
}

std::int16_t ToShort(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<std::int16_t>(std::clamp(std::floor(v + 0.5), -32768.0, 32767.0));
}

std::vector<std::uint8_t> EnhancedToPlaceableMetafile(std::span<const std::uint8_t> emf) {
  return EmfTranslator(emf).Run();
}

std::vector<std::uint8_t> EmfTranslator::Run() {
  ReadHeader();
  std::size_t pos = headerSize_;
  while (pos < emf_.size()) {
    if (emf_.size() - pos < 8) Invalid();
    ByteReader head(emf_.subspan(pos, 8));
    const std::uint32_t type = head.U32LE();
    const std::uint32_t size = head.U32LE();
    if (size < 8 || size % 4 != 0 || size > emf_.size() - pos) Invalid();
    if (type == emr::kEof) break;
    const std::span<const std::uint8_t> record = emf_.subspan(pos, size);
    ByteReader r(record);
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

void EmfTranslator::ReadHeader() {
  if (emf_.size() < kHeaderSize) Invalid();
  ByteReader r(emf_);
  const std::uint32_t type = r.U32LE();
  const std::uint32_t size = r.U32LE();
  const std::int32_t boundsLeft = r.I32LE(), boundsTop = r.I32LE(), boundsRight = r.I32LE(), boundsBottom = r.I32LE();
  const std::int32_t frameLeft = r.I32LE(), frameTop = r.I32LE(), frameRight = r.I32LE(), frameBottom = r.I32LE();
  const std::uint32_t signature = r.U32LE();
  if (type != emr::kHeader || signature != kEmfSignature || size < kHeaderSize || size % 4 != 0 ||
      size > emf_.size()) {
    Invalid();
  }
  headerSize_ = size;
  r.Seek(72);
  const std::int32_t devicePixelsX = r.I32LE(), devicePixelsY = r.I32LE();
  const std::int32_t deviceMmX = r.I32LE(), deviceMmY = r.I32LE();
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

DPoint EmfTranslator::Map(double x, double y) const {
  const Xform& w = state_.World;
  const DPoint device = state_.Page.ToDevice(x * w.M11 + y * w.M21 + w.Dx, x * w.M12 + y * w.M22 + w.Dy);
  return DeviceToOutput(device.X, device.Y);
}

DPoint EmfTranslator::DeviceToOutput(double x, double y) const {
  return {(x - originX_) * unitsPerPixel_, (y - originY_) * unitsPerPixel_};
}

double EmfTranslator::ScaleAlongX() const {
  const DPoint a = Map(0, 0), b = Map(1, 0);
  return std::hypot(b.X - a.X, b.Y - a.Y);
}

double EmfTranslator::ScaleAlongY() const {
  const DPoint a = Map(0, 0), b = Map(0, 1);
  return std::hypot(b.X - a.X, b.Y - a.Y);
}

bool EmfTranslator::AxisAligned() const {
  const DPoint a = Map(0, 0), bx = Map(1, 0), by = Map(0, 1);
  return std::abs(bx.Y - a.Y) < 1e-9 && std::abs(by.X - a.X) < 1e-9;
}

void EmfTranslator::Translate(std::uint32_t type, ByteReader& r, std::span<const std::uint8_t> record) {
  if (PageRecord(type, r) || AttributeRecord(type, r) || FigureRecord(type, r) || ObjectRecord(type, r, record)) {
    return;
  }
  switch (type) {
    case emr::kIntersectClipRect:
    case emr::kExcludeClipRect: ClipRect(type, r); break;
    case emr::kOffsetClipRgn: {
      const double x = r.I32LE(), y = r.I32LE();
      const DPoint a = Map(0, 0), b = Map(x, y);
      out_.Record(wmf::kOffsetClipRgn, {ToShort(b.Y - a.Y), ToShort(b.X - a.X)});
      break;
    }
    case emr::kExtSelectClipRgn: ClipRegion(r); break;
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

bool EmfTranslator::PageRecord(std::uint32_t type, ByteReader& r) {
  PageMapping& page = state_.Page;
  switch (type) {
    case emr::kSetMapMode: page.SetMode(static_cast<int>(r.U32LE())); return true;
    case emr::kSetWindowExtEx: {
      const double x = r.I32LE();
      page.SetWindowExt(x, r.I32LE());
      return true;
    }
    case emr::kSetWindowOrgEx: page.WindowOrgX = r.I32LE(), page.WindowOrgY = r.I32LE(); return true;
    case emr::kSetViewportExtEx: {
      const double x = r.I32LE();
      page.SetViewportExt(x, r.I32LE());
      return true;
    }
    case emr::kSetViewportOrgEx: page.ViewportOrgX = r.I32LE(), page.ViewportOrgY = r.I32LE(); return true;
    case emr::kScaleViewportExtEx:
    case emr::kScaleWindowExtEx: {
      const double xNum = r.I32LE(), xDenom = r.I32LE(), yNum = r.I32LE(), yDenom = r.I32LE();
      if (xDenom == 0 || yDenom == 0) return true;
      if (type == emr::kScaleWindowExtEx) {
        page.SetWindowExt(page.WindowExtX * xNum / xDenom, page.WindowExtY * yNum / yDenom);
      } else {
        page.SetViewportExt(page.ViewportExtX * xNum / xDenom, page.ViewportExtY * yNum / yDenom);
      }
      return true;
    }
    case emr::kSetWorldTransform:
    case emr::kModifyWorldTransform: {
      Xform x;
      x.M11 = r.F32LE(), x.M12 = r.F32LE(), x.M21 = r.F32LE(), x.M22 = r.F32LE(), x.Dx = r.F32LE(), x.Dy = r.F32LE();
      for (double v : {x.M11, x.M12, x.M21, x.M22, x.Dx, x.Dy}) {
        if (!std::isfinite(v)) return true;
      }
      // 1 identity, 2 the new transform first, 3 the new transform after, 4 set.
      const std::uint32_t mode = type == emr::kSetWorldTransform ? 4 : r.U32LE();
      if (mode == 1) state_.World = Xform{};
      if (mode == 2) state_.World = Combine(x, state_.World);
      if (mode == 3) state_.World = Combine(state_.World, x);
      if (mode == 4) state_.World = x;
      return true;
    }
    case emr::kSetArcDirection: state_.Clockwise = r.U32LE() == 2; return true;
    case emr::kSaveDc:
      saved_.push_back(state_);
      out_.Record(wmf::kSaveDc, {});
      return true;
    case emr::kRestoreDc: RestoreDc(r.I32LE()); return true;
    default: return false;
  }
}

void EmfTranslator::RestoreDc(std::int32_t level) {
  const std::int64_t keep = level < 0 ? static_cast<std::int64_t>(saved_.size()) + level : std::int64_t{level} - 1;
  if (level == 0 || keep < 0 || keep >= static_cast<std::int64_t>(saved_.size())) return;
  state_ = saved_[static_cast<std::size_t>(keep)];
  saved_.resize(static_cast<std::size_t>(keep));
  out_.Record(wmf::kRestoreDc, {level});
}

bool EmfTranslator::AttributeRecord(std::uint32_t type, ByteReader& r) {
  std::uint16_t function;
  switch (type) {
    case emr::kSetBkMode: function = wmf::kSetBkMode; break;
    case emr::kSetPolyFillMode: function = wmf::kSetPolyFillMode; break;
    case emr::kSetRop2: function = wmf::kSetRop2; break;
    case emr::kSetStretchBltMode: function = wmf::kSetStretchBltMode; break;
    case emr::kSetTextAlign: function = wmf::kSetTextAlign; break;
    case emr::kSetTextColor:
    case emr::kSetBkColor: {
      const std::uint32_t color = r.U32LE();
      out_.Record(type == emr::kSetTextColor ? wmf::kSetTextColor : wmf::kSetBkColor,
                  {static_cast<std::int32_t>(color & 0xFFFF), static_cast<std::int32_t>(color >> 16)});
      return true;
    }
    default: return false;
  }
  const std::uint32_t value = r.U32LE() & 0xFFFF;
  if (type == emr::kSetTextAlign) state_.TextAlign = value;
  out_.Record(function, {static_cast<std::int32_t>(value)});
  return true;
}

}  // namespace quorvex
