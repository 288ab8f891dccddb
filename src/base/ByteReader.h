#pragma once
// A read cursor over bytes held in memory. Every read checks the bounds
// first and throws EReadPastEnd instead of reading beyond the data, so a
// reader of file data can be written as a plain sequence of reads.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/Errors.h"

namespace quorvex {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  /// Offset of the next byte to read.
  std::size_t Position() const { return position_; }
  std::size_t Size() const { return bytes_.size(); }
  std::size_t Remaining() const { return bytes_.size() - position_; }
  bool AtEnd() const { return position_ >= bytes_.size(); }

  /// Moves to `offset` (the end itself is allowed); past the end throws.
  void Seek(std::uint64_t offset) {
    if (offset > bytes_.size()) PastEnd();
    position_ = static_cast<std::size_t>(offset);
  }
  /// Steps over `count` bytes the data must hold.
  void Skip(std::uint64_t count) { Bytes(count); }

  std::uint8_t U8() { return Bytes(1)[0]; }
  std::uint16_t U16LE() {
    auto b = Bytes(2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
  }
  std::uint32_t U32LE() {
    auto b = Bytes(4);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  }
  std::uint32_t U32BE() {
    auto b = Bytes(4);
    return (static_cast<std::uint32_t>(b[0]) << 24) | (b[1] << 16) | (b[2] << 8) | b[3];
  }
  std::int16_t I16LE() { return static_cast<std::int16_t>(U16LE()); }
  std::int32_t I32LE() { return static_cast<std::int32_t>(U32LE()); }
  float F32LE() { return std::bit_cast<float>(U32LE()); }

  /// The next `count` bytes, stepped over.
  std::span<const std::uint8_t> Bytes(std::uint64_t count) {
    if (count > Remaining()) PastEnd();
    auto part = bytes_.subspan(position_, static_cast<std::size_t>(count));
    position_ += static_cast<std::size_t>(count);
    return part;
  }
  /// Everything from the position to the end, not stepped over.
  std::span<const std::uint8_t> Rest() const { return bytes_.subspan(position_); }
  /// A reader limited to the next `count` bytes, which are stepped over here.
  ByteReader Sub(std::uint64_t count) { return ByteReader(Bytes(count)); }

 private:
  [[noreturn]] static void PastEnd() { throw EReadPastEnd("Read past the end of the data"); }

  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

}  // namespace quorvex
