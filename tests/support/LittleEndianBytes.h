#pragma once
// Little-endian writers shared by the file builders of the tests.

#include <cstdint>
#include <vector>

namespace quorvex::test {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& out, std::uint64_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void Put32(Bytes& out, std::uint64_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace quorvex::test
