#pragma once
// One-pixel lines as GDI draws them: every pixel along the major axis, the
// last one left out so that joined lines never paint a pixel twice, dashes
// continuing from one line of a figure to the next.

#include <cstdint>

#include "metafile/Coverage.h"
#include "metafile/Raster.h"

namespace quorvex {

/// How a one-pixel pen paints, and how far along its dash pattern it is.
struct CosmeticPen {
  int Style = 0;               ///< PS_SOLID 0, PS_DASH 1, PS_DOT 2, PS_DASHDOT 3, PS_DASHDOTDOT 4
  Rgb Color = kBlack;
  Rgb Background = kWhite;     ///< the gaps' colour when they are opaque
  bool OpaqueGaps = false;
  int Rop2 = 13;
  std::int64_t Phase = 0;      ///< pixels of the pattern already used
};

/// Draws from `from` to `to`, `to` itself excluded.
void DrawCosmeticLine(Raster& raster, IPoint from, IPoint to, CosmeticPen& pen);

}  // namespace quorvex
