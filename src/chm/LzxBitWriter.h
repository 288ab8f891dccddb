#pragma once
// The LZX bit stream: bits are packed most significant first into 16-bit
// words, and each word is stored little-endian.

#include <cstdint>
#include <string>

namespace quorvex {

class LzxBitWriter {
 public:
  explicit LzxBitWriter(std::string& out) : out_(out) {}

  /// Appends the low `count` bits of `value` (count <= 24), highest bit first.
  void Write(std::uint32_t value, int count) {
    buffer_ = (buffer_ << count) | (value & ((1u << count) - 1));
    pending_ += count;
    while (pending_ >= 16) {
      pending_ -= 16;
      std::uint32_t word = static_cast<std::uint32_t>(buffer_ >> pending_) & 0xFFFF;
      out_.push_back(static_cast<char>(word & 0xFF));
      out_.push_back(static_cast<char>(word >> 8));
    }
    buffer_ &= (std::uint64_t{1} << pending_) - 1;
  }

  /// Pads with zero bits up to the next 16-bit boundary, so that what follows
  /// starts a fresh bit stream (a decoder starts one for every 32 KiB frame).
  void Align() {
    if (pending_ > 0) Write(0, 16 - pending_);
  }

 private:
  std::string& out_;
  std::uint64_t buffer_ = 0;
  int pending_ = 0;
};

}  // namespace quorvex
