#include "dib/DibRecord.h"

#include "dib/DibErrors.h"

namespace quorvex {

std::uint32_t ColorsForBitCount(int bitCount) {
  switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

DibPixelFormat PixelFormatOf(const BitmapInfoHeader& header) {
  const std::uint32_t c = header.Compression;
  switch (header.BitCount) {
    case 1:
      if (c == kCompressionNone) return DibPixelFormat::Bit1;
      throw EVxDIBInvalidDIB("TVxInternalDIB.GetPixelFormat: Invalid DIB(1Bit)");
    case 4:
      if (c == kCompressionNone) return DibPixelFormat::Bit4;
      if (c == kCompressionRle4) return DibPixelFormat::Bit4Rle;
      throw EVxDIBInvalidDIB("TVxInternalDIB.GetPixelFormat: Invalid DIB(4Bit)");
    case 8:
      if (c == kCompressionNone) return DibPixelFormat::Bit8;
      if (c == kCompressionRle8) return DibPixelFormat::Bit8Rle;
      throw EVxDIBInvalidDIB("TVxInternalDIB.GetPixelFormat: Invalid DIB(8Bit)");
    case 24:
      if (c == kCompressionNone) return DibPixelFormat::Bit24;
      throw EVxDIBInvalidDIB("TVxInternalDIB.GetPixelFormat: Invalid DIB(24Bit)");
    default: throw EVxDIBInvalidDIB("TVxInternalDIB.GetPixelFormat: Invalid DIB(Illegal BitCount)");
  }
}

// Compared by division: the product of a file's width and height can pass 64 bits.
bool DibRecord::HoldsAllRows() const {
  const std::int64_t rowBytes = RowBytes();
  return rowBytes > 0 && Rows() <= static_cast<std::int64_t>(BitsSize()) / rowBytes;
}

DibRecord DibRecord::WithNewBits(std::int64_t size, bool useMapping) const {
  DibRecord copy;
  copy.Bits = PixelBlock(size, useMapping);
  copy.Header = Header;
  copy.Colors = Colors;
  return copy;
}

}  // namespace quorvex
