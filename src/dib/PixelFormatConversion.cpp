#include "dib/PixelFormatConversion.h"

#include "base/Errors.h"
#include "dib/Expansion.h"
#include "dib/Halftone.h"
#include "dib/RleConversion.h"

namespace quorvex {

namespace {

constexpr const char* kDispatchError = "TVxIntenalDIB.SetPixelsFormat: PixelFormat Error";

using Format = DibPixelFormat;

bool IsRunLength(Format f) { return f == Format::Bit4Rle || f == Format::Bit8Rle; }

DibRecord Decode(const DibRecord& record, Format format, bool useMapping) {
  return format == Format::Bit4Rle ? Convert4BitRLETo4BitRGB(record, useMapping)
                                   : Convert8BitRLETo8BitRGB(record, useMapping);
}

DibRecord ReduceTrueColor(const DibRecord& source, int bitCount, std::uint8_t quality, const ProgressStep& step,
                          bool useMapping) {
  QV_ASSERT(quality == kLowQuality || quality == kHighQuality, kDispatchError);
  if (bitCount == 8) {
    return quality == kLowQuality ? ConvertTrueColorTo8BitRGBLow(source, useMapping, step)
                                  : ConvertTrueColorTo8BitRGBHigh(source, useMapping, step);
  }
  return quality == kLowQuality ? ConvertTrueColorTo4BitRGBLow(source, useMapping, step)
                                : ConvertTrueColorTo4BitRGBHigh(source, useMapping, step);
}

// Between the four plain formats: 1, 4, 8 and 24 bits.
DibRecord ConvertPlain(const DibRecord& source, Format from, Format to, std::uint8_t quality,
                       const ProgressStep& step, MaskRgb mask, bool useMapping) {
  switch (from) {
    case Format::Bit1:
      if (to == Format::Bit4) return Convert1BitRGBTo4BitRGB(source, useMapping);
      if (to == Format::Bit8) return Convert1BitRGBTo8BitRGB(source, useMapping);
      if (to == Format::Bit24) return Convert1BitRGBToTrueColor(source, useMapping);
      break;
    case Format::Bit4:
      if (to == Format::Bit1) return Convert4BitRGBTo1BitRGB(source, mask, useMapping);
      if (to == Format::Bit8) return Convert4BitRGBTo8BitRGB(source, useMapping);
      if (to == Format::Bit24) return Convert4BitRGBToTrueColor(source, useMapping);
      break;
    case Format::Bit8:
      if (to == Format::Bit1) return Convert8BitTo1BitRGB(source, mask, useMapping);
      if (to == Format::Bit4) return Convert8BitRGBTo4BitRGB(source, useMapping, step);
      if (to == Format::Bit24) return Convert8BitRGBToTrueColor(source, useMapping);
      break;
    case Format::Bit24:
      if (to == Format::Bit1) return ConvertTrueColorTo1BitRGB(source, mask, useMapping);
      if (to == Format::Bit4) return ReduceTrueColor(source, 4, quality, step, useMapping);
      if (to == Format::Bit8) return ReduceTrueColor(source, 8, quality, step, useMapping);
      break;
    default: break;
  }
  QV_ASSERT(false, kDispatchError);
  return {};
}

}  // namespace

DibRecord SetPixelsFormat(const DibRecord& current, DibPixelFormat target, std::uint8_t quality,
                          const ProgressStep& step, MaskRgb mask, bool useMapping) {
  const Format from = PixelFormatOf(current.Header);
  QV_ASSERT(from != target, kDispatchError);

  if (target == Format::Halftone || target == Format::HalftoneBW) {
    auto halftone = [&](const DibRecord& plain) {
      return target == Format::Halftone ? ConvertToHalfTone(plain, useMapping) : ConvertToHalfToneBW(plain, useMapping);
    };
    return IsRunLength(from) ? halftone(Decode(current, from, useMapping)) : halftone(current);
  }
  QV_ASSERT(target >= Format::Bit1 && target <= Format::Bit24, kDispatchError);

  // A run-length source goes through its plain form: decode, then as from there.
  if (IsRunLength(from)) {
    const Format plainFormat = from == Format::Bit4Rle ? Format::Bit4 : Format::Bit8;
    DibRecord plain = Decode(current, from, useMapping);
    if (target == plainFormat) return plain;
    return SetPixelsFormat(plain, target, quality, step, mask, useMapping);
  }
  // A run-length target is its plain form, encoded.
  if (IsRunLength(target)) {
    const bool fourBit = target == Format::Bit4Rle;
    const Format plainFormat = fourBit ? Format::Bit4 : Format::Bit8;
    auto encode = [&](const DibRecord& plain) {
      return fourBit ? Convert4BitRGBTo4BitRLE(plain, useMapping) : Convert8BitRGBTo8BitRLE(plain, useMapping);
    };
    if (from == plainFormat) return encode(current);
    return encode(ConvertPlain(current, from, plainFormat, quality, step, mask, useMapping));
  }
  return ConvertPlain(current, from, target, quality, step, mask, useMapping);
}

}  // namespace quorvex
