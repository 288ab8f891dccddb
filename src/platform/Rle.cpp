#include "platform/Rle.h"

#include <algorithm>

#include "base/Errors.h"

namespace quorvex {

namespace {

// Writes pixel `x` of one decoded row.
void PutPixel(std::uint8_t* row, std::int64_t x, std::uint8_t value, bool fourBit) {
  if (!fourBit) {
    row[x] = value;
    return;
  }
  std::uint8_t& byte = row[x / 2];
  byte = (x % 2 == 0) ? static_cast<std::uint8_t>((byte & 0x0F) | (value << 4))
                      : static_cast<std::uint8_t>((byte & 0xF0) | (value & 0x0F));
}

// Pixel i of a run or literal: 4-bit codes alternate high and low nibble.
std::uint8_t Nibble(std::uint8_t byte, std::int64_t i) {
  return (i % 2 == 0) ? static_cast<std::uint8_t>(byte >> 4) : static_cast<std::uint8_t>(byte & 0x0F);
}

RleError Decode(std::span<const std::uint8_t> data, std::int32_t width, std::int32_t rows,
                std::span<std::uint8_t> pixels, bool fourBit) {
  const std::int64_t rowBytes = DibRowBytes(width, fourBit ? 4 : 8);
  QV_ASSERT(width > 0 && rows >= 0 && static_cast<std::int64_t>(pixels.size()) >= rowBytes * rows,
            "DecodeRle: Pixel buffer too small");
  // A 4-bit row may be filled up to its last byte, so an odd width counts one more.
  const std::int64_t limitX = fourBit ? (std::int64_t{width} + 1) / 2 * 2 : width;
  std::int64_t x = 0;
  std::int64_t y = 0;
  std::size_t pos = 0;
  auto row = [&] { return pixels.data() + y * rowBytes; };

  while (pos + 2 <= data.size()) {
    const std::uint8_t count = data[pos];
    const std::uint8_t code = data[pos + 1];
    pos += 2;
    if (count > 0) {
      if (x + count > limitX || y >= rows) return RleError::EncodedRun;
      for (std::int64_t i = 0; i < count; ++i) PutPixel(row(), x + i, fourBit ? Nibble(code, i) : code, fourBit);
      x += count;
    } else if (code == 0) {
      if (y + 1 > rows) return RleError::EndOfLine;
      ++y;
      x = 0;
    } else if (code == 1) {
      return RleError::None;
    } else if (code == 2) {
      if (pos + 2 > data.size()) break;
      const std::uint8_t dx = data[pos];
      const std::uint8_t dy = data[pos + 1];
      pos += 2;
      if (x + dx > limitX || y + dy > rows) return RleError::Delta;
      x += dx;
      y += dy;
    } else {
      if (x + code > limitX || y >= rows) return RleError::AbsoluteRun;
      const std::size_t bytes = fourBit ? (code + 1u) / 2 : code;
      if (pos + bytes > data.size()) break;
      for (std::int64_t i = 0; i < code; ++i) {
        PutPixel(row(), x + i, fourBit ? Nibble(data[pos + i / 2], i) : data[pos + i], fourBit);
      }
      x += code;
      pos += bytes + (bytes % 2);  // literals keep the stream on 16-bit boundaries
    }
  }
  return RleError::None;
}

// Collects encoded bytes in the caller's buffer, refusing any code that
// would leave too little room for what must follow it.
class RleOutput {
 public:
  explicit RleOutput(std::span<std::uint8_t> out) : out_(out) {}
  bool Fits(std::size_t need) const { return out_.size() - used_ >= need; }
  void Put(std::uint8_t byte) { out_[used_++] = byte; }
  std::size_t Used() const { return used_; }

  bool EndOfLine() {
    if (!Fits(4)) return false;
    Put(0);
    Put(0);
    return true;
  }
  bool EndOfBitmap() {
    if (!Fits(2)) return false;
    Put(0);
    Put(1);
    return true;
  }

 private:
  std::span<std::uint8_t> out_;
  std::size_t used_ = 0;
};

std::size_t RoundUpToEven(std::size_t n) { return n + (n % 2); }

class Rle8Writer {
 public:
  static constexpr int kMaxUnits = 255;
  explicit Rle8Writer(RleOutput& out) : out_(out) {}

  bool Run(int count, std::uint8_t value) {
    if (!out_.Fits(6)) return false;
    out_.Put(static_cast<std::uint8_t>(count));
    out_.Put(value);
    return true;
  }
  bool Literal(const std::uint8_t* units, int count) {
    QV_ASSERT(count > 0, "Convert8BitRGBTo8BitRLE: WriteAbsolute Error");
    // Counts 1 and 2 after a zero byte are escape codes, so short literals go as runs.
    if (count <= 2) {
      for (int i = 0; i < count; ++i) {
        if (!Run(1, units[i])) return false;
      }
      return true;
    }
    if (!out_.Fits(RoundUpToEven(count) + 6)) return false;
    out_.Put(0);
    out_.Put(static_cast<std::uint8_t>(count));
    for (int i = 0; i < count; ++i) out_.Put(units[i]);
    if (count % 2 != 0) out_.Put(0);
    return true;
  }
  bool EndOfLine() { return out_.EndOfLine(); }

 private:
  RleOutput& out_;
};

// Units are bytes of two pixels; the counts written are pixels, cut at the
// row's width so that an odd width's padding nibble is never counted.
class Rle4Writer {
 public:
  static constexpr int kMaxUnits = 127;
  Rle4Writer(RleOutput& out, std::int32_t width) : out_(out), width_(width) {}

  bool Run(int count, std::uint8_t value) {
    if (!out_.Fits(6)) return false;
    out_.Put(TakePixels(count));
    out_.Put(value);
    return true;
  }
  bool Literal(const std::uint8_t* units, int count) {
    QV_ASSERT(count > 0, "Convert4BitRGBTo4BitRLE: WriteAbsolute Error");
    if (count == 1) return Run(1, units[0]);
    if (!out_.Fits(RoundUpToEven(count) + 6)) return false;
    out_.Put(0);
    out_.Put(TakePixels(count));
    for (int i = 0; i < count; ++i) out_.Put(units[i]);
    if (count % 2 != 0) out_.Put(0);
    return true;
  }
  bool EndOfLine() {
    emitted_ = 0;
    return out_.EndOfLine();
  }

 private:
  std::uint8_t TakePixels(int units) {
    std::int64_t pixels = std::min<std::int64_t>(2 * units, width_ - emitted_);
    emitted_ += pixels;
    return static_cast<std::uint8_t>(pixels);
  }

  RleOutput& out_;
  std::int32_t width_;
  std::int64_t emitted_ = 0;
};

// Scans one row: a pending single unit, a run of equal units or a literal of
// units each differing from the one before.
template <class Writer>
bool EncodeRow(const std::uint8_t* units, std::int64_t count, Writer& writer) {
  enum class State { Start, Single, Run, Literal };
  State state = State::Start;
  std::uint8_t value = 0;
  int runLength = 0;
  std::int64_t literalStart = 0;
  int literalLength = 0;

  for (std::int64_t i = 0; i < count; ++i) {
    const std::uint8_t unit = units[i];
    switch (state) {
      case State::Start:
        value = unit;
        state = State::Single;
        break;
      case State::Single:
        if (unit == value) {
          runLength = 2;
          state = State::Run;
        } else {
          literalStart = i - 1;
          literalLength = 2;
          state = State::Literal;
        }
        break;
      case State::Run:
        if (unit == value && runLength < Writer::kMaxUnits) {
          ++runLength;
        } else {
          if (!writer.Run(runLength, value)) return false;
          value = unit;
          state = State::Single;
        }
        break;
      case State::Literal: {
        const std::uint8_t last = units[literalStart + literalLength - 1];
        if (unit != last && literalLength < Writer::kMaxUnits) {
          ++literalLength;
        } else if (unit == last) {
          // The literal's last unit starts a run with this one.
          if (!writer.Literal(units + literalStart, literalLength - 1)) return false;
          value = unit;
          runLength = 2;
          state = State::Run;
        } else {
          if (!writer.Literal(units + literalStart, literalLength)) return false;
          value = unit;
          state = State::Single;
        }
        break;
      }
    }
  }
  bool written = true;
  switch (state) {
    case State::Start: break;
    case State::Single: written = writer.Run(1, value); break;
    case State::Run: written = writer.Run(runLength, value); break;
    case State::Literal: written = writer.Literal(units + literalStart, literalLength); break;
  }
  return written && writer.EndOfLine();
}

template <class Writer>
std::int64_t Encode(std::span<const std::uint8_t> pixels, std::int32_t width, std::int32_t height, int bitCount,
                    Writer& writer, RleOutput& output) {
  const std::int64_t rowBytes = DibRowBytes(width, bitCount);
  const std::int64_t rows = height < 0 ? -std::int64_t{height} : height;
  QV_ASSERT(width > 0 && static_cast<std::int64_t>(pixels.size()) >= rowBytes * rows,
            "EncodeRle: Pixel buffer too small");
  const std::int64_t units = bitCount == 8 ? width : (std::int64_t{width} + 1) / 2;
  // Run-length data always starts with the bottom row.
  for (std::int64_t r = 0; r < rows; ++r) {
    const std::int64_t memoryRow = height < 0 ? rows - 1 - r : r;
    if (!EncodeRow(pixels.data() + memoryRow * rowBytes, units, writer)) return -1;
  }
  if (!output.EndOfBitmap()) return -1;
  return static_cast<std::int64_t>(output.Used());
}

}  // namespace

std::int64_t DibRowBytes(std::int64_t width, int bitCount) { return (width * bitCount + 31) / 32 * 4; }

RleError DecodeRle8(std::span<const std::uint8_t> data, std::int32_t width, std::int32_t rows,
                    std::span<std::uint8_t> pixels) {
  return Decode(data, width, rows, pixels, false);
}

RleError DecodeRle4(std::span<const std::uint8_t> data, std::int32_t width, std::int32_t rows,
                    std::span<std::uint8_t> pixels) {
  return Decode(data, width, rows, pixels, true);
}

std::int64_t EncodeRle8(std::span<const std::uint8_t> pixels, std::int32_t width, std::int32_t height,
                        std::span<std::uint8_t> out) {
  RleOutput output(out);
  Rle8Writer writer(output);
  return Encode(pixels, width, height, 8, writer, output);
}

std::int64_t EncodeRle4(std::span<const std::uint8_t> pixels, std::int32_t width, std::int32_t height,
                        std::span<std::uint8_t> out) {
  RleOutput output(out);
  Rle4Writer writer(output, width);
  return Encode(pixels, width, height, 4, writer, output);
}

}  // namespace quorvex
