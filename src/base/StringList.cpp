#include "base/StringList.h"

#include "base/Errors.h"
#include "base/Files.h"

namespace quorvex {

void StringList::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) throw EListError(index);
}

const ByteString& StringList::operator[](int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)];
}

ByteString& StringList::operator[](int index) {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)];
}

void StringList::Insert(int index, ByteString text) {
  CheckIndex(index, Count() + 1);
  items_.insert(items_.begin() + index, std::move(text));
}

void StringList::Delete(int index) {
  CheckIndex(index, Count());
  items_.erase(items_.begin() + index);
}

int StringList::IndexOf(std::string_view text) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameText(items_[static_cast<size_t>(i)], text)) return i;
  }
  return -1;
}

void StringList::SetText(std::string_view text) {
  items_.clear();
  text = text.substr(0, text.find('\0'));
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t start = pos;
    while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n') ++pos;
    items_.emplace_back(text.substr(start, pos - start));
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
}

ByteString StringList::Text() const {
  ByteString out;
  for (const ByteString& item : items_) {
    out += item;
    out += "\r\n";
  }
  return out;
}

void StringList::LoadFromFile(const ByteString& path) { SetText(ReadFile(path)); }

void StringList::SaveToFile(const ByteString& path, const ByteString& outputFolder) const {
  WriteFileInside(outputFolder, path, Text());
}

}  // namespace quorvex
