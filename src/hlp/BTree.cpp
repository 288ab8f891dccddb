#include "hlp/BTree.h"

#include <unordered_set>

namespace quorvex {
namespace {

constexpr std::uint16_t kMagic = 0x293B;
constexpr std::size_t kHeaderSize = 38;
constexpr std::size_t kLeafHeaderSize = 8;
// Deeper trees than this would index more entries than any help file holds.
constexpr int kMaxLevels = 16;

}  // namespace

BTree::BTree(std::span<const std::uint8_t> file, std::string_view name) : file_(file), name_(name) {
  ByteReader reader(file);
  try {
    if (reader.U16LE() != kMagic) throw EHelpFileError(name, 0, "not a B+ tree");
    reader.Skip(2);  // flags
    pageSize_ = reader.U16LE();
    auto structure = reader.Bytes(16);
    for (std::uint8_t c : structure) {
      if (c == 0) break;
      structure_.push_back(static_cast<char>(c));
    }
    reader.Skip(4);  // must-be-zero, page splits
    rootPage_ = reader.I16LE();
    reader.Skip(2);  // must-be-minus-one
    totalPages_ = reader.I16LE();
    levels_ = reader.I16LE();
  } catch (const EReadPastEnd&) {
    throw EHelpFileError(name, reader.Position(), "the B+ tree header is cut short");
  }
  if (pageSize_ < kLeafHeaderSize) throw EHelpFileError(name, 4, "the B+ tree's page size is too small");
  if (levels_ < 1 || levels_ > kMaxLevels) throw EHelpFileError(name, 34, "the B+ tree's level count makes no sense");
  if (totalPages_ < 0 || kHeaderSize + std::uint64_t(totalPages_) * pageSize_ > file.size()) {
    throw EHelpFileError(name, 30, "the B+ tree's pages run past the end of the file");
  }
}

std::span<const std::uint8_t> BTree::Page(int number) const {
  if (number < 0 || number >= totalPages_) {
    throw EHelpFileError(name_, kHeaderSize, "a page number outside the B+ tree: " + DecimalText(number));
  }
  return file_.subspan(kHeaderSize + std::size_t(number) * pageSize_, pageSize_);
}

std::vector<BTreeLeaf> BTree::Leaves(ReadProblems& problems) const {
  std::vector<BTreeLeaf> leaves;
  try {
    int page = rootPage_;
    for (int level = 1; level < levels_; ++level) {
      ByteReader index(Page(page));
      index.Skip(4);  // free bytes, entry count
      page = index.I16LE();
    }
    std::unordered_set<int> seen;
    while (page != -1) {
      if (!seen.insert(page).second) {
        throw EHelpFileError(name_, kHeaderSize + std::uint64_t(page) * pageSize_, "the chain of leaf pages loops");
      }
      auto bytes = Page(page);
      ByteReader leaf(bytes);
      leaf.Skip(2);  // free bytes
      const std::int16_t count = leaf.I16LE();
      leaf.Skip(2);  // previous page
      const int next = leaf.I16LE();
      BTreeLeaf entry;
      entry.Count = count < 0 ? 0 : static_cast<std::uint16_t>(count);
      entry.Entries = bytes.subspan(kLeafHeaderSize);
      entry.Offset = kHeaderSize + std::uint64_t(page) * pageSize_;
      leaves.push_back(entry);
      page = next;
    }
  } catch (const EHelpFileError& problem) {
    problems.Report(problem);
  }
  return leaves;
}

void BTree::ForEachEntry(ReadProblems& problems, const std::function<void(ByteReader&)>& read) const {
  for (const BTreeLeaf& leaf : Leaves(problems)) {
    ByteReader entries(leaf.Entries);
    try {
      for (std::uint16_t i = 0; i < leaf.Count; ++i) read(entries);
    } catch (const EReadPastEnd&) {
      problems.Report(EHelpFileError(name_, leaf.Offset + kLeafHeaderSize + entries.Position(),
                                     "an entry runs past the end of its B+ tree page"));
    }
  }
}

}  // namespace quorvex
