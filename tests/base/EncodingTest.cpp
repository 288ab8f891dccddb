#include "base/Encoding.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

// Bad bytes become one U+FFFD per character, as browsers decode Shift_JIS;
// the strict conversion refuses them.
TEST(Encoding, ShiftJisToUtf8ReplacesWhatDoesNotConvert) {
  struct Case {
    const char* cp932;
    const char* utf8;
  } cases[] = {
      {"abc", "abc"},
      {"\x93\xFA\x96{", "\xE6\x97\xA5\xE6\x9C\xAC"},  // 日本, a trail byte "{"
      {"a\x85\x80z", "a\xEF\xBF\xBDz"},               // an unmapped pair: one replacement
      {"\x85" "A", "\xEF\xBF\xBD" "A"},                // ... whose ASCII second byte stands for itself
      {"x\x82", "x\xEF\xBF\xBD"},                      // a lead byte at the end
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cp932ToUtf8Replacing(c.cp932), c.utf8) << c.cp932;
    EXPECT_EQ(Cp932ToUtf8(c.cp932).has_value(), std::string(c.utf8).find("\xEF\xBF\xBD") == std::string::npos) << c.cp932;
  }
}

}  // namespace
}  // namespace quorvex
