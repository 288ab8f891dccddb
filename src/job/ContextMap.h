#pragma once
// What the project file says about context strings besides the topics
// themselves: [ALIAS] (one context standing for another) and [MAP] (the
// numbers applications use to ask for a topic).

#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/ByteString.h"

namespace quorvex {

/// [ALIAS]: contexts that stand for other contexts. Contexts compare with
/// letter case ignored.
class Aliases {
 public:
  /// Records `from` -> `to`; a context that already has an alias keeps its first one.
  void Add(std::string_view from, std::string_view to);
  /// The context reached by following aliases from `context` (itself when it
  /// is no alias). A chain that loops stops before it would repeat a context.
  ByteString Resolve(std::string_view context) const;
  bool Empty() const { return targets_.empty(); }
  void Clear() { targets_.clear(); }

 private:
  std::unordered_map<ByteString, ByteString> targets_;  // lower-cased alias -> context as written
};

/// One [MAP] entry: a context and its number as the project wrote it
/// (decimal or 0x hexadecimal).
struct MappedContext {
  ByteString Context;
  ByteString Id;
};

/// [MAP], in the order the project (and the files it includes) defines it.
class ContextMap {
 public:
  /// Records a context's number; a context defined before keeps its first number.
  void Add(std::string_view context, std::string_view id);
  const std::vector<MappedContext>& Entries() const { return entries_; }
  bool Empty() const { return entries_.empty(); }
  void Clear() {
    entries_.clear();
    known_.clear();
  }

 private:
  std::vector<MappedContext> entries_;
  std::unordered_map<ByteString, std::size_t> known_;  // lower-cased context -> position
};

}  // namespace quorvex
