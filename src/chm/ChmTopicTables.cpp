#include "chm/ChmBytes.h"
#include "chm/ChmSystemFiles.h"

namespace quorvex {
namespace {

constexpr std::uint32_t kNoTitle = 0xFFFFFFFF;
constexpr std::uint16_t kInContents = 6, kNotInContents = 2;
// #URLTBL is read in 4 KiB blocks of 341 twelve-byte entries.
constexpr std::size_t kUrlEntriesPerBlock = 341;

}  // namespace

ChmTopicTables TopicTables(const std::vector<ChmTopic>& topics, ChmStringTable& strings) {
  ChmTopicTables tables;
  tables.urlStrings.push_back('\0');
  for (std::size_t i = 0; i < topics.size(); ++i) {
    const ChmTopic& topic = topics[i];
    // #URLSTR: no web address, no frame, then the page's path.
    std::string entry;
    AppendU32(entry, 0);
    AppendU32(entry, 0);
    entry += topic.path;
    std::uint32_t urlString = AppendInBlock(tables.urlStrings, entry);

    if (i > 0 && i % kUrlEntriesPerBlock == 0) tables.urlTable.append(4, '\0');
    std::uint32_t urlEntry = static_cast<std::uint32_t>(tables.urlTable.size());
    AppendU32(tables.urlTable, static_cast<std::uint32_t>(i));
    AppendU32(tables.urlTable, static_cast<std::uint32_t>(i));
    AppendU32(tables.urlTable, urlString);

    AppendU32(tables.topics, 0);
    AppendU32(tables.topics, topic.title.empty() ? kNoTitle : strings.Add(topic.title));
    AppendU32(tables.topics, urlEntry);
    AppendU16(tables.topics, topic.inContents ? kInContents : kNotInContents);
    AppendU16(tables.topics, 0);
  }
  return tables;
}

}  // namespace quorvex
