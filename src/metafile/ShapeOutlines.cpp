#include "metafile/ShapeOutlines.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorvex {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// Enough points that neighbours lie about a pixel apart, within limits.
int StepsFor(double rx, double ry, double sweep) {
  const double length = std::abs(sweep) * (std::abs(rx) + std::abs(ry)) / 2;
  return static_cast<int>(std::clamp(std::ceil(length), 8.0, 4096.0));
}

// Appends the points of the ellipse at angles from a0 to a1 (mathematical
// angles, y up on the screen), both ends included.
void AddArc(Figure& out, double cx, double cy, double rx, double ry, double a0, double a1) {
  const int steps = StepsFor(rx, ry, a1 - a0);
  for (int i = 0; i <= steps; ++i) {
    const double a = a0 + (a1 - a0) * i / steps;
    out.push_back({cx + rx * std::cos(a), cy - ry * std::sin(a)});
  }
}

}  // namespace

Figure EllipseOutline(const DBox& box) {
  const double cx = (box.Left + box.Right) / 2;
  const double cy = (box.Top + box.Bottom) / 2;
  Figure out;
  AddArc(out, cx, cy, (box.Right - box.Left) / 2, (box.Bottom - box.Top) / 2, 0, kTwoPi);
  out.pop_back();  // the first point again
  return out;
}

Figure ArcOutline(const DBox& box, DPoint start, DPoint end) {
  const double cx = (box.Left + box.Right) / 2;
  const double cy = (box.Top + box.Bottom) / 2;
  const double rx = (box.Right - box.Left) / 2;
  const double ry = (box.Bottom - box.Top) / 2;
  // The ellipse parameter where a ray from the centre meets the ellipse.
  auto angle = [&](DPoint p) {
    const double ux = rx == 0 ? 0 : (p.X - cx) / rx;
    const double uy = ry == 0 ? 0 : (cy - p.Y) / ry;
    return std::atan2(uy, ux);
  };
  const double a0 = angle(start);
  double a1 = angle(end);
  if (a1 <= a0) a1 += kTwoPi;
  Figure out;
  AddArc(out, cx, cy, rx, ry, a0, a1);
  return out;
}

Figure RoundRectOutline(const DBox& box, double cornerWidth, double cornerHeight) {
  const double w = box.Right - box.Left;
  const double h = box.Bottom - box.Top;
  const double rx = std::min(std::abs(cornerWidth), std::abs(w)) / 2;
  const double ry = std::min(std::abs(cornerHeight), std::abs(h)) / 2;
  const double pi = std::numbers::pi;
  Figure out;
  // Top right, top left, bottom left, bottom right, counter-clockwise on the screen.
  AddArc(out, box.Right - rx, box.Top + ry, rx, ry, 0, pi / 2);
  AddArc(out, box.Left + rx, box.Top + ry, rx, ry, pi / 2, pi);
  AddArc(out, box.Left + rx, box.Bottom - ry, rx, ry, pi, 3 * pi / 2);
  AddArc(out, box.Right - rx, box.Bottom - ry, rx, ry, 3 * pi / 2, kTwoPi);
  return out;
}

}  // namespace quorvex
