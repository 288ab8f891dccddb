#pragma once
// Finds earlier occurrences of the bytes at a position: hash chains over
// three-byte prefixes, searched newest first up to a depth.

#include <cstdint>
#include <span>
#include <vector>

namespace quorvex {

struct LzxMatch {
  int length = 0;          ///< 0 when nothing was found
  std::uint32_t offset = 0;  ///< distance back from the position
};

class LzxMatchFinder {
 public:
  /// `depth` bounds the candidates tried per position; a match of `niceLength`
  /// ends the search early.
  LzxMatchFinder(int depth, int niceLength) : depth_(depth), niceLength_(niceLength) {}

  /// Starts over on `data`; nothing before it can be matched.
  void Reset(std::span<const std::uint8_t> data);

  /// Enters `position` into the chains; positions must be entered in order.
  void Insert(std::size_t position);

  /// The longest match at `position` (entered or not), at most `maxLength`
  /// long and `maxOffset` back, of at least three bytes.
  LzxMatch Find(std::size_t position, int maxLength, std::uint32_t maxOffset) const;

  /// The length of the match at `position` with the given offset (0 if the
  /// offset reaches before the data).
  int MatchLength(std::size_t position, std::uint32_t offset, int maxLength) const;

 private:
  static constexpr int kHashBits = 15;
  std::uint32_t Hash(std::size_t position) const;

  int depth_;
  int niceLength_;
  std::span<const std::uint8_t> data_;
  std::vector<std::int32_t> head_;
  std::vector<std::int32_t> previous_;
};

}  // namespace quorvex
