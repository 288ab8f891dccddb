#pragma once
// Builds enhanced metafiles record by record for the translation tests.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/LittleEndianBytes.h"

namespace quorvex::test {

class EmfBuilder {
 public:
  /// A record of 32-bit values after its type and size.
  EmfBuilder& Record(std::uint32_t type, std::initializer_list<std::int64_t> values);
  /// A record whose body (after type and size) is raw bytes, padded to 4.
  EmfBuilder& RecordBytes(std::uint32_t type, const Bytes& body);

  EmfBuilder& SelectObject(std::uint32_t handle) { return Record(37, {handle}); }
  EmfBuilder& CreatePen(std::uint32_t handle, int style, int width, std::uint32_t color) {
    return Record(38, {handle, style, width, 0, color});
  }
  EmfBuilder& CreateBrush(std::uint32_t handle, int style, std::uint32_t color, int hatch = 0) {
    return Record(39, {handle, style, color, hatch});
  }
  EmfBuilder& Rectangle(int l, int t, int r, int b) { return Record(43, {l, t, r, b}); }
  EmfBuilder& Polygon(std::initializer_list<int> xy);
  /// A font (LOGFONTW) of the given height, character set and face.
  EmfBuilder& CreateFont(std::uint32_t handle, int height, int charset, const std::u16string& face);
  /// EMR_EXTTEXTOUTW at x, y, with advances per character when given.
  EmfBuilder& TextOut(int x, int y, const std::u16string& text, const std::vector<int>& dx = {});

  /// The file: the 88-byte header with the frame (hundredths of a
  /// millimetre) and the reference device (pixels and millimetres), the
  /// records and the end record.
  Bytes Build(int frameLeft, int frameTop, int frameRight, int frameBottom, int devicePixelsX = 960,
              int devicePixelsY = 480, int deviceMmX = 254, int deviceMmY = 127) const;

 private:
  Bytes records_;
  std::uint32_t count_ = 0;
};

}  // namespace quorvex::test
