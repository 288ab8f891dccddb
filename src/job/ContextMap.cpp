#include "job/ContextMap.h"

#include <unordered_set>

namespace quorvex {

void Aliases::Add(std::string_view from, std::string_view to) {
  targets_.emplace(LowerCase(from), ByteString(to));
}

ByteString Aliases::Resolve(std::string_view context) const {
  ByteString current(context);
  std::unordered_set<ByteString> seen{LowerCase(current)};
  for (;;) {
    auto found = targets_.find(LowerCase(current));
    if (found == targets_.end() || !seen.insert(LowerCase(found->second)).second) return current;
    current = found->second;
  }
}

void ContextMap::Add(std::string_view context, std::string_view id) {
  if (known_.emplace(LowerCase(context), entries_.size()).second) {
    entries_.push_back({ByteString(context), ByteString(id)});
  }
}

}  // namespace quorvex
