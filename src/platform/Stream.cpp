#include "platform/Stream.h"

#include <algorithm>
#include <cstring>

namespace quorvex {

std::int64_t Stream::Size() {
  std::int64_t position = Position();
  std::int64_t size = Seek(0, SeekOrigin::End);
  SetPosition(position);
  return size;
}

void Stream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count > 0 && Read(buffer, count) != count) throw EReadError();
}

void Stream::WriteBuffer(const void* buffer, std::int64_t count) {
  if (count > 0 && Write(buffer, count) != count) throw EWriteError();
}

std::int64_t MemoryStream::Read(void* buffer, std::int64_t count) {
  std::int64_t available = std::max<std::int64_t>(Size() - position_, 0);
  std::int64_t n = std::clamp<std::int64_t>(count, 0, available);
  if (n > 0) std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

std::int64_t MemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  std::int64_t end = position_ + count;
  if (end > Size()) bytes_.resize(static_cast<std::size_t>(end));
  std::memcpy(bytes_.data() + position_, buffer, static_cast<std::size_t>(count));
  position_ = end;
  return count;
}

std::int64_t MemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
  std::int64_t base = origin == SeekOrigin::Begin ? 0 : origin == SeekOrigin::Current ? position_ : Size();
  if (base + offset < 0) throw EStreamError("Stream seek error");
  position_ = base + offset;
  return position_;
}

void MemoryStream::Clear() {
  bytes_.clear();
  position_ = 0;
}

}  // namespace quorvex
