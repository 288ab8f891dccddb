#include "dib/OneBitReduction.h"

#include "dib/PixelRows.h"

namespace quorvex {

namespace {

bool IsMask(std::uint8_t red, std::uint8_t green, std::uint8_t blue, MaskRgb mask) {
  return red == mask.Red && green == mask.Green && blue == mask.Blue;
}

DibRecord Reduce(const DibRecord& source, int bitCount, const char* message, MaskRgb mask, bool useMapping) {
  RequireSource(source, bitCount, kCompressionNone, message);
  DibRecord result = ConvertedRecord(source, 1, useMapping);
  SetBlackAndWhiteTable(result);
  const std::int64_t sourceRowBytes = source.RowBytes();
  const std::int64_t targetRowBytes = result.RowBytes();
  for (std::int64_t y = 0; y < source.Rows(); ++y) {
    const std::uint8_t* in = source.Bits.Data() + y * sourceRowBytes;
    std::uint8_t* out = result.Bits.Data() + y * targetRowBytes;
    for (std::int64_t x = 0; x < source.Header.Width; ++x) {
      bool white;
      if (bitCount == 24) {
        const std::uint8_t* p = in + 3 * x;
        white = IsMask(p[2], p[1], p[0], mask);
      } else {
        const RgbQuad& q = source.Colors[IndexAt(in, bitCount, x)];
        white = IsMask(q.Red, q.Green, q.Blue, mask);
      }
      if (white) SetIndexAt(out, 1, x, 1);
    }
  }
  return result;
}

}  // namespace

void SetBlackAndWhiteTable(DibRecord& record) {
  record.Colors.fill(RgbQuad{});
  record.Colors[1] = Quad(255, 255, 255);
  record.Header.ClrUsed = 2;
}

DibRecord ConvertTrueColorTo1BitRGB(const DibRecord& source, MaskRgb mask, bool useMapping) {
  return Reduce(source, 24, "ConvertTrueColorTo1BitRGB: Invalid Bitcount", mask, useMapping);
}

DibRecord Convert8BitTo1BitRGB(const DibRecord& source, MaskRgb mask, bool useMapping) {
  return Reduce(source, 8, "Convert8BitTo1BitRGB: Invalid Bitcount or Compression", mask, useMapping);
}

DibRecord Convert4BitRGBTo1BitRGB(const DibRecord& source, MaskRgb mask, bool useMapping) {
  return Reduce(source, 4, "Convert4BitRGBTo1BitRGB: Invalid Bitcount", mask, useMapping);
}

}  // namespace quorvex
