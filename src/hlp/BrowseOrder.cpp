#include "hlp/BrowseOrder.h"

#include <unordered_set>

namespace quorvex {

std::vector<std::size_t> BrowseOrder(const std::vector<BrowseLinks>& links) {
  std::vector<std::size_t> order;
  std::vector<bool> listed(links.size());
  auto valid = [&](std::optional<std::size_t> topic) { return topic && *topic < links.size(); };
  for (std::size_t t = 0; t < links.size(); ++t) {
    if (listed[t]) continue;
    std::size_t head = t;
    std::unordered_set<std::size_t> seen{head};
    while (valid(links[head].Previous) && !listed[*links[head].Previous] && seen.insert(*links[head].Previous).second) {
      head = *links[head].Previous;
    }
    for (std::optional<std::size_t> at = head; valid(at) && !listed[*at]; at = links[*at].Next) {
      listed[*at] = true;
      order.push_back(*at);
    }
    if (!listed[t]) {
      listed[t] = true;
      order.push_back(t);
    }
  }
  return order;
}

}  // namespace quorvex
