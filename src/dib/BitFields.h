#pragma once
// 16- and 32-bit pixels described by bit masks, widened to 24 bits while a
// BMP picture is read: the DIB model stores 1, 4, 8 and 24 bits only.

#include <cstdint>

#include "dib/DibRecord.h"

namespace quorvex {

/// One channel's mask with the shift that brings it into 128..255.
class ChannelMask {
 public:
  /// `mask` must not be 0.
  explicit ChannelMask(std::uint32_t mask);
  /// The channel of `pixel` scaled to 0..255.
  std::uint8_t Of(std::uint32_t pixel) const;

 private:
  std::uint32_t mask_;
  int shift_ = 0;  ///< right shift when positive, left shift when negative
  std::uint32_t scaled_;
};

/// The red, green and blue masks of a 16- or 32-bit picture.
struct BitFieldMasks {
  ChannelMask Red;
  ChannelMask Green;
  ChannelMask Blue;
};

/// The masks of `record`: with a compression other than 0 the three stored
/// before the colour table (red, green, blue), else 5-5-5 for 16 bits and
/// 8-8-8 for 32 bits. A mask of 0 raises EVxDIBInvalidDIB
/// "TVxInternalDIB.LoadFromStream: Invalid Masks".
BitFieldMasks MasksOf(const DibRecord& record);

/// Bytes of one source row of 16 or 32 bits.
std::int64_t BitFieldRowBytes(std::int32_t width, int bitCount);

/// Widens one row of `width` 16- or 32-bit little-endian pixels to blue,
/// green, red bytes; the row's last 4 bytes are zeroed first (its padding).
void WidenBitFieldRow(const std::uint8_t* source, int bitCount, std::int32_t width, const BitFieldMasks& masks,
                      std::uint8_t* target, std::int64_t targetRowBytes);

/// Turns the header of a widened record into a plain 24-bit one; with mask
/// compression the colour table moves down over the masks.
void FinishWidening(DibRecord& record);

}  // namespace quorvex
