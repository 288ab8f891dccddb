#include "chm/LzxCompressor.h"

#include <gtest/gtest.h>

#include <random>

#include "chm/ChmContainer.h"
#include "support/ChmOracle.h"

namespace quorvex {
namespace {

enum class Kind { Random, Text, Zeros, Mixed };

// Data of a kind: random bytes (nothing to match), text with repeats near
// and far, a long run of one byte, and text with random stretches.
std::string Data(Kind kind, std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string data;
  const char* words[] = {"<p>", "help ", "topic ", "</p>\r\n", "window ", "index ", "<a href=\"x.html\">", "</a>", "the "};
  while (data.size() < size) {
    switch (kind) {
      case Kind::Random: data.push_back(static_cast<char>(random())); break;
      case Kind::Zeros: data.push_back('\0'); break;
      case Kind::Text: data += words[random() % 9]; break;
      case Kind::Mixed:
        if (random() % 50 == 0) {
          for (int i = 0; i < 300; ++i) data.push_back(static_cast<char>(random()));
        } else {
          data += words[random() % 9];
        }
        break;
    }
  }
  data.resize(size);
  return data;
}

struct Case {
  Kind kind;
  std::size_t size;
  int resetFrames;
};

// Every case goes into a compiled help as one file and comes back from
// chmlib's decompressor byte for byte, also when read from the middle.
TEST(LzxCompressor, ChmlibDecompressesEveryKindSizeAndResetInterval) {
  const Case cases[] = {
      {Kind::Text, 1, 2},          {Kind::Text, 100, 2},       {Kind::Random, 32767, 2},   {Kind::Random, 32768, 2},
      {Kind::Text, 32769, 2},      {Kind::Mixed, 65536 * 3 + 7, 2}, {Kind::Zeros, 200000, 2}, {Kind::Text, 300000, 1},
      {Kind::Mixed, 300000, 4},    {Kind::Random, 140000, 4},  {Kind::Text, 500000, 8},    {Kind::Mixed, 400000, 3},
  };
  unsigned seed = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(c.kind) << ", " << c.size << " bytes, reset every " << c.resetFrames << " frames");
    ChmContainerSettings settings;
    settings.lzx.resetFrames = c.resetFrames;
    std::string data = Data(c.kind, c.size, seed++);
    std::string chm = BuildChmContainer({{"/a.bin", data}, {"/b.txt", "tail"}}, settings);
    std::optional<std::string> back = test::ResolveWithChmlib(chm, "/a.bin");
    ASSERT_TRUE(back.has_value());
    EXPECT_TRUE(*back == data);
    EXPECT_EQ(test::ResolveWithChmlib(chm, "/b.txt"), "tail");
  }
}

}  // namespace
}  // namespace quorvex
