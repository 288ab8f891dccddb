#pragma once
// GDI's page space: logical coordinates mapped to device pixels by the
// mapping mode, the window and the viewport.

#include <cstdint>

#include "metafile/Coverage.h"

namespace quorvex {

/// The mapping modes of GDI.
enum MapMode : int {
  kMmText = 1,
  kMmLoMetric = 2,
  kMmHiMetric = 3,
  kMmLoEnglish = 4,
  kMmHiEnglish = 5,
  kMmTwips = 6,
  kMmIsotropic = 7,
  kMmAnisotropic = 8,
};

/// The window and viewport of a device context and where its device space
/// lies on the target.
struct PageMapping {
  int Mode = kMmAnisotropic;
  /// Device pixels per inch, for the metric and English modes.
  double DeviceDpiX = 96, DeviceDpiY = 96;
  double WindowOrgX = 0, WindowOrgY = 0, WindowExtX = 1, WindowExtY = 1;
  double ViewportOrgX = 0, ViewportOrgY = 0, ViewportExtX = 1, ViewportExtY = 1;
  double OffsetX = 0, OffsetY = 0;

  /// Device pixels per logical unit, with the sign of the axis direction.
  double ScaleX() const;
  double ScaleY() const;

  /// A logical point in device coordinates (unrounded).
  DPoint ToDevice(double x, double y) const;
  /// A logical point in whole device pixels, rounded to nearest and clamped.
  IPoint ToPixel(double x, double y) const;
  /// A device point back in logical coordinates.
  DPoint ToLogical(double x, double y) const;

  /// Changes the mode; entering the isotropic or anisotropic mode from a
  /// fixed one keeps that mode's scale as its extents, as GDI does.
  void SetMode(int mode);
  /// New extents; zero extents are refused as GDI refuses them.
  void SetWindowExt(double x, double y);
  void SetViewportExt(double x, double y);
};

/// A device coordinate rounded to a whole pixel (clamped to the device limit).
std::int32_t RoundPixel(double v);

}  // namespace quorvex
