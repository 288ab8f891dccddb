#include "dib/Expansion.h"

#include "dib/PixelRows.h"

namespace quorvex {

namespace {

DibRecord Expand(const DibRecord& source, int fromBits, int toBits, const char* message, bool useMapping) {
  RequireSource(source, fromBits, kCompressionNone, message);
  DibRecord result = ConvertedRecord(source, toBits, useMapping);
  const std::int64_t sourceRowBytes = source.RowBytes();
  const std::int64_t targetRowBytes = result.RowBytes();
  for (std::int64_t y = 0; y < source.Rows(); ++y) {
    const std::uint8_t* in = source.Bits.Data() + y * sourceRowBytes;
    std::uint8_t* out = result.Bits.Data() + y * targetRowBytes;
    for (std::int64_t x = 0; x < source.Header.Width; ++x) {
      const std::uint8_t index = IndexAt(in, fromBits, x);
      if (toBits == 24) {
        const RgbQuad& q = source.Colors[index];
        out[3 * x] = q.Blue;
        out[3 * x + 1] = q.Green;
        out[3 * x + 2] = q.Red;
      } else {
        SetIndexAt(out, toBits, x, index);
      }
    }
  }
  return result;
}

}  // namespace

DibRecord Convert1BitRGBTo4BitRGB(const DibRecord& source, bool useMapping) {
  return Expand(source, 1, 4, "Convert1BitRGBTo4BitRGB: Invalid Bitcount & Compression Combination", useMapping);
}

DibRecord Convert1BitRGBTo8BitRGB(const DibRecord& source, bool useMapping) {
  return Expand(source, 1, 8, "Convert1BitRGBTo8BitRGB: Invalid Bitcount & Compression Combination", useMapping);
}

DibRecord Convert4BitRGBTo8BitRGB(const DibRecord& source, bool useMapping) {
  return Expand(source, 4, 8, "Convert4BitRGBTo8BitRGB: Invalid Bitcount & Compression Combination", useMapping);
}

DibRecord Convert1BitRGBToTrueColor(const DibRecord& source, bool useMapping) {
  return Expand(source, 1, 24, "Convert1BitRGBToTrueColor: Invalid Bitcount & Compression Combination", useMapping);
}

DibRecord Convert4BitRGBToTrueColor(const DibRecord& source, bool useMapping) {
  return Expand(source, 4, 24, "Convert4BitRGBToTrueColor: Invalid Bitcount & Compression Combination", useMapping);
}

DibRecord Convert8BitRGBToTrueColor(const DibRecord& source, bool useMapping) {
  return Expand(source, 8, 24, "Convert8BitRGBToTrueColor: Invalid Bitcount & Compression Combination", useMapping);
}

}  // namespace quorvex
