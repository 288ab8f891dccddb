#pragma once
// The order a contents list made from a compiled help shows its topics in:
// browse sequences (the "+" footnotes of the sources), each from its start.

#include <cstddef>
#include <optional>
#include <vector>

namespace quorvex {

/// The neighbours of a topic in its browse sequence, as topic indices.
struct BrowseLinks {
  std::optional<std::size_t> Previous, Next;
};

/// Every topic once: each browse sequence from its first topic, placed where
/// the first of its topics stands in the file; topics of no sequence in file
/// order. Links that loop or point at topics listed already end a sequence.
std::vector<std::size_t> BrowseOrder(const std::vector<BrowseLinks>& links);

}  // namespace quorvex
