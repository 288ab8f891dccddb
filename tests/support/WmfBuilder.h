#pragma once
// Builds Windows metafiles record by record, so that tests can play small
// pictures and every kind of broken one.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/LittleEndianBytes.h"

namespace quorvex::test {

/// A metafile under construction: records of parameter words or bytes.
class WmfBuilder {
 public:
  /// A record of 16-bit parameter words (in record order).
  WmfBuilder& Record(std::uint16_t function, std::initializer_list<int> words);
  /// A record whose parameters are raw bytes (padded to an even count).
  WmfBuilder& RecordBytes(std::uint16_t function, const Bytes& params);

  WmfBuilder& SetWindowOrg(int x, int y) { return Record(0x020B, {y, x}); }
  WmfBuilder& SetWindowExt(int x, int y) { return Record(0x020C, {y, x}); }
  WmfBuilder& SetViewportOrg(int x, int y) { return Record(0x020D, {y, x}); }
  WmfBuilder& SetViewportExt(int x, int y) { return Record(0x020E, {y, x}); }
  WmfBuilder& SetMapMode(int mode) { return Record(0x0103, {mode}); }
  WmfBuilder& SetBkMode(int mode) { return Record(0x0102, {mode}); }
  WmfBuilder& SetRop2(int rop2) { return Record(0x0104, {rop2}); }
  WmfBuilder& SetPolyFillMode(int mode) { return Record(0x0106, {mode}); }
  WmfBuilder& SetTextAlign(int align) { return Record(0x012E, {align}); }
  /// Colours as 0xBBGGRR (COLORREF).
  WmfBuilder& SetTextColor(std::uint32_t color) { return Record(0x0209, {Lo(color), Hi(color)}); }
  WmfBuilder& SetBkColor(std::uint32_t color) { return Record(0x0201, {Lo(color), Hi(color)}); }
  WmfBuilder& CreatePen(int style, int width, std::uint32_t color) {
    return Record(0x02FA, {style, width, 0, Lo(color), Hi(color)});
  }
  WmfBuilder& CreateBrush(int style, std::uint32_t color, int hatch = 0) {
    return Record(0x02FC, {style, Lo(color), Hi(color), hatch});
  }
  /// A logical font: height, weight, charset and face name bytes.
  WmfBuilder& CreateFont(int height, int charset, const std::string& face, int weight = 400, int escapement = 0);
  WmfBuilder& SelectObject(int index) { return Record(0x012D, {index}); }
  WmfBuilder& DeleteObject(int index) { return Record(0x01F0, {index}); }
  WmfBuilder& SaveDC() { return Record(0x001E, {}); }
  WmfBuilder& RestoreDC(int level) { return Record(0x0127, {level}); }
  WmfBuilder& MoveTo(int x, int y) { return Record(0x0214, {y, x}); }
  WmfBuilder& LineTo(int x, int y) { return Record(0x0213, {y, x}); }
  WmfBuilder& Rectangle(int l, int t, int r, int b) { return Record(0x041B, {b, r, t, l}); }
  WmfBuilder& Ellipse(int l, int t, int r, int b) { return Record(0x0418, {b, r, t, l}); }
  WmfBuilder& IntersectClipRect(int l, int t, int r, int b) { return Record(0x0416, {b, r, t, l}); }
  WmfBuilder& Polygon(std::initializer_list<int> xy);
  WmfBuilder& Polyline(std::initializer_list<int> xy);
  WmfBuilder& TextOut(int x, int y, const std::string& bytes);
  WmfBuilder& ExtTextOut(int x, int y, int options, const std::string& bytes, const std::vector<int>& dx = {});
  /// A StretchDIB record (source copy) of a packed DIB into x, y, w, h.
  WmfBuilder& StretchDib(const Bytes& dib, int x, int y, int w, int h, int srcW, int srcH);

  /// The metafile header, the records and the end record.
  Bytes Records() const;
  /// A placeable metafile: the 22-byte header with the given box and units
  /// per inch, then Records().
  Bytes Placeable(int left, int top, int right, int bottom, int unitsPerInch) const;

  /// Number of object slots written into the header.
  int Objects = 8;

 private:
  static int Lo(std::uint32_t v) { return static_cast<int>(v & 0xFFFF); }
  static int Hi(std::uint32_t v) { return static_cast<int>(v >> 16); }
  Bytes records_;
};

/// A placeable header of 22 bytes with the right checksum.
Bytes PlaceableHeader(int left, int top, int right, int bottom, int unitsPerInch);

}  // namespace quorvex::test
