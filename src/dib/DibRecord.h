#pragma once
// A DIB as it lies in memory: the 40-byte information header of a BMP file,
// the colour table and the pixel block.

#include <array>
#include <cstdint>

#include "dib/DibMemory.h"
#include "platform/Rle.h"
#include "platform/Palette.h"

namespace quorvex {

/// Compression codes of the information header.
inline constexpr std::uint32_t kCompressionNone = 0;
inline constexpr std::uint32_t kCompressionRle8 = 1;
inline constexpr std::uint32_t kCompressionRle4 = 2;
inline constexpr std::uint32_t kCompressionBitFields = 3;

/// Pixels per metre of 96 dots per inch, the resolution of a DIB that gives none.
inline constexpr std::int32_t kDefaultResolution = 3780;

/// Colour-table entries a DIB keeps.
inline constexpr int kMaxDibColors = 256;
/// Stored entries: the colour table plus the three bit-field masks that
/// come before it in a file with mask compression.
inline constexpr int kColorTableStorage = kMaxDibColors + 3;

/// The BMP information header (BITMAPINFOHEADER).
struct BitmapInfoHeader {
  std::uint32_t Size = 40;
  std::int32_t Width = 0;
  std::int32_t Height = 0;  ///< negative: rows stored top-down
  std::uint16_t Planes = 1;
  std::uint16_t BitCount = 0;
  std::uint32_t Compression = kCompressionNone;
  std::uint32_t SizeImage = 0;
  std::int32_t XPelsPerMeter = 0;
  std::int32_t YPelsPerMeter = 0;
  std::uint32_t ClrUsed = 0;
  std::uint32_t ClrImportant = 0;
};

/// The colour-table entries a bit count implies: 2, 16, 256, else 0.
std::uint32_t ColorsForBitCount(int bitCount);

/// The pixel formats of a DIB: the six it stores and the two halftone
/// targets of a conversion.
enum class DibPixelFormat {
  Bit1 = 0,        ///< 1 bit per pixel
  Bit4 = 1,        ///< 4 bits per pixel
  Bit4Rle = 2,     ///< 4-bit run-length (compression 2)
  Bit8 = 3,        ///< 8 bits per pixel
  Bit8Rle = 4,     ///< 8-bit run-length (compression 1)
  Bit24 = 5,       ///< 24 bits per pixel
  Halftone = 6,    ///< target only: 8 bits with the 215-colour halftone table
  HalftoneBW = 7,  ///< target only: 1 bit, black and white by error diffusion
};

/// The pixel format of a header; a bit count and compression the DIB does
/// not store raise EVxDIBInvalidDIB ("TVxInternalDIB.GetPixelFormat: Invalid
/// DIB(8Bit)" and the like).
DibPixelFormat PixelFormatOf(const BitmapInfoHeader& header);

/// A DIB record. Copies (WithNewBits) take the header and colour table and
/// get a pixel block of their own.
struct DibRecord {
  BitmapInfoHeader Header;
  std::array<RgbQuad, kColorTableStorage> Colors{};
  PixelBlock Bits;

  /// Byte length of the pixel block.
  std::uint32_t BitsSize() const { return Bits.Size(); }
  /// Number of rows (the header's height without its sign).
  std::int64_t Rows() const { return Header.Height < 0 ? -std::int64_t{Header.Height} : Header.Height; }
  /// Bytes of one uncompressed row.
  std::int64_t RowBytes() const { return DibRowBytes(Header.Width, Header.BitCount); }
  /// True when the pixel block holds every uncompressed row.
  bool HoldsAllRows() const;

  /// A record with this header and colour table and a new zeroed pixel block.
  DibRecord WithNewBits(std::int64_t size, bool useMapping) const;
};

}  // namespace quorvex
