#include "dib/BitFields.h"

#include <algorithm>
#include <cstring>

#include "dib/DibErrors.h"

namespace quorvex {

namespace {

std::uint32_t StoredMask(const DibRecord& record, int i) {
  const RgbQuad& q = record.Colors[i];
  return q.Blue | (q.Green << 8) | (q.Red << 16) | (static_cast<std::uint32_t>(q.Reserved) << 24);
}

ChannelMask CheckedMask(std::uint32_t mask) {
  if (mask == 0) throw EVxDIBInvalidDIB("TVxInternalDIB.LoadFromStream: Invalid Masks");
  return ChannelMask(mask);
}

}  // namespace

ChannelMask::ChannelMask(std::uint32_t mask) : mask_(mask), scaled_(mask) {
  while (scaled_ >= 256) {
    scaled_ >>= 1;
    ++shift_;
  }
  while (scaled_ < 128) {
    scaled_ <<= 1;
    --shift_;
  }
}

std::uint8_t ChannelMask::Of(std::uint32_t pixel) const {
  const std::uint32_t bits = pixel & mask_;
  const std::uint32_t moved = shift_ >= 0 ? bits >> shift_ : bits << -shift_;
  // moved never exceeds scaled_, so the result stays within 0..255.
  return static_cast<std::uint8_t>(moved * 255 / scaled_);
}

BitFieldMasks MasksOf(const DibRecord& record) {
  std::uint32_t red, green, blue;
  if (record.Header.Compression != kCompressionNone) {
    red = StoredMask(record, 0);
    green = StoredMask(record, 1);
    blue = StoredMask(record, 2);
  } else if (record.Header.BitCount == 16) {
    red = 0x7C00, green = 0x03E0, blue = 0x001F;
  } else {
    red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
  }
  // Checked in this order so that every mask is looked at before any is used.
  ChannelMask r = CheckedMask(red), g = CheckedMask(green), b = CheckedMask(blue);
  return {r, g, b};
}

std::int64_t BitFieldRowBytes(std::int32_t width, int bitCount) { return DibRowBytes(width, bitCount); }

void WidenBitFieldRow(const std::uint8_t* source, int bitCount, std::int32_t width, const BitFieldMasks& masks,
                      std::uint8_t* target, std::int64_t targetRowBytes) {
  std::memset(target + targetRowBytes - 4, 0, 4);
  for (std::int64_t x = 0; x < width; ++x) {
    std::uint32_t pixel;
    if (bitCount == 16) {
      const std::uint8_t* p = source + 2 * x;
      pixel = p[0] | (p[1] << 8);
    } else {
      const std::uint8_t* p = source + 4 * x;
      pixel = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    std::uint8_t* out = target + 3 * x;
    out[0] = masks.Blue.Of(pixel);
    out[1] = masks.Green.Of(pixel);
    out[2] = masks.Red.Of(pixel);
  }
}

void FinishWidening(DibRecord& record) {
  if (record.Header.Compression == kCompressionBitFields) {
    std::copy(record.Colors.begin() + 3, record.Colors.end(), record.Colors.begin());
    std::fill(record.Colors.end() - 3, record.Colors.end(), RgbQuad{});
  }
  record.Header.Compression = kCompressionNone;
  record.Header.BitCount = 24;
  record.Header.SizeImage = 0;
}

}  // namespace quorvex
