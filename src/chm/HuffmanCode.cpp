#include "chm/HuffmanCode.h"

#include <algorithm>
#include <numeric>

namespace quorvex {
namespace {

// Plain Huffman lengths of the used symbols (two-queue method over the
// symbols sorted by frequency), without a limit.
std::vector<std::uint8_t> UnlimitedLengths(const std::vector<std::uint32_t>& frequencies,
                                           const std::vector<int>& used) {
  struct Node {
    std::uint64_t weight;
    int parent;
  };
  std::vector<Node> nodes;
  nodes.reserve(used.size() * 2);
  for (int symbol : used) nodes.push_back({frequencies[symbol], -1});
  std::size_t leaf = 0, inner = used.size();
  auto takeSmallest = [&]() {
    if (leaf < used.size() && (inner >= nodes.size() || nodes[leaf].weight <= nodes[inner].weight)) return leaf++;
    return inner++;
  };
  while (nodes.size() < used.size() * 2 - 1) {
    std::size_t a = takeSmallest(), b = takeSmallest();
    nodes.push_back({nodes[a].weight + nodes[b].weight, -1});
    nodes[a].parent = nodes[b].parent = static_cast<int>(nodes.size() - 1);
  }
  // Depths from the root down: a parent always comes after its children.
  std::vector<std::uint8_t> depth(nodes.size(), 0);
  for (std::size_t i = nodes.size() - 1; i-- > 0;) depth[i] = static_cast<std::uint8_t>(depth[nodes[i].parent] + 1);
  std::vector<std::uint8_t> lengths(frequencies.size(), 0);
  for (std::size_t i = 0; i < used.size(); ++i) lengths[used[i]] = depth[i];
  return lengths;
}

}  // namespace

std::vector<std::uint8_t> HuffmanLengths(const std::vector<std::uint32_t>& frequencies, int maxLength) {
  std::vector<int> used;
  for (std::size_t i = 0; i < frequencies.size(); ++i) {
    if (frequencies[i] > 0) used.push_back(static_cast<int>(i));
  }
  std::vector<std::uint8_t> lengths(frequencies.size(), 0);
  if (used.empty()) return lengths;
  if (used.size() == 1) {
    // A one-symbol code is not complete; its partner is never sent.
    lengths[used[0]] = 1;
    lengths[used[0] == 0 ? 1 : 0] = 1;
    return lengths;
  }
  // Too deep a tree comes from very uneven frequencies: flatten them until
  // it fits. This costs little, as it only happens for rare symbols.
  std::vector<std::uint32_t> weights = frequencies;
  for (;;) {
    std::stable_sort(used.begin(), used.end(), [&](int a, int b) { return weights[a] < weights[b]; });
    lengths = UnlimitedLengths(weights, used);
    if (*std::max_element(lengths.begin(), lengths.end()) <= maxLength) return lengths;
    for (int symbol : used) weights[symbol] = (weights[symbol] >> 1) | 1;
  }
}

std::vector<std::uint16_t> CanonicalCodes(const std::vector<std::uint8_t>& lengths) {
  int maxLength = lengths.empty() ? 0 : *std::max_element(lengths.begin(), lengths.end());
  std::vector<std::uint32_t> count(maxLength + 2, 0), next(maxLength + 2, 0);
  for (std::uint8_t length : lengths) {
    if (length) ++count[length];
  }
  std::uint32_t code = 0;
  for (int length = 1; length <= maxLength; ++length) {
    code = (code + count[length - 1]) << 1;
    next[length] = code;
  }
  std::vector<std::uint16_t> codes(lengths.size(), 0);
  for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol) {
    if (lengths[symbol]) codes[symbol] = static_cast<std::uint16_t>(next[lengths[symbol]]++);
  }
  return codes;
}

}  // namespace quorvex
