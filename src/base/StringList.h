#pragma once
// An ordered list of byte strings, duplicates allowed, as the conversion's
// lists and every text file are held.
//
// Lookups ("the first entry equal to this text, letter case ignored") are
// answered from a hash index beside the list, so that lists of many thousand
// pages stay fast to search. Entries are kept where they were first stored
// and the list order is a sequence of their numbers: an insertion in the
// middle moves small numbers, not strings, and the index learns positions
// again only when asked.

#include <cstdint>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/ByteString.h"

namespace quorvex {

class StringList {
 public:
  StringList() = default;
  StringList(std::initializer_list<ByteString> items);

  int Count() const { return static_cast<int>(order_.size()); }
  bool Empty() const { return order_.empty(); }

  /// The entry at `index`; a position out of range raises EListError.
  const ByteString& operator[](int index) const;
  /// Replaces the entry at `index`; a position out of range raises EListError.
  void Set(int index, ByteString text);

  void Add(ByteString text);
  /// Inserts before `index`; `index` may equal Count().
  void Insert(int index, ByteString text);
  void Delete(int index);
  void Clear();

  /// Position of the first entry equal to `text` with letter case ignored, or -1.
  int IndexOf(std::string_view text) const;

  /// Replaces the entries by the lines of `text`: lines end at CR, LF or CR LF;
  /// a NUL byte ends the text.
  void SetText(std::string_view text);
  /// Every entry followed by CR LF.
  ByteString Text() const;

  /// Loads the lines of a file; a file that cannot be read raises EFOpenError.
  void LoadFromFile(const ByteString& path);
  /// Saves Text() to `path`, which must lie inside `outputFolder` (see WriteFileInside).
  void SaveToFile(const ByteString& path, const ByteString& outputFolder) const;

  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = ByteString;
    using difference_type = std::ptrdiff_t;
    using pointer = const ByteString*;
    using reference = const ByteString&;
    const_iterator() = default;
    const_iterator(const StringList* list, std::size_t at) : list_(list), at_(at) {}
    reference operator*() const { return list_->store_[list_->order_[at_]]; }
    pointer operator->() const { return &**this; }
    const_iterator& operator++() {
      ++at_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++at_;
      return before;
    }
    bool operator==(const const_iterator& other) const { return at_ == other.at_; }

   private:
    const StringList* list_ = nullptr;
    std::size_t at_ = 0;
  };
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, order_.size()); }

  bool operator==(const StringList& other) const;

 private:
  using EntryId = std::uint32_t;
  /// The entries equal to one text (letter case ignored), and which comes first.
  struct Key {
    std::vector<EntryId> Ids;
    EntryId First = 0;
    bool FirstKnown = false;
  };

  void CheckIndex(int index, int limit) const;
  EntryId Store(ByteString text);
  void IndexEntry(EntryId id, bool atEnd) const;
  void BuildKeys() const;
  void RefreshPositions() const;

  std::vector<ByteString> store_;  ///< entries by number; deleted ones stay until Clear
  std::vector<EntryId> order_;     ///< the list: entry numbers in list order

  mutable bool keysBuilt_ = false;
  mutable std::unordered_map<ByteString, Key> keys_;  ///< lower-cased text -> its entries
  /// By entry number: its position when last recorded. Every insertion or
  /// deletion lowers positionsValidBelow_ to where it happened: the entries
  /// before it are where positions_ says.
  mutable std::vector<int> positions_;
  mutable std::size_t positionsValidBelow_ = 0;
};

}  // namespace quorvex
