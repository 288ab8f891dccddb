#pragma once
// The outlines of GDI's curved figures as point lists in device space: an
// ellipse in its box, an arc between two radial lines, a rounded rectangle.

#include "metafile/Coverage.h"

namespace quorvex {

/// A box in device coordinates.
struct DBox {
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

/// Points around the ellipse inscribed in `box`, counter-clockwise as seen on the screen.
Figure EllipseOutline(const DBox& box);

/// Points along the ellipse of `box` from where the ray from its centre
/// through `start` meets it, counter-clockwise to where the ray through `end`
/// meets it; the whole ellipse when both rays are the same.
Figure ArcOutline(const DBox& box, DPoint start, DPoint end);

/// A rectangle whose corners are quarters of an ellipse `cornerWidth` wide
/// and `cornerHeight` high (each at most the box's own size).
Figure RoundRectOutline(const DBox& box, double cornerWidth, double cornerHeight);

}  // namespace quorvex
