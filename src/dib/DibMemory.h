#pragma once
// The memory behind a DIB's pixels.

#include <cstdint>
#include <span>

namespace quorvex {

/// Largest pixel block a DIB allocates; larger requests fail as the platform
/// fails when it runs out of memory.
inline constexpr std::int64_t kMaxDibBytes = std::int64_t{1} << 30;

/// rows x rowBytes, or -1 (a size no block can have) when it passes
/// kMaxDibBytes; computed without overflow for any 64-bit factors >= 0.
inline std::int64_t PixelBlockSize(std::int64_t rowBytes, std::int64_t rows) {
  if (rowBytes > 0 && rows > kMaxDibBytes / rowBytes) return -1;
  return rowBytes * rows;
}

/// A DIB's pixel block: zero-filled bytes either on the heap or in an
/// anonymous shared memory mapping, which a canvas can draw through. Owns its
/// memory; moves, never copies.
class PixelBlock {
 public:
  /// No memory.
  PixelBlock() = default;
  /// Gets `size` zeroed bytes, in a mapping when `useMapping` is set. A
  /// mapping that cannot be made raises EOutOfResources ("GetMemory: Cannot
  /// Make File Mapping Object", or "GetMemory: Cannot Make View of File Map"
  /// when it cannot be mapped); heap memory that cannot be had raises
  /// EOutOfMemory. Sizes below 0 or above kMaxDibBytes cannot be had.
  PixelBlock(std::int64_t size, bool useMapping);
  ~PixelBlock();
  PixelBlock(PixelBlock&& other) noexcept;
  PixelBlock& operator=(PixelBlock&& other) noexcept;
  PixelBlock(const PixelBlock&) = delete;
  PixelBlock& operator=(const PixelBlock&) = delete;

  std::uint8_t* Data() { return data_; }
  const std::uint8_t* Data() const { return data_; }
  /// Length of the block in bytes (BitsSize).
  std::uint32_t Size() const { return size_; }
  std::span<std::uint8_t> Bytes() { return {data_, size_}; }
  std::span<const std::uint8_t> Bytes() const { return {data_, size_}; }
  bool UsesMapping() const { return mapping_ >= 0; }
  /// The descriptor of the mapping (-1 for heap memory).
  int MappingHandle() const { return mapping_; }

 private:
  void Release() noexcept;

  std::uint8_t* data_ = nullptr;
  std::uint32_t size_ = 0;
  std::size_t mappedLength_ = 0;
  int mapping_ = -1;
};

}  // namespace quorvex
