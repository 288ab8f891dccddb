#pragma once
// The byte streams BMP files are read from and written to.

#include <cstdint>
#include <vector>

#include "base/Errors.h"

namespace quorvex {

/// A stream could not deliver or take the bytes asked for: "Stream read
/// error" or "Stream write error".
class EDibStreamError : public Exception {
 public:
  using Exception::Exception;
};

/// A seekable stream of bytes.
class DibStream {
 public:
  virtual ~DibStream() = default;

  /// Reads up to `count` bytes; returns how many were read.
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  /// Writes up to `count` bytes; returns how many were written.
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Position() const = 0;
  virtual void SetPosition(std::int64_t position) = 0;
  virtual std::int64_t Size() const = 0;

  /// Bytes between the position and the end (0 past the end).
  std::int64_t Remaining() const;
  /// Reads exactly `count` bytes or raises the read error.
  void ReadBuffer(void* buffer, std::int64_t count);
  /// Writes exactly `count` bytes or raises the write error.
  void WriteBuffer(const void* buffer, std::int64_t count);
  /// Moves `count` bytes forward; raises the read error when fewer remain.
  void Skip(std::int64_t count);
};

/// A stream over a growable block of memory.
class DibMemoryStream : public DibStream {
 public:
  DibMemoryStream() = default;
  explicit DibMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Position() const override { return position_; }
  /// Positions past the end are allowed (a write fills the gap with zeros);
  /// negative ones are not.
  void SetPosition(std::int64_t position) override;
  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::int64_t position_ = 0;
};

}  // namespace quorvex
