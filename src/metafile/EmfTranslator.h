#pragma once
// The translation of an enhanced metafile into Windows metafile records:
// the translator's state, shared by the files that translate each group
// of records (EmfToWmf.cpp, EmfFigures.cpp, EmfObjects.cpp,
// EmfPictures.cpp, EmfText.cpp).

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "metafile/Coverage.h"
#include "base/ByteReader.h"
#include "metafile/PageMapping.h"
#include "metafile/WmfWriter.h"

namespace quorvex {

/// An affine transform: x' = x M11 + y M21 + Dx, y' = x M12 + y M22 + Dy.
struct Xform {
  double M11 = 1, M12 = 0, M21 = 0, M22 = 1, Dx = 0, Dy = 0;
};

/// `first` applied, then `then`.
Xform Combine(const Xform& first, const Xform& then);

/// A coordinate rounded into the 16-bit range of Windows metafile records.
std::int16_t ToShort(double v);

/// What SaveDC keeps of the translation's own bookkeeping.
struct EmfState {
  PageMapping Page;
  Xform World;
  bool Clockwise = false;
  double CurrentX = 0, CurrentY = 0;  ///< logical
  int PenSlot = -1, BrushSlot = -1, FontSlot = -1;
  int FontCharset = 1;
  std::uint32_t TextAlign = 0;
};

enum class ObjectKind { Pen, Brush, Font, Palette };

/// An object of the enhanced metafile and the slot it took in the output.
struct EmfObject {
  ObjectKind Kind = ObjectKind::Pen;
  int Slot = 0;
  int Charset = 1;
};

/// One figure of an open path, in output units.
struct PathFigure {
  Figure Points;
  bool Closed = false;
};

class EmfTranslator {
 public:
  explicit EmfTranslator(std::span<const std::uint8_t> emf) : emf_(emf) {}

  /// The placeable metafile; a malformed header or record framing raises EInvalidGraphic.
  std::vector<std::uint8_t> Run();

 private:
  // EmfToWmf.cpp: the header, the mapping, the dispatch, page and state records.
  void ReadHeader();
  void Translate(std::uint32_t type, ByteReader& r, std::span<const std::uint8_t> record);
  bool PageRecord(std::uint32_t type, ByteReader& r);
  bool AttributeRecord(std::uint32_t type, ByteReader& r);
  void RestoreDc(std::int32_t level);
  DPoint Map(double x, double y) const;
  DPoint DeviceToOutput(double x, double y) const;
  double ScaleAlongX() const;
  double ScaleAlongY() const;
  bool AxisAligned() const;

  // EmfFigures.cpp: lines, figures and paths.
  bool FigureRecord(std::uint32_t type, ByteReader& r);
  void PolyRecord(std::uint32_t type, ByteReader& r);
  void PolyPolyRecord(std::uint32_t type, ByteReader& r);
  void LineTo(ByteReader& r);
  void BoxRecord(std::uint16_t function, ByteReader& r);
  void ArcRecord(std::uint32_t type, ByteReader& r);
  void Path(std::uint32_t type);
  std::vector<DPoint> ReadPoints(ByteReader& r, std::uint32_t count, bool small) const;
  Figure MapAll(const std::vector<DPoint>& logical) const;
  Figure Beziers(const std::vector<DPoint>& logical, DPoint start) const;
  void WritePoly(std::uint16_t function, const Figure& points);
  void WritePolyPolygon(const std::vector<Figure>& polygons);
  void AddFigure(const Figure& points, bool closed);
  void LinesTo(const Figure& points);

  // EmfObjects.cpp: the object table.
  bool ObjectRecord(std::uint32_t type, ByteReader& r, std::span<const std::uint8_t> record);
  void CreatePen(std::uint32_t type, ByteReader& r);
  void CreateFont(ByteReader& r);
  void CreatePatternBrush(ByteReader& r, std::span<const std::uint8_t> record);
  void CreatePalette(ByteReader& r);
  void SelectHandle(std::uint32_t handle);
  void SelectSlot(ObjectKind kind, int slot, int charset);
  void AddObject(std::uint32_t handle, ObjectKind kind, int slot, int charset = 1);
  void DeleteHandle(std::uint32_t handle);
  void SelectStock(std::uint32_t index);
  int StockSlot(std::uint32_t index);
  int WritePen(int style, std::int32_t width, std::uint32_t color);
  int WriteBrush(int style, std::uint32_t color, int hatch);
  int WriteFont(std::int32_t height, std::int32_t width, std::int32_t escapement, std::int32_t orientation,
                std::int32_t weight, const std::uint8_t flags[8], const std::string& face);
  /// Runs `draw` with the null pen or the null brush in place of the current one.
  template <class F>
  void WithNull(ObjectKind kind, F draw) {
    out_.SelectObject(StockSlot(kind == ObjectKind::Pen ? 8 : 5));
    draw();
    const int current = kind == ObjectKind::Pen ? state_.PenSlot : state_.BrushSlot;
    out_.SelectObject(current >= 0 ? current : StockSlot(kind == ObjectKind::Pen ? 7 : 0));
  }

  // EmfPictures.cpp: bitmaps, regions and clipping.
  std::optional<std::vector<std::uint8_t>> PackedDib(std::span<const std::uint8_t> record, std::uint32_t offBmi,
                                                     std::uint32_t cbBmi, std::uint32_t offBits,
                                                     std::uint32_t cbBits) const;
  void Blt(ByteReader& r, std::span<const std::uint8_t> record, bool stretch);
  void StretchDiBits(ByteReader& r, std::span<const std::uint8_t> record, bool toDevice);
  void ClipRect(std::uint32_t type, ByteReader& r);
  void ClipRegion(ByteReader& r);
  void PaintRegion(ByteReader& r, std::uint32_t type);

  // EmfText.cpp.
  void TextOut(ByteReader& r, std::span<const std::uint8_t> record, bool wide);

  std::span<const std::uint8_t> emf_;
  WmfWriter out_;
  std::size_t headerSize_ = 0;
  std::int32_t frameWidth_ = 0, frameHeight_ = 0;  ///< hundredths of a millimetre
  double pixelsPerHimX_ = 96 / 2540.0, pixelsPerHimY_ = 96 / 2540.0;
  double originX_ = 0, originY_ = 0;  ///< device pixels at the output's origin
  double unitsPerPixel_ = 1;          ///< output units per device pixel
  EmfState state_;
  std::vector<EmfState> saved_;
  std::map<std::uint32_t, EmfObject> objects_;
  std::map<std::uint32_t, int> stockSlots_;
  std::set<int> pendingDeletes_;
  bool inPath_ = false;
  std::vector<PathFigure> path_;
};

}  // namespace quorvex
