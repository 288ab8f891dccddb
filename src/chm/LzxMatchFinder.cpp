#include "chm/LzxMatchFinder.h"

namespace quorvex {

void LzxMatchFinder::Reset(std::span<const std::uint8_t> data) {
  data_ = data;
  head_.assign(std::size_t{1} << kHashBits, -1);
  previous_.assign(data.size(), -1);
}

std::uint32_t LzxMatchFinder::Hash(std::size_t position) const {
  std::uint32_t key = data_[position] | (data_[position + 1] << 8) | (data_[position + 2] << 16);
  return (key * 2654435761u) >> (32 - kHashBits);
}

void LzxMatchFinder::Insert(std::size_t position) {
  if (position + 3 > data_.size()) return;
  std::uint32_t hash = Hash(position);
  previous_[position] = head_[hash];
  head_[hash] = static_cast<std::int32_t>(position);
}

int LzxMatchFinder::MatchLength(std::size_t position, std::uint32_t offset, int maxLength) const {
  if (offset == 0 || offset > position) return 0;
  const std::uint8_t* here = data_.data() + position;
  const std::uint8_t* there = here - offset;
  int length = 0;
  while (length < maxLength && here[length] == there[length]) ++length;
  return length;
}

LzxMatch LzxMatchFinder::Find(std::size_t position, int maxLength, std::uint32_t maxOffset) const {
  LzxMatch best;
  if (position + 3 > data_.size() || maxLength < 3) return best;
  std::int32_t candidate = head_[Hash(position)];
  // When the position itself was entered, its chain continues below it.
  if (candidate == static_cast<std::int32_t>(position)) candidate = previous_[position];
  const std::uint8_t* here = data_.data() + position;
  for (int tries = depth_; candidate >= 0 && tries > 0; --tries) {
    std::uint32_t offset = static_cast<std::uint32_t>(position - candidate);
    if (offset > maxOffset) break;
    const std::uint8_t* there = data_.data() + candidate;
    // A candidate can only win if it also matches at the current best length.
    if (there[best.length] == here[best.length]) {
      int length = 0;
      while (length < maxLength && here[length] == there[length]) ++length;
      if (length > best.length) {
        best = {length, offset};
        if (length >= niceLength_ || length == maxLength) break;
      }
    }
    candidate = previous_[candidate];
  }
  if (best.length < 3) best = {};
  return best;
}

}  // namespace quorvex
