#include "dib/Halftone.h"

#include <algorithm>
#include <vector>

#include "dib/OneBitReduction.h"
#include "dib/PixelRows.h"

namespace quorvex {

namespace {

constexpr std::array<std::uint8_t, 6> kRedLevels = {0, 51, 102, 153, 204, 255};
constexpr std::array<std::uint8_t, 7> kGreenLevels = {0, 43, 85, 128, 171, 214, 255};
constexpr std::array<std::uint8_t, 5> kBlueLevels = {0, 64, 128, 192, 255};

// The last value of each level but the top one.
constexpr std::array<int, 5> kRedBounds = {25, 76, 127, 178, 230};
constexpr std::array<int, 6> kGreenBounds = {21, 63, 106, 149, 192, 233};
constexpr std::array<int, 4> kBlueBounds = {31, 95, 159, 223};

template <std::size_t N>
int LevelOf(int value, const std::array<int, N>& bounds) {
  int level = 0;
  while (level < static_cast<int>(N) && value > bounds[level]) ++level;
  return level;
}

struct Rgb {
  int Red = 0, Green = 0, Blue = 0;
};

struct Error {
  std::int16_t Red = 0, Green = 0, Blue = 0;
};

Rgb SourceColor(const DibRecord& source, const std::uint8_t* row, std::int64_t x) {
  if (source.Header.BitCount == 24) return {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
  const RgbQuad& q = source.Colors[IndexAt(row, source.Header.BitCount, x)];
  return {q.Red, q.Green, q.Blue};
}

void RequireHalftoneSource(const DibRecord& source, const char* formatMessage, const char* bitCountMessage) {
  QV_ASSERT(source.Header.Compression == kCompressionNone, formatMessage);
  const int bits = source.Header.BitCount;
  QV_ASSERT(bits == 1 || bits == 4 || bits == 8 || bits == 24, bitCountMessage);
  QV_ASSERT(source.HoldsAllRows(), "DIB pixel block shorter than its rows");
}

// The serpentine diffusion both halftones share. `decide` turns a corrected
// colour into the pixel it writes and the errors it leaves.
template <class Decide>
void Diffuse(const DibRecord& source, DibRecord& result, Decide decide) {
  const std::int64_t width = source.Header.Width;
  // Entry x + 1 belongs to pixel x; the entries at both ends stay 0.
  std::vector<Error> above(static_cast<std::size_t>(width + 2)), current(static_cast<std::size_t>(width + 2));
  const std::int64_t sourceRowBytes = source.RowBytes();
  const std::int64_t targetRowBytes = result.RowBytes();
  for (std::int64_t y = 0; y < source.Rows(); ++y) {
    above = current;
    const std::uint8_t* in = source.Bits.Data() + y * sourceRowBytes;
    std::uint8_t* out = result.Bits.Data() + y * targetRowBytes;
    const bool leftToRight = y % 2 == 0;
    Error before;
    for (std::int64_t i = 0; i < width; ++i) {
      const std::int64_t x = leftToRight ? i : width - 1 - i;
      const Error& up = above[x + 1];
      const Error& diagonal = above[leftToRight ? x : x + 2];
      auto corrected = [&](int channel, std::int16_t Error::*field) {
        const int sum = 12 * up.*field + 12 * before.*field + 5 * diagonal.*field;
        return channel - sum / 32;  // truncated toward zero
      };
      const Rgb color = SourceColor(source, in, x);
      const Rgb value{corrected(color.Red, &Error::Red), corrected(color.Green, &Error::Green),
                      corrected(color.Blue, &Error::Blue)};
      before = decide(value, out, x);
      current[x + 1] = before;
    }
  }
}

std::int16_t ErrorOf(int target, int value) { return static_cast<std::int16_t>(target - value); }

}  // namespace

const std::array<RgbQuad, kHalftoneColors>& HalftoneColorTable() {
  static const std::array<RgbQuad, kHalftoneColors> table = [] {
    std::array<RgbQuad, kHalftoneColors> t{};
    for (int r = 0; r < 6; ++r) {
      for (int g = 0; g < 7; ++g) {
        for (int b = 0; b < 5; ++b) t[r * 35 + g * 5 + b] = Quad(kRedLevels[r], kGreenLevels[g], kBlueLevels[b]);
      }
    }
    t[210] = Quad(128, 0, 0);
    t[211] = Quad(128, 128, 0);
    t[212] = Quad(128, 0, 128);
    t[213] = Quad(192, 192, 192);
    t[214] = Quad(128, 128, 128);
    return t;
  }();
  return table;
}

DibRecord ConvertToHalfTone(const DibRecord& source, bool useMapping) {
  RequireHalftoneSource(source, "ConvertToHalfTone: Invalid DIB Format", "ConvertToHalfTone: Invalid Bit Count");
  DibRecord result = ConvertedRecord(source, 8, useMapping);
  result.Colors.fill(RgbQuad{});
  std::copy(HalftoneColorTable().begin(), HalftoneColorTable().end(), result.Colors.begin());
  result.Header.ClrUsed = kHalftoneColors;
  Diffuse(source, result, [](const Rgb& value, std::uint8_t* out, std::int64_t x) {
    const int r = LevelOf(value.Red, kRedBounds);
    const int g = LevelOf(value.Green, kGreenBounds);
    const int b = LevelOf(value.Blue, kBlueBounds);
    out[x] = static_cast<std::uint8_t>(r * 35 + g * 5 + b);
    return Error{ErrorOf(kRedLevels[r], value.Red), ErrorOf(kGreenLevels[g], value.Green),
                 ErrorOf(kBlueLevels[b], value.Blue)};
  });
  return result;
}

DibRecord ConvertToHalfToneBW(const DibRecord& source, bool useMapping) {
  RequireHalftoneSource(source, "ConvertToHalfToneBW: Invalid DIB Format", "ConvertToHalfToneBW: Invalid Bit Count");
  DibRecord result = ConvertedRecord(source, 1, useMapping);
  SetBlackAndWhiteTable(result);
  Diffuse(source, result, [](const Rgb& value, std::uint8_t* out, std::int64_t x) {
    const bool white = value.Red + value.Green + value.Blue >= 384;
    if (white) SetIndexAt(out, 1, x, 1);
    const int target = white ? 255 : 0;
    return Error{ErrorOf(target, value.Red), ErrorOf(target, value.Green), ErrorOf(target, value.Blue)};
  });
  return result;
}

}  // namespace quorvex
