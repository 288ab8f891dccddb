#pragma once
// Small helpers the pixel-format converters share: reading and writing
// palette indexes in packed rows, and the result record of a conversion.

#include <cstdint>

#include "base/Errors.h"
#include "dib/DibErrors.h"
#include "dib/DibRecord.h"

namespace quorvex {

/// The palette index of pixel `x` of a 1-, 4- or 8-bit row (1 bit: bit 7 of
/// the first byte is the leftmost pixel; 4 bits: high nibble first).
inline std::uint8_t IndexAt(const std::uint8_t* row, int bitCount, std::int64_t x) {
  switch (bitCount) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    default: return row[x];
  }
}

/// Stores palette index `value` as pixel `x` of a 1-, 4- or 8-bit row.
inline void SetIndexAt(std::uint8_t* row, int bitCount, std::int64_t x, std::uint8_t value) {
  switch (bitCount) {
    case 1: {
      const auto mask = static_cast<std::uint8_t>(0x80 >> (x % 8));
      row[x / 8] = static_cast<std::uint8_t>((value & 1) ? (row[x / 8] | mask) : (row[x / 8] & ~mask));
      return;
    }
    case 4: {
      std::uint8_t& b = row[x / 2];
      b = (x % 2 == 0) ? static_cast<std::uint8_t>((b & 0x0F) | (value << 4))
                       : static_cast<std::uint8_t>((b & 0xF0) | (value & 0x0F));
      return;
    }
    default: row[x] = value;
  }
}

/// Raises EVxDIBBadDIBType with `message` unless `source` has the bit count
/// and compression a converter reads. A pixel block shorter than the rows
/// it claims is a broken invariant: readers and converters never make one.
inline void RequireSource(const DibRecord& source, int bitCount, std::uint32_t compression, const char* message) {
  if (source.Header.BitCount != bitCount || source.Header.Compression != compression) throw EVxDIBBadDIBType(message);
  QV_ASSERT(compression != kCompressionNone || source.HoldsAllRows(), "DIB pixel block shorter than its rows");
}

/// The result of converting `source` to `bitCount` uncompressed bits: the
/// source's header and colour table with a new zeroed pixel block.
inline DibRecord ConvertedRecord(const DibRecord& source, int bitCount, bool useMapping) {
  DibRecord result = source.WithNewBits(PixelBlockSize(DibRowBytes(source.Header.Width, bitCount), source.Rows()), useMapping);
  result.Header.BitCount = static_cast<std::uint16_t>(bitCount);
  result.Header.Compression = kCompressionNone;
  result.Header.SizeImage = 0;
  return result;
}

/// A colour-table entry with the given red, green and blue.
inline RgbQuad Quad(std::uint8_t red, std::uint8_t green, std::uint8_t blue) { return {blue, green, red, 0}; }

}  // namespace quorvex
