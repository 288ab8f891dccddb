#include "hlp/BrowseOrder.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

constexpr std::optional<std::size_t> kNone;

TEST(BrowseOrder, SequencesFromTheirStartOthersInFileOrder) {
  struct Case {
    const char* what;
    std::vector<BrowseLinks> links;
    std::vector<std::size_t> order;
  };
  const Case cases[] = {
      {"no sequences", {{kNone, kNone}, {kNone, kNone}}, {0, 1}},
      {"a sequence begun later in the file", {{2, kNone}, {kNone, kNone}, {kNone, 0}}, {2, 0, 1}},
      {"two sequences", {{kNone, 3}, {kNone, 2}, {1, kNone}, {0, kNone}}, {0, 3, 1, 2}},
      {"a loop", {{2, 1}, {0, 2}, {1, 0}}, {1, 2, 0}},
      {"links out of range", {{7, 9}, {kNone, kNone}}, {0, 1}},
  };
  for (const Case& c : cases) EXPECT_EQ(BrowseOrder(c.links), c.order) << c.what;
}

}  // namespace
}  // namespace quorvex
