#include "base/StringList.h"

#include <algorithm>

#include "base/Errors.h"
#include "base/Files.h"

namespace quorvex {

StringList::StringList(std::initializer_list<ByteString> items) {
  for (const ByteString& item : items) Add(item);
}

void StringList::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) throw EListError(index);
}

const ByteString& StringList::operator[](int index) const {
  CheckIndex(index, Count());
  return store_[order_[static_cast<std::size_t>(index)]];
}

void StringList::Set(int index, ByteString text) {
  CheckIndex(index, Count());
  store_[order_[static_cast<std::size_t>(index)]] = std::move(text);
  keysBuilt_ = false;  // rare: the index is built again when next asked
}

StringList::EntryId StringList::Store(ByteString text) {
  store_.push_back(std::move(text));
  positions_.push_back(0);
  return static_cast<EntryId>(store_.size() - 1);
}

// Records an entry in its key. An entry added at the end cannot come before
// the key's first entry; one inserted elsewhere may.
void StringList::IndexEntry(EntryId id, bool atEnd) const {
  Key& key = keys_[LowerCase(store_[id])];
  key.Ids.push_back(id);
  if (key.Ids.size() == 1) {
    key.First = id;
    key.FirstKnown = true;
  } else if (!atEnd) {
    key.FirstKnown = false;
  }
}

void StringList::Add(ByteString text) {
  const EntryId id = Store(std::move(text));
  positions_[id] = Count();
  if (positionsValidBelow_ == order_.size()) ++positionsValidBelow_;
  order_.push_back(id);
  if (keysBuilt_) IndexEntry(id, true);
}

void StringList::Insert(int index, ByteString text) {
  CheckIndex(index, Count() + 1);
  if (index == Count()) {
    Add(std::move(text));
    return;
  }
  const EntryId id = Store(std::move(text));
  positions_[id] = index;
  order_.insert(order_.begin() + index, id);
  positionsValidBelow_ = std::min(positionsValidBelow_, static_cast<std::size_t>(index));
  if (keysBuilt_) IndexEntry(id, false);
}

void StringList::Delete(int index) {
  CheckIndex(index, Count());
  const EntryId id = order_[static_cast<std::size_t>(index)];
  order_.erase(order_.begin() + index);
  positionsValidBelow_ = std::min(positionsValidBelow_, static_cast<std::size_t>(index));
  if (!keysBuilt_) return;
  auto found = keys_.find(LowerCase(store_[id]));
  if (found == keys_.end()) return;
  Key& key = found->second;
  key.Ids.erase(std::find(key.Ids.begin(), key.Ids.end(), id));
  if (key.Ids.empty()) {
    keys_.erase(found);
  } else if (key.First == id) {
    key.FirstKnown = false;
  }
}

void StringList::Clear() {
  store_.clear();
  order_.clear();
  positions_.clear();
  positionsValidBelow_ = 0;
  keys_.clear();
  keysBuilt_ = false;
}

void StringList::BuildKeys() const {
  keys_.clear();
  for (EntryId id : order_) IndexEntry(id, true);
  keysBuilt_ = true;
}

void StringList::RefreshPositions() const {
  for (std::size_t i = positionsValidBelow_; i < order_.size(); ++i) positions_[order_[i]] = static_cast<int>(i);
  positionsValidBelow_ = order_.size();
}

int StringList::IndexOf(std::string_view text) const {
  if (!keysBuilt_) BuildKeys();
  auto found = keys_.find(LowerCase(text));
  if (found == keys_.end()) return -1;
  Key& key = found->second;
  if (!key.FirstKnown) {
    RefreshPositions();
    key.First = *std::min_element(key.Ids.begin(), key.Ids.end(),
                                  [this](EntryId a, EntryId b) { return positions_[a] < positions_[b]; });
    key.FirstKnown = true;
  }
  // The recorded position is right when the list still holds the entry
  // there. Otherwise the entry lies past every position known to be right
  // (those below positionsValidBelow_), and the positions are learnt anew as
  // far as the entry.
  const auto recorded = static_cast<std::size_t>(positions_[key.First]);
  if (recorded >= order_.size() || order_[recorded] != key.First) {
    while (positionsValidBelow_ < order_.size()) {
      const EntryId id = order_[positionsValidBelow_];
      positions_[id] = static_cast<int>(positionsValidBelow_++);
      if (id == key.First) break;
    }
  }
  return positions_[key.First];
}

void StringList::SetText(std::string_view text) {
  Clear();
  text = text.substr(0, text.find('\0'));
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t start = pos;
    while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n') ++pos;
    Add(ByteString(text.substr(start, pos - start)));
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
}

ByteString StringList::Text() const {
  std::size_t size = 0;
  for (const ByteString& item : *this) size += item.size() + 2;
  ByteString out;
  out.reserve(size);
  for (const ByteString& item : *this) {
    out += item;
    out += "\r\n";
  }
  return out;
}

bool StringList::operator==(const StringList& other) const {
  return Count() == other.Count() && std::equal(begin(), end(), other.begin());
}

void StringList::LoadFromFile(const ByteString& path) { SetText(ReadFile(path)); }

void StringList::SaveToFile(const ByteString& path, const ByteString& outputFolder) const {
  WriteFileInside(outputFolder, path, Text());
}

}  // namespace quorvex
