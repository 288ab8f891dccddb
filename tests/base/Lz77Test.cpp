#include "base/Lz77.h"

#include <gtest/gtest.h>

#include "support/HelpFileBuilder.h"

namespace quorvex {
namespace {

using test::Bytes;

std::string Expand(const Bytes& packed, std::size_t limit = 1000) {
  std::vector<std::uint8_t> out = ExpandLz77(packed, limit);
  return std::string(out.begin(), out.end());
}

TEST(Lz77, HandMadeInputs) {
  struct Case {
    const char* what;
    Bytes packed;
    std::size_t limit;
    std::string expanded;
  };
  const Case cases[] = {
      {"literals only", {0x00, 'a', 'b', 'c'}, 1000, "abc"},
      // "ab", then 4 bytes from 2 back (overlapping what it makes), then "c".
      {"overlapping reference", {0x04, 'a', 'b', 0x01, 0x10, 'c'}, 1000, "ababab" "c"},
      {"a second flag byte", {0x00, '1', '2', '3', '4', '5', '6', '7', '8', 0x01, 0x07, 0x00}, 1000, "12345678" "123"},
      {"reference before the start reads zeros", {0x01, 0x01, 0x00}, 1000, std::string(3, '\0')},
      {"a reference cut in half is dropped", {0x02, 'x', 0x00}, 1000, "x"},
      {"the limit stops inside a reference", {0x02, 'x', 0x00, 0xF0}, 5, "xxxxx"},
      {"the limit stops literals", {0x00, 'a', 'b', 'c'}, 2, "ab"},
      {"empty input", {}, 10, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Expand(c.packed, c.limit), c.expanded) << c.what;
}

TEST(Lz77, ExpandsWhatTheTestPackerPacks) {
  Bytes raw;
  for (int i = 0; i < 20000; ++i) raw.push_back(static_cast<std::uint8_t>("abcabcabd  xyz"[i % 14] + (i % 97 == 0)));
  const Bytes packed = test::PackLz77(raw);
  EXPECT_LT(packed.size(), raw.size() / 4);
  EXPECT_EQ(ExpandLz77(packed, raw.size()), raw);
  EXPECT_EQ(ExpandLz77(packed, 100), Bytes(raw.begin(), raw.begin() + 100));
}

}  // namespace
}  // namespace quorvex
