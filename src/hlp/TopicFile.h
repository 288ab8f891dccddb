#pragma once
// |TOPIC: the topics' text, in blocks of 2 or 4 KB, each LZ77-packed (since
// WinHelp 3.1) into up to 16 KB. The blocks hold a chain of records: a topic
// header starts each topic, paragraph records follow it. A record may run on
// from the end of one block's data into the next block.

#include <cstdint>
#include <vector>

#include "hlp/HelpFileSystem.h"
#include "hlp/Phrases.h"
#include "hlp/SystemFile.h"

namespace quorvex {

enum class RecordType : std::uint8_t {
  Text30 = 0x01,       ///< paragraphs, WinHelp 3.0
  TopicHeader = 0x02,  ///< the start of a topic: title, browse sequence, entry macros
  Text = 0x20,         ///< paragraphs of one paragraph format
  Table = 0x23,        ///< one table row, its cells' paragraphs
};

struct TopicRecord {
  std::uint32_t Position = 0;  ///< where the record starts (block and place in the block's expanded data)
  /// The help's address of the record's first character: the block number
  /// times 32768 plus the characters of the block's earlier records. Contexts,
  /// keywords and browse sequences point at topics this way. WinHelp 3.0
  /// files have none; there it is the Position.
  std::uint32_t Offset = 0;
  RecordType Type = RecordType::Text;
  std::vector<std::uint8_t> Format;  ///< the record's first part: numbers, paragraph format, commands
  std::vector<std::uint8_t> Text;    ///< its second part, phrases expanded: strings ended by zeros
};

/// The records of |TOPIC in chain order, without the empty record that ends
/// the chain. A record that cannot be read is a problem; reading goes on at
/// the first record of the next block.
std::vector<TopicRecord> ReadTopicRecords(const InternalFile& file, const SystemInfo& system,
                                          const PhraseTable& phrases, ReadProblems& problems);

/// The character count a text or table record adds to the topic offsets after it.
std::uint32_t RecordCharacters(const TopicRecord& record);

}  // namespace quorvex
