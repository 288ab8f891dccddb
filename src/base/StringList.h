#pragma once
// An ordered list of byte strings, duplicates allowed, as the conversion's
// lists and every text file are held.

#include <string_view>
#include <vector>

#include "base/ByteString.h"

namespace quorvex {

class StringList {
 public:
  StringList() = default;
  StringList(std::initializer_list<ByteString> items) : items_(items) {}

  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  /// The entry at `index`; a position out of range raises EListError.
  const ByteString& operator[](int index) const;
  ByteString& operator[](int index);

  void Add(ByteString text) { items_.push_back(std::move(text)); }
  /// Inserts before `index`; `index` may equal Count().
  void Insert(int index, ByteString text);
  void Delete(int index);
  void Clear() { items_.clear(); }

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

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  bool operator==(const StringList&) const = default;

 private:
  void CheckIndex(int index, int limit) const;

  std::vector<ByteString> items_;
};

}  // namespace quorvex
