#include "base/Lz77.h"

#include <algorithm>

namespace quorvex {

namespace {

// One flag byte with eight references of 18 bytes each makes at most 144
// bytes out of 17 in; the output is reserved no larger than that allows.
constexpr std::size_t kMaxGrowth = 9;

}  // namespace

std::vector<std::uint8_t> ExpandLz77(std::span<const std::uint8_t> packed, std::size_t limit) {
  std::vector<std::uint8_t> out;
  out.reserve(std::min(limit, packed.size() * kMaxGrowth));
  std::size_t in = 0;
  while (in < packed.size() && out.size() < limit) {
    const std::uint8_t flags = packed[in++];
    for (int bit = 0; bit < 8 && in < packed.size() && out.size() < limit; ++bit) {
      if ((flags & (1u << bit)) == 0) {
        out.push_back(packed[in++]);
        continue;
      }
      if (in + 1 >= packed.size()) return out;
      const unsigned word = packed[in] | (packed[in + 1] << 8);
      in += 2;
      const std::size_t distance = (word & 0x0FFF) + 1;
      const std::size_t length = std::min<std::size_t>((word >> 12) + 3, limit - out.size());
      for (std::size_t k = 0; k < length; ++k) {
        out.push_back(distance <= out.size() ? out[out.size() - distance] : 0);
      }
    }
  }
  return out;
}

}  // namespace quorvex
