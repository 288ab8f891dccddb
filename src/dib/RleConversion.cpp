#include "dib/RleConversion.h"

#include <cstring>
#include <string>
#include <vector>

#include "dib/PixelRows.h"
#include "platform/Rle.h"

namespace quorvex {

namespace {

// The decoders number their checks 1-4 (8 bits) and 5-8 (4 bits).
int CheckNumber(RleError error) {
  switch (error) {
    case RleError::EndOfLine: return 1;
    case RleError::Delta: return 2;
    case RleError::AbsoluteRun: return 3;
    case RleError::EncodedRun: return 4;
    case RleError::None: break;
  }
  return 0;
}

DibRecord Decode(const DibRecord& source, bool fourBit, bool useMapping) {
  const int bits = fourBit ? 4 : 8;
  const char* name = fourBit ? "Convert4BitRLETo4BitRGB" : "Convert8BitRLETo8BitRGB";
  RequireSource(source, bits, fourBit ? kCompressionRle4 : kCompressionRle8,
                fourBit ? "Convert4BitRLETo4BitRGB: Invalid Bitcount & Compression Combination"
                        : "Convert8BitRLETo8BitRGB: Invalid Bitcount & Compression Combination");
  DibRecord result = ConvertedRecord(source, bits, useMapping);
  const auto rows = static_cast<std::int32_t>(source.Rows());
  const RleError error = fourBit ? DecodeRle4(source.Bits.Bytes(), source.Header.Width, rows, result.Bits.Bytes())
                                 : DecodeRle8(source.Bits.Bytes(), source.Header.Width, rows, result.Bits.Bytes());
  if (error != RleError::None) {
    const int number = CheckNumber(error) + (fourBit ? 4 : 0);
    throw EVxDIBInvalidDIB(std::string(name) + ": Bad RLE Data " + std::to_string(number));
  }
  return result;
}

DibRecord Encode(const DibRecord& source, bool fourBit, bool useMapping) {
  const int bits = fourBit ? 4 : 8;
  RequireSource(source, bits, kCompressionNone,
                fourBit ? "Convert4BitRGBTo4BitRLE: Invalid Bitcount & Compression Combination"
                        : "Convert8BitRGBTo8BitRLE: Invalid Bitcount & Compression Combination");
  // Encoded data may never need more room than the plain rows.
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(source.RowBytes() * source.Rows()));
  const std::int64_t length = fourBit ? EncodeRle4(source.Bits.Bytes(), source.Header.Width, source.Header.Height, buffer)
                                      : EncodeRle8(source.Bits.Bytes(), source.Header.Width, source.Header.Height, buffer);
  if (length < 0) {
    throw EVxDIBCompressionFailed(fourBit ? "Convert4BitRGBTo4BitRLE: Compression Failed"
                                          : "Convert8BitRGBTo8BitRLE: Compression Failed");
  }
  DibRecord result = source.WithNewBits(length, useMapping);
  if (length > 0) std::memcpy(result.Bits.Data(), buffer.data(), static_cast<std::size_t>(length));
  result.Header.Compression = fourBit ? kCompressionRle4 : kCompressionRle8;
  result.Header.SizeImage = static_cast<std::uint32_t>(length);
  // The encoder wrote the bottom row first, whatever the source's order.
  result.Header.Height = static_cast<std::int32_t>(source.Rows());
  return result;
}

}  // namespace

DibRecord Convert8BitRLETo8BitRGB(const DibRecord& source, bool useMapping) { return Decode(source, false, useMapping); }
DibRecord Convert4BitRLETo4BitRGB(const DibRecord& source, bool useMapping) { return Decode(source, true, useMapping); }
DibRecord Convert8BitRGBTo8BitRLE(const DibRecord& source, bool useMapping) { return Encode(source, false, useMapping); }
DibRecord Convert4BitRGBTo4BitRLE(const DibRecord& source, bool useMapping) { return Encode(source, true, useMapping); }

}  // namespace quorvex
