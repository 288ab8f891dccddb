#include "metafile/Coverage.h"

#include <algorithm>
#include <cmath>

namespace quorvex {

double ClampDevice(double v) {
  if (std::isnan(v)) return 0;
  return std::clamp(v, -kDeviceLimit, kDeviceLimit);
}

Coverage::Coverage(const Raster& raster, double left, double top, double right, double bottom,
                   const std::function<void(cairo_t*)>& draw) {
  const double x0 = std::max(0.0, std::floor(ClampDevice(left)));
  const double y0 = std::max(0.0, std::floor(ClampDevice(top)));
  const double x1 = std::min<double>(raster.Width(), std::ceil(ClampDevice(right)));
  const double y1 = std::min<double>(raster.Height(), std::ceil(ClampDevice(bottom)));
  if (x1 <= x0 || y1 <= y0) return;
  left_ = static_cast<std::int32_t>(x0);
  top_ = static_cast<std::int32_t>(y0);
  width_ = static_cast<std::int32_t>(x1 - x0);
  height_ = static_cast<std::int32_t>(y1 - y0);

  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, width_, height_);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    width_ = height_ = 0;
    return;
  }
  cairo_t* cr = cairo_create(surface);
  cairo_translate(cr, -x0, -y0);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  draw(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);

  const int stride = cairo_image_surface_get_stride(surface);
  const std::uint8_t* data = cairo_image_surface_get_data(surface);
  mask_.resize(static_cast<std::size_t>(width_) * height_);
  for (std::int32_t y = 0; y < height_; ++y) {
    std::copy_n(data + static_cast<std::size_t>(y) * stride, width_, mask_.data() + static_cast<std::size_t>(y) * width_);
  }
  cairo_surface_destroy(surface);
}

namespace {

void AddFigure(cairo_t* cr, const Figure& figure, bool close, double shift) {
  if (figure.empty()) return;
  cairo_move_to(cr, ClampDevice(figure[0].X) + shift, ClampDevice(figure[0].Y) + shift);
  for (std::size_t i = 1; i < figure.size(); ++i) {
    cairo_line_to(cr, ClampDevice(figure[i].X) + shift, ClampDevice(figure[i].Y) + shift);
  }
  if (close) cairo_close_path(cr);
}

struct Box {
  double Left = kDeviceLimit, Top = kDeviceLimit, Right = -kDeviceLimit, Bottom = -kDeviceLimit;
  void Add(const DPoint& p) {
    Left = std::min(Left, ClampDevice(p.X));
    Top = std::min(Top, ClampDevice(p.Y));
    Right = std::max(Right, ClampDevice(p.X));
    Bottom = std::max(Bottom, ClampDevice(p.Y));
  }
};

Box BoxOf(const std::vector<Figure>& figures) {
  Box box;
  for (const Figure& f : figures) {
    for (const DPoint& p : f) box.Add(p);
  }
  return box;
}

}  // namespace

Coverage Coverage::Fill(const Raster& raster, const std::vector<Figure>& figures, bool winding) {
  const Box box = BoxOf(figures);
  return Coverage(raster, box.Left, box.Top, box.Right + 1, box.Bottom + 1, [&](cairo_t* cr) {
    cairo_set_fill_rule(cr, winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    for (const Figure& f : figures) AddFigure(cr, f, true, 0);
    cairo_fill(cr);
  });
}

Coverage Coverage::Stroke(const Raster& raster, const std::vector<Figure>& figures, bool closed, double width) {
  const Box box = BoxOf(figures);
  const double margin = width / 2 + 2;
  return Coverage(raster, box.Left - margin, box.Top - margin, box.Right + margin, box.Bottom + margin,
                  [&](cairo_t* cr) {
                    cairo_set_line_width(cr, width);
                    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
                    // Lines run through pixel centres, as a one-pixel GDI line does.
                    for (const Figure& f : figures) AddFigure(cr, f, closed, 0.5);
                    cairo_stroke(cr);
                  });
}

}  // namespace quorvex
