#include "base/ContextHash.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

// Hashes of context strings as help compilers store them; "main_index" and
// "menu_file" are from a real help's |CONTEXT.
TEST(ContextHash, MatchesTheCompilersHashes) {
  const std::pair<const char*, std::uint32_t> cases[] = {
      {"a", 0x11},
      {"AB", 0x2ED},
      {"ab", 0x2ED},  // letter case does not count
      {"0", 0x0A},
      {"x.y", 0x12315},
      {"a!b", 0x7CB4},
      {"main_index", 0x004AF94E},
      {"MAIN_INDEX", 0x004AF94E},
      {"menu_file", 0x3CDF3EAA},
      {"HID_SC_SIZE", 0x77AE3E8C},
      {"IDH_0123456789", 0x864AC9D7},
      {"The_Quick_Brown_Fox_Jumps_Over", 0xAFF23A99},  // wraps around 32 bits
      {"\x82\xA0", 0xE36},  // high bytes (a Shift-JIS character)
      {"", 1},
  };
  for (const auto& [context, hash] : cases) EXPECT_EQ(ContextHash(context), hash) << context;
}

}  // namespace
}  // namespace quorvex
