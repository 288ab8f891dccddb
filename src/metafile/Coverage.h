#pragma once
// Which pixels a filled or stroked figure covers, rasterised by cairo with
// antialiasing off (a pixel belongs to a figure when its centre does), over
// the part of a raster the figure can touch.

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "metafile/Raster.h"

namespace quorvex {

/// A point in device coordinates; integers are pixel corners.
struct DPoint {
  double X = 0;
  double Y = 0;
};

/// A point in whole device pixels.
struct IPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  bool operator==(const IPoint&) const = default;
};

/// A list of points: a closed figure or an open line.
using Figure = std::vector<DPoint>;

/// The pixels of a raster that a drawing covers.
class Coverage {
 public:
  /// Runs `draw` on a cairo context over the pixels of `raster` inside the
  /// device box [left, right) x [top, bottom) (device coordinates, antialiasing
  /// off, source opaque) and keeps what it painted.
  Coverage(const Raster& raster, double left, double top, double right, double bottom,
           const std::function<void(cairo_t*)>& draw);

  /// The interiors of closed figures, by the alternate (even-odd) or winding rule.
  static Coverage Fill(const Raster& raster, const std::vector<Figure>& figures, bool winding);
  /// Lines `width` pixels wide along figures (closed ones joined all round),
  /// with round ends and joins.
  static Coverage Stroke(const Raster& raster, const std::vector<Figure>& figures, bool closed, double width);

  /// Calls f(x, y) for every covered pixel, row by row.
  template <class F>
  void ForEach(F&& f) const {
    for (std::int32_t y = 0; y < height_; ++y) {
      const std::uint8_t* row = mask_.data() + static_cast<std::size_t>(y) * width_;
      for (std::int32_t x = 0; x < width_; ++x) {
        if (row[x] >= 128) f(left_ + x, top_ + y);
      }
    }
  }

 private:
  std::int32_t left_ = 0;
  std::int32_t top_ = 0;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::vector<std::uint8_t> mask_;
};

/// Device coordinates beyond this are clamped, inside cairo's fixed-point range.
inline constexpr double kDeviceLimit = 1 << 22;

/// A coordinate clamped to +-kDeviceLimit (NaN becomes 0).
double ClampDevice(double v);

}  // namespace quorvex
