#include "metafile/PageMapping.h"

#include <algorithm>
#include <cmath>

namespace quorvex {

namespace {

// Logical units per inch of the fixed metric and English modes (0: none).
double UnitsPerInch(int mode) {
  switch (mode) {
    case kMmLoMetric: return 254;
    case kMmHiMetric: return 2540;
    case kMmLoEnglish: return 100;
    case kMmHiEnglish: return 1000;
    case kMmTwips: return 1440;
    default: return 0;
  }
}

bool Scaled(int mode) { return mode == kMmIsotropic || mode == kMmAnisotropic; }

}  // namespace

std::int32_t RoundPixel(double v) { return static_cast<std::int32_t>(std::floor(ClampDevice(v) + 0.5)); }

double PageMapping::ScaleX() const {
  if (Mode == kMmText) return 1;
  if (!Scaled(Mode)) return DeviceDpiX / UnitsPerInch(Mode);
  const double sx = ViewportExtX / WindowExtX;
  if (Mode == kMmIsotropic) {
    const double sy = ViewportExtY / WindowExtY;
    return std::copysign(std::min(std::abs(sx), std::abs(sy)), sx);
  }
  return sx;
}

double PageMapping::ScaleY() const {
  if (Mode == kMmText) return 1;
  if (!Scaled(Mode)) return -DeviceDpiY / UnitsPerInch(Mode);
  const double sy = ViewportExtY / WindowExtY;
  if (Mode == kMmIsotropic) {
    const double sx = ViewportExtX / WindowExtX;
    return std::copysign(std::min(std::abs(sx), std::abs(sy)), sy);
  }
  return sy;
}

DPoint PageMapping::ToDevice(double x, double y) const {
  return {ClampDevice((x - WindowOrgX) * ScaleX() + ViewportOrgX + OffsetX),
          ClampDevice((y - WindowOrgY) * ScaleY() + ViewportOrgY + OffsetY)};
}

IPoint PageMapping::ToPixel(double x, double y) const {
  const DPoint d = ToDevice(x, y);
  return {RoundPixel(d.X), RoundPixel(d.Y)};
}

DPoint PageMapping::ToLogical(double x, double y) const {
  const double sx = ScaleX();
  const double sy = ScaleY();
  return {sx == 0 ? WindowOrgX : (x - OffsetX - ViewportOrgX) / sx + WindowOrgX,
          sy == 0 ? WindowOrgY : (y - OffsetY - ViewportOrgY) / sy + WindowOrgY};
}

void PageMapping::SetMode(int mode) {
  if (mode < kMmText || mode > kMmAnisotropic) return;
  if (Scaled(mode) && !Scaled(Mode)) {
    const double sx = ScaleX();
    const double sy = ScaleY();
    WindowExtX = 1;
    WindowExtY = 1;
    ViewportExtX = sx;
    ViewportExtY = sy;
  }
  Mode = mode;
}

void PageMapping::SetWindowExt(double x, double y) {
  if (!Scaled(Mode) || x == 0 || y == 0) return;
  WindowExtX = x;
  WindowExtY = y;
}

void PageMapping::SetViewportExt(double x, double y) {
  if (!Scaled(Mode) || x == 0 || y == 0) return;
  ViewportExtX = x;
  ViewportExtY = y;
}

}  // namespace quorvex
