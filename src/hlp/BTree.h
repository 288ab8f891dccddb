#pragma once
// The B+ trees of a compiled help file: the directory of internal files and
// most index files (|CONTEXT, |TTLBTREE, |KWBTREE, ...) are one. A tree is a
// header and pages of one size; index pages lead down to leaf pages, which
// hold the entries and are chained in key order.

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "base/ByteReader.h"
#include "base/ByteString.h"
#include "hlp/HelpFileError.h"

namespace quorvex {

/// One leaf page: its entries, and where it starts in the internal file.
struct BTreeLeaf {
  std::uint16_t Count = 0;
  std::span<const std::uint8_t> Entries;  ///< from the first entry to the end of the page
  std::uint64_t Offset = 0;
};

class BTree {
 public:
  /// Reads the header of the tree that `file` (the internal file `name`)
  /// holds; EHelpFileError when it is none or its pages lie outside the file.
  BTree(std::span<const std::uint8_t> file, std::string_view name);

  /// The leaf pages in key order: the first leaf, reached through the first
  /// child of each index page, then the chain of next pages. A chain that
  /// leaves the tree or comes back to a page it passed is cut there, as a problem.
  std::vector<BTreeLeaf> Leaves(ReadProblems& problems) const;

  /// Calls `read` once per entry of every leaf, with a reader at the entry
  /// that it must step over. An entry that runs past its page ends that page,
  /// as a problem.
  void ForEachEntry(ReadProblems& problems, const std::function<void(ByteReader&)>& read) const;

  /// The header's description of the entries ("L4", "z4", "F24", ...).
  const ByteString& Structure() const { return structure_; }
  const ByteString& Name() const { return name_; }

 private:
  std::span<const std::uint8_t> Page(int number) const;

  std::span<const std::uint8_t> file_;
  ByteString name_;
  ByteString structure_;
  std::uint16_t pageSize_ = 0;
  int rootPage_ = 0;
  int totalPages_ = 0;
  int levels_ = 0;
};

}  // namespace quorvex
