#pragma once
// Where each context string of the project's topics lives: its page and,
// for a context that marks a place inside a topic, the anchor there.

#include <string_view>
#include <unordered_map>

#include "base/ByteString.h"

namespace quorvex {

/// A page, and a place on it (empty: the top).
struct TopicPlace {
  ByteString Page;
  ByteString Anchor;
};

/// Context strings (letter case ignored) -> their place.
class TopicIndex {
 public:
  /// Records a context; the first topic that claims a context keeps it.
  /// False when the context was known already.
  bool Add(std::string_view context, TopicPlace place) {
    return places_.emplace(LowerCase(context), std::move(place)).second;
  }
  const TopicPlace* Find(std::string_view context) const {
    auto found = places_.find(LowerCase(context));
    return found == places_.end() ? nullptr : &found->second;
  }
  bool Empty() const { return places_.empty(); }
  void Clear() { places_.clear(); }

 private:
  std::unordered_map<ByteString, TopicPlace> places_;
};

}  // namespace quorvex
