#include "metafile/CosmeticLine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <span>

namespace quorvex {

namespace {

// On and off lengths, in pixels, of the styled one-pixel pens.
constexpr int kDash[] = {18, 6};
constexpr int kDot[] = {3, 3};
constexpr int kDashDot[] = {9, 6, 3, 6};
constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};

std::span<const int> Pattern(int style) {
  switch (style) {
    case 1: return kDash;
    case 2: return kDot;
    case 3: return kDashDot;
    case 4: return kDashDotDot;
    default: return {};
  }
}

// True when pixel `position` of the pattern is a dash rather than a gap.
bool InDash(std::span<const int> pattern, std::int64_t position) {
  if (pattern.empty()) return true;
  int period = 0;
  for (int n : pattern) period += n;
  std::int64_t at = position % period;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (at < pattern[i]) return i % 2 == 0;
    at -= pattern[i];
  }
  return true;
}

// Rounded a * b / c for c > 0, halves towards +infinity.
std::int64_t RoundedRatio(std::int64_t a, std::int64_t b, std::int64_t c) {
  const std::int64_t n = 2 * a * b + c;
  const std::int64_t d = 2 * c;
  return n >= 0 ? n / d : -((-n + d - 1) / d);
}

}  // namespace

void DrawCosmeticLine(Raster& raster, IPoint from, IPoint to, CosmeticPen& pen) {
  const std::int64_t dx = std::int64_t{to.X} - from.X;
  const std::int64_t dy = std::int64_t{to.Y} - from.Y;
  const std::int64_t steps = std::max(std::llabs(dx), std::llabs(dy));
  if (steps == 0) return;
  const std::span<const int> pattern = Pattern(pen.Style);

  // Only the steps that can land on the raster are walked: a line may be
  // millions of pixels long after a wild mapping.
  auto range = [&](std::int64_t start, std::int64_t delta, std::int64_t size, std::int64_t& lo, std::int64_t& hi) {
    if (delta == 0) {
      if (start < -1 || start > size) hi = -1;
      return;
    }
    double a = (static_cast<double>(-1 - start)) * steps / delta;
    double b = (static_cast<double>(size + 1 - start)) * steps / delta;
    if (a > b) std::swap(a, b);
    lo = std::max<std::int64_t>(lo, static_cast<std::int64_t>(std::floor(a)) - 1);
    hi = std::min<std::int64_t>(hi, static_cast<std::int64_t>(std::ceil(b)) + 1);
  };
  std::int64_t lo = 0;
  std::int64_t hi = steps - 1;
  range(from.X, dx, raster.Width(), lo, hi);
  range(from.Y, dy, raster.Height(), lo, hi);

  for (std::int64_t i = std::max<std::int64_t>(lo, 0); i <= hi; ++i) {
    const std::int64_t x = from.X + RoundedRatio(i, dx, steps);
    const std::int64_t y = from.Y + RoundedRatio(i, dy, steps);
    if (x < 0 || y < 0 || x >= raster.Width() || y >= raster.Height()) continue;
    const auto px = static_cast<std::int32_t>(x);
    const auto py = static_cast<std::int32_t>(y);
    if (InDash(pattern, pen.Phase + i)) {
      raster.Plot(px, py, pen.Color, pen.Rop2);
    } else if (pen.OpaqueGaps) {
      raster.Plot(px, py, pen.Background, pen.Rop2);
    }
  }
  pen.Phase += steps;
}

}  // namespace quorvex
