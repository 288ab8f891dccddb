#include "dib/DibMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/ResourceErrors.h"

namespace quorvex {

PixelBlock::PixelBlock(std::int64_t size, bool useMapping) {
  const bool possible = size >= 0 && size <= kMaxDibBytes;
  // A block of 0 bytes still gets one, so every block has an address.
  const std::size_t length = possible ? static_cast<std::size_t>(std::max<std::int64_t>(size, 1)) : 0;
  if (!useMapping) {
    void* memory = possible ? std::calloc(length, 1) : nullptr;
    if (memory == nullptr) throw EOutOfMemory();
    data_ = static_cast<std::uint8_t*>(memory);
  } else {
    // The anonymous file stands for the platform's file-mapping object: it
    // can be mapped a second time by whoever draws into the pixels.
    int handle = possible ? memfd_create("vxdib", MFD_CLOEXEC) : -1;
    if (handle >= 0 && ftruncate(handle, static_cast<off_t>(length)) != 0) {
      close(handle);
      handle = -1;
    }
    if (handle < 0) throw EOutOfResources("GetMemory: Cannot Make File Mapping Object");
    void* view = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, handle, 0);
    if (view == MAP_FAILED) {
      close(handle);
      throw EOutOfResources("GetMemory: Cannot Make View of File Map");
    }
    data_ = static_cast<std::uint8_t*>(view);
    mapping_ = handle;
    mappedLength_ = length;
  }
  size_ = static_cast<std::uint32_t>(size);
}

PixelBlock::~PixelBlock() { Release(); }

PixelBlock::PixelBlock(PixelBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      mappedLength_(std::exchange(other.mappedLength_, 0)),
      mapping_(std::exchange(other.mapping_, -1)) {}

PixelBlock& PixelBlock::operator=(PixelBlock&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    mappedLength_ = std::exchange(other.mappedLength_, 0);
    mapping_ = std::exchange(other.mapping_, -1);
  }
  return *this;
}

// Unmapping and closing a mapping this block made cannot fail, so there is
// nothing to report from a destructor.
void PixelBlock::Release() noexcept {
  if (data_ == nullptr) return;
  if (mapping_ >= 0) {
    munmap(data_, mappedLength_);
    close(mapping_);
  } else {
    std::free(data_);
  }
  data_ = nullptr;
  size_ = 0;
  mappedLength_ = 0;
  mapping_ = -1;
}

}  // namespace quorvex
