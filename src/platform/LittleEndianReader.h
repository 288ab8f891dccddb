#pragma once
// A cursor over little-endian binary data that refuses to read past its end,
// for the metafile records and the bitmaps they carry.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/Errors.h"

namespace quorvex {

/// Reads little-endian values from a byte span; any read past the end raises
/// EReadPastEnd and leaves the position where it was.
class LittleEndianReader {
 public:
  explicit LittleEndianReader(std::span<const std::uint8_t> data) : data_(data) {}

  std::size_t Position() const { return pos_; }
  std::size_t Size() const { return data_.size(); }
  std::size_t Remaining() const { return data_.size() - pos_; }

  /// Moves to `position` (at most the end).
  void Seek(std::size_t position) {
    Need(position, 0);
    pos_ = position;
  }
  void Skip(std::size_t count) {
    Need(pos_, count);
    pos_ += count;
  }

  std::uint8_t U8() {
    Need(pos_, 1);
    return data_[pos_++];
  }
  std::uint16_t U16() {
    Need(pos_, 2);
    std::uint16_t v = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::uint32_t U32() {
    Need(pos_, 4);
    std::uint32_t v = static_cast<std::uint32_t>(data_[pos_]) | (static_cast<std::uint32_t>(data_[pos_ + 1]) << 8) |
                      (static_cast<std::uint32_t>(data_[pos_ + 2]) << 16) |
                      (static_cast<std::uint32_t>(data_[pos_ + 3]) << 24);
    pos_ += 4;
    return v;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  float F32() { return std::bit_cast<float>(U32()); }

  /// The next `count` bytes, consumed.
  std::span<const std::uint8_t> Bytes(std::size_t count) {
    Need(pos_, count);
    std::span<const std::uint8_t> out = data_.subspan(pos_, count);
    pos_ += count;
    return out;
  }
  /// Everything from the position to the end, not consumed.
  std::span<const std::uint8_t> Rest() const { return data_.subspan(pos_); }

 private:
  void Need(std::size_t from, std::size_t count) const {
    if (from > data_.size() || count > data_.size() - from) throw EReadPastEnd("Read past the end of the data");
  }

  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
};

}  // namespace quorvex
