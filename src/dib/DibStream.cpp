#include "dib/DibStream.h"

#include <algorithm>
#include <cstring>

namespace quorvex {

std::int64_t DibStream::Remaining() const { return std::max<std::int64_t>(Size() - Position(), 0); }

void DibStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count < 0 || (count > 0 && Read(buffer, count) != count)) throw EDibStreamError("Stream read error");
}

void DibStream::WriteBuffer(const void* buffer, std::int64_t count) {
  if (count < 0 || (count > 0 && Write(buffer, count) != count)) throw EDibStreamError("Stream write error");
}

void DibStream::Skip(std::int64_t count) {
  if (count < 0 || count > Remaining()) throw EDibStreamError("Stream read error");
  SetPosition(Position() + count);
}

std::int64_t DibMemoryStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t n = std::min(std::max<std::int64_t>(count, 0), Remaining());
  if (n > 0) std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

std::int64_t DibMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const std::int64_t end = position_ + count;
  if (end > Size()) bytes_.resize(static_cast<std::size_t>(end));
  std::memcpy(bytes_.data() + position_, buffer, static_cast<std::size_t>(count));
  position_ = end;
  return count;
}

void DibMemoryStream::SetPosition(std::int64_t position) {
  if (position < 0) throw EDibStreamError("Stream read error");
  position_ = position;
}

}  // namespace quorvex
