#pragma once
// The objects and the device-context state a metafile's records create,
// select and change, with GDI's defaults.

#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "base/ByteString.h"
#include "metafile/PageMapping.h"
#include "metafile/Raster.h"

namespace quorvex {

/// A colour as records store it (COLORREF): red in the low byte; 0x01 in
/// the high byte makes the low word an index into the selected palette.
using ColorRef = std::uint32_t;

/// Pen styles.
enum PenStyle : int { kPsSolid = 0, kPsDash, kPsDot, kPsDashDot, kPsDashDotDot, kPsNull, kPsInsideFrame };

/// Brush styles.
enum BrushStyle : int { kBsSolid = 0, kBsNull = 1, kBsHatched = 2, kBsPattern = 3, kBsDibPattern = 5 };

struct PenObject {
  int Style = kPsSolid;
  std::int32_t Width = 0;  ///< logical units; 0 is one pixel
  ColorRef Color = 0;
};

struct BrushObject {
  int Style = kBsSolid;
  ColorRef Color = 0xFFFFFF;
  int Hatch = 0;
  /// The pattern of a pattern brush; with Monochrome its pixels are 0 (text
  /// colour) and 1 (background colour), as a one-bit bitmap paints.
  std::shared_ptr<const PixelImage> Pattern;
  bool Monochrome = false;
};

/// A logical font as the records give it.
struct FontObject {
  std::int16_t Height = 16;
  std::int16_t Width = 0;
  std::int16_t Escapement = 0;  ///< tenths of a degree, counter-clockwise
  std::int16_t Weight = 400;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  std::uint8_t Charset = 128;
  std::uint8_t PitchAndFamily = 0;
  ByteString FaceName;  ///< code page 932 bytes
};

/// A palette object; records may change its entries after it was selected.
using PaletteObject = std::shared_ptr<std::vector<Rgb>>;

/// A rectangle in logical units; Right and Bottom lie outside it.
struct LogicalRect {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

/// A region as a set of rectangles in logical units.
struct RegionObject {
  std::vector<LogicalRect> Rects;
};

/// One slot of the metafile's object table.
using GdiObject = std::variant<std::monostate, PenObject, BrushObject, FontObject, PaletteObject, RegionObject>;

/// Everything SaveDC keeps and RestoreDC brings back.
struct DcState {
  PenObject Pen;
  BrushObject Brush;
  FontObject Font;
  PaletteObject Palette;
  ColorRef TextColor = 0x000000;
  ColorRef BkColor = 0xFFFFFF;
  int BkMode = 2;  ///< 1 transparent, 2 opaque
  int Rop2 = 13;
  int PolyFillMode = 1;  ///< 1 alternate, 2 winding
  std::uint16_t TextAlign = 0;
  std::int16_t TextCharExtra = 0;
  PageMapping Mapping;
  double CurrentX = 0, CurrentY = 0;  ///< logical
  ClipMask Clip;
};

}  // namespace quorvex
