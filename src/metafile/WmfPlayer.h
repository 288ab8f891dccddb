#pragma once
// Our player of Windows metafile records: it keeps a GDI-like device context
// (objects, mapping, colours, modes, clip, saved states) and draws each
// record onto a raster as GDI would, aliasing off.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "metafile/CharsetText.h"
#include "metafile/Coverage.h"
#include "metafile/CosmeticLine.h"
#include "metafile/GdiState.h"
#include "base/ByteReader.h"
#include "metafile/MetafileFonts.h"
#include "metafile/Raster.h"

namespace quorvex {

struct TextLayout;

/// Where a picture lands: its window (the bounding box, logical units) is
/// mapped onto the device box at X, Y of Width x Height pixels.
struct WmfPlacement {
  double WindowLeft = 0, WindowTop = 0, WindowWidth = 1, WindowHeight = 1;
  double X = 0, Y = 0, Width = 1, Height = 1;
};

/// Size of the metafile header that precedes the records.
inline constexpr std::size_t kMetaHeaderSize = 18;

/// Plays metafile records onto a raster.
class WmfPlayer {
 public:
  WmfPlayer(Raster& raster, const WmfPlacement& placement);

  /// Plays a metafile: its 18-byte header, then the records up to the end
  /// record or the end of the data. A record whose size runs outside the
  /// data, or is below the smallest record, ends the playback; a record whose
  /// parameters are too short for it is skipped; unknown records are skipped.
  void Play(std::span<const std::uint8_t> metafile);

  /// Draws text in the current font as a text record does, from characters
  /// already decoded (`advances`, when given, one per character in logical
  /// units). For tests that compare a record's text with the same text from UTF-8.
  void DrawDecodedText(double x, double y, const std::vector<TextChar>& chars,
                       const std::vector<double>* advances, std::uint16_t options,
                       const std::optional<LogicalRect>& rect);

  /// The device context, for tests that set up a font.
  DcState& State() { return dc_; }

 private:
  void Dispatch(std::uint16_t function, ByteReader& p);

  // Objects (WmfObjects.cpp).
  void AddObject(GdiObject object);
  void SelectObject(std::uint16_t index);
  void DeleteObject(std::uint16_t index);
  void CreatePen(ByteReader& p);
  void CreateBrush(ByteReader& p);
  void CreateFont(ByteReader& p);
  void CreatePalette(ByteReader& p);
  void CreateRegion(ByteReader& p);
  void CreateDibPatternBrush(ByteReader& p);
  void CreatePatternBrush(ByteReader& p);
  void SetPaletteEntries(ByteReader& p);
  void ResizePalette(ByteReader& p);
  const RegionObject* Region(std::uint16_t index) const;
  const BrushObject* Brush(std::uint16_t index) const;

  // Device context (WmfPlayer.cpp).
  void SaveDC();
  void RestoreDC(std::int16_t level);
  void IntersectClip(const LogicalRect& rect, bool exclude);
  void SelectClipRegion(const RegionObject* region);
  void OffsetClip(double dx, double dy);
  Rgb Resolve(ColorRef color) const;

  // Shapes (WmfShapes.cpp).
  void LineTo(double x, double y);
  void Rectangle(const LogicalRect& r);
  void RoundRect(const LogicalRect& r, double cornerWidth, double cornerHeight);
  void Ellipse(const LogicalRect& r);
  enum class ArcKind { Arc, Pie, Chord };
  void ArcFigure(const LogicalRect& r, double xStart, double yStart, double xEnd, double yEnd, ArcKind kind);
  void Polygons(const std::vector<std::vector<IPoint>>& polygons);
  void Polyline(const std::vector<IPoint>& points);
  void FloodFill(double x, double y, ColorRef color, bool surface);
  void FillRegion(const RegionObject& region, const BrushObject& brush);
  void InvertRegion(const RegionObject& region);
  void FrameRegion(const RegionObject& region, const BrushObject& brush, double width, double height);
  std::vector<IPoint> ReadPoints(ByteReader& p, std::size_t count) const;

  // Painting helpers (WmfShapes.cpp).
  bool PenVisible() const { return dc_.Pen.Style != kPsNull; }
  bool PenIsCosmetic() const;
  double PenWidth() const;
  CosmeticPen MakeCosmeticPen() const;
  void StrokeOutline(const std::vector<IPoint>& points, bool closed);
  void FillFigures(const std::vector<Figure>& figures, const BrushObject& brush);
  void PaintCoverage(const Coverage& coverage, const BrushObject& brush, int rop2);
  bool BrushColorAt(const BrushObject& brush, std::int32_t x, std::int32_t y, Rgb& color) const;
  void DeviceBox(const LogicalRect& r, IPoint& topLeft, IPoint& bottomRight) const;

  // Bitmaps (WmfBitmaps.cpp).
  void PatBlt(ByteReader& p);
  void DibBlit(ByteReader& p, std::uint16_t function, bool stretch);
  void StretchDib(ByteReader& p);
  void SetDibitsToDevice(ByteReader& p);
  void BitBlt16(ByteReader& p, std::uint16_t function, bool stretch);
  void Blit(const PixelImage* source, bool monochrome, double sx, double sy, double sw, double sh,
            IPoint d0, IPoint d1, std::uint32_t rop);
  std::optional<PixelImage> ReadDib(std::span<const std::uint8_t> bytes, bool paletteIndexes) const;

  // Text (WmfText.cpp).
  void TextOut(ByteReader& p);
  void ExtTextOut(ByteReader& p);
  void DrawText(double x, double y, std::span<const std::uint8_t> bytes, const std::vector<std::int16_t>* dx,
                std::uint16_t options, const std::optional<LogicalRect>& rect);
  std::optional<TextLayout> LayOutText(double x, double y, const std::vector<TextChar>& chars,
                                              const std::vector<double>* advances, const FontRequest& request);
  void PaintGlyphs(const TextLayout& layout, const std::vector<TextChar>& chars, const FontRequest& request,
                   const std::optional<Figure>& clip);

  Raster& raster_;
  DcState dc_;
  std::vector<DcState> saved_;
  std::vector<GdiObject> objects_;
  FontLibrary fonts_;
};

}  // namespace quorvex
