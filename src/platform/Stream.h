#pragma once
// Seekable byte streams as the picture classes read and write them.

#include <cstdint>
#include <vector>

#include "base/Errors.h"

namespace quorvex {

/// A stream operation failed.
class EStreamError : public Exception {
 public:
  using Exception::Exception;
};

/// Fewer bytes than asked for could be read: "Stream read error".
class EReadError : public EStreamError {
 public:
  EReadError() : EStreamError("Stream read error") {}
};

/// Not every byte could be written: "Stream write error".
class EWriteError : public EStreamError {
 public:
  EWriteError() : EStreamError("Stream write error") {}
};

enum class SeekOrigin { Begin, Current, End };

/// A seekable stream of bytes.
class Stream {
 public:
  virtual ~Stream() = default;

  /// Reads up to `count` bytes; returns how many were read.
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  /// Writes up to `count` bytes; returns how many were written.
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  /// Moves the position; returns the new position.
  virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;

  std::int64_t Position() { return Seek(0, SeekOrigin::Current); }
  void SetPosition(std::int64_t position) { Seek(position, SeekOrigin::Begin); }
  /// Total length, the position left where it was.
  virtual std::int64_t Size();

  /// Reads exactly `count` bytes or raises EReadError.
  void ReadBuffer(void* buffer, std::int64_t count);
  /// Writes exactly `count` bytes or raises EWriteError.
  void WriteBuffer(const void* buffer, std::int64_t count);

  /// The stream's whole content when it lies in memory (readers use it in
  /// place); null for other streams.
  virtual const std::uint8_t* Memory() const { return nullptr; }
};

/// A stream over a growable block of memory.
class MemoryStream : public Stream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  /// Positions before the start are refused (EStreamError); past the end are allowed.
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(bytes_.size()); }
  const std::uint8_t* Memory() const override { return bytes_.data(); }

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  void Clear();

 private:
  std::vector<std::uint8_t> bytes_;
  std::int64_t position_ = 0;
};

}  // namespace quorvex
