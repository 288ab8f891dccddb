#pragma once
// Streams for reader and writer tests: one that is not in memory (so readers
// must go through their buffer), and one that refuses writes after a budget.

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Stream.h"

namespace quorvex::test {

/// A stream over bytes that does not offer its memory, like a file.
class PlainStream : public MemoryStream {
 public:
  using MemoryStream::MemoryStream;
  const std::uint8_t* Memory() const override { return nullptr; }
};

/// Accepts `budget` bytes, then writes nothing more (so WriteBuffer raises).
class FailingStream : public MemoryStream {
 public:
  explicit FailingStream(std::int64_t budget) : budget_(budget) {}
  std::int64_t Write(const void* buffer, std::int64_t count) override {
    std::int64_t n = std::min(count, budget_);
    budget_ -= n;
    return MemoryStream::Write(buffer, n);
  }

 private:
  std::int64_t budget_;
};

}  // namespace quorvex::test
