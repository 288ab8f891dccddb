#include "chm/ChmStringTable.h"

namespace quorvex {

std::uint32_t AppendInBlock(std::string& table, std::string_view text) {
  constexpr std::size_t kBlock = 0x1000;
  std::size_t size = text.size() + 1;
  std::size_t used = table.size() % kBlock;
  if (size <= kBlock && used + size > kBlock) table.append(kBlock - used, '\0');
  std::uint32_t offset = static_cast<std::uint32_t>(table.size());
  table.append(text);
  table.push_back('\0');
  return offset;
}

std::uint32_t ChmStringTable::Add(const ByteString& text) {
  if (text.empty()) return 0;
  auto found = offsets_.find(text);
  if (found != offsets_.end()) return found->second;
  std::uint32_t offset = AppendInBlock(bytes_, text);
  offsets_.emplace(text, offset);
  return offset;
}

}  // namespace quorvex
