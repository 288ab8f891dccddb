#include "hlp/TopicFile.h"

#include <algorithm>

#include "base/ByteReader.h"
#include "base/CompressedNumbers.h"
#include "base/Lz77.h"

namespace quorvex {
namespace {

constexpr char kName[] = "|TOPIC";
constexpr std::size_t kBlockHeaderSize = 12;
constexpr std::size_t kRecordHeaderSize = 21;
constexpr std::size_t kPackedBlockSize = 16384;
constexpr std::uint32_t kOffsetBlockUnit = 32768;
// Phrases let a few bytes stand for many: the expanded text of all records
// together is held to this many bytes per stored byte of |TOPIC (and at
// least kMinTextBudget), far beyond what help compilers make.
constexpr std::size_t kTextGrowthBudget = 64;
constexpr std::size_t kMinTextBudget = std::size_t{16} << 20;

// The expanded data of every block, one after the other, and where each block's begins.
class TopicData {
 public:
  TopicData(const InternalFile& file, const SystemInfo& system) : system_(system) {
    const std::size_t blockSize = system.TopicBlockSize();
    for (std::size_t at = 0; at < file.Bytes.size(); at += blockSize) {
      auto block = file.Bytes.subspan(at, std::min(blockSize, file.Bytes.size() - at));
      if (block.size() < kBlockHeaderSize) break;
      ByteReader header(block);
      header.Skip(4);
      firstRecords_.push_back(header.I32LE());
      starts_.push_back(data_.size());
      auto stored = block.subspan(kBlockHeaderSize);
      if (system.TopicsPacked()) {
        auto expanded = ExpandLz77(stored, kPackedBlockSize);
        data_.insert(data_.end(), expanded.begin(), expanded.end());
      } else {
        data_.insert(data_.end(), stored.begin(), stored.end());
      }
    }
    starts_.push_back(data_.size());
  }

  // The size a block expands to at most: positions count in these units.
  std::size_t BlockUnit() const {
    return system_.TopicsPacked() ? kPackedBlockSize : system_.TopicBlockSize() - kBlockHeaderSize;
  }

  std::size_t BlockOf(std::uint32_t position) const {
    if (system_.IsVersion30()) return position / system_.TopicBlockSize();
    return position < kBlockHeaderSize ? SIZE_MAX : (position - kBlockHeaderSize) / BlockUnit();
  }

  // Where a record position lies in the data; nothing when it lies in no block.
  std::optional<std::size_t> Locate(std::uint32_t position) const {
    std::size_t block = BlockOf(position), offset;
    if (system_.IsVersion30()) {
      // WinHelp 3.0 counts positions in the stored file, block headers included.
      if (position % system_.TopicBlockSize() < kBlockHeaderSize) return std::nullopt;
      offset = position % system_.TopicBlockSize() - kBlockHeaderSize;
    } else {
      if (block == SIZE_MAX) return std::nullopt;
      offset = (position - kBlockHeaderSize) % BlockUnit();
    }
    if (block + 1 >= starts_.size() || offset >= starts_[block + 1] - starts_[block]) return std::nullopt;
    return starts_[block] + offset;
  }

  std::size_t BlockCount() const { return firstRecords_.size(); }
  std::int32_t FirstRecord(std::size_t block) const { return firstRecords_[block]; }
  std::span<const std::uint8_t> Bytes() const { return data_; }

 private:
  const SystemInfo& system_;
  std::vector<std::uint8_t> data_;
  std::vector<std::size_t> starts_;
  std::vector<std::int32_t> firstRecords_;
};

struct RecordHeader {
  std::int32_t Size = 0;       // both parts, the second as stored
  std::int32_t TextSize = 0;   // the second part expanded
  std::int32_t Next = 0;
  std::int32_t FormatSize = 0;  // the header and the first part
  std::uint8_t Type = 0;
};

RecordHeader ReadRecordHeader(ByteReader& reader) {
  RecordHeader header;
  header.Size = reader.I32LE();
  header.TextSize = reader.I32LE();
  reader.Skip(4);  // previous record
  header.Next = reader.I32LE();
  header.FormatSize = reader.I32LE();
  header.Type = reader.U8();
  return header;
}

// Reads the record at `where`; EHelpFileError when it does not fit.
TopicRecord ReadRecord(const TopicData& data, std::size_t where, std::uint32_t position, const RecordHeader& header,
                       const PhraseTable& phrases, std::size_t& budget, ReadProblems& problems) {
  const auto bytes = data.Bytes();
  if (header.FormatSize < static_cast<std::int32_t>(kRecordHeaderSize) || header.Size < header.FormatSize ||
      static_cast<std::uint64_t>(header.Size) > bytes.size() - where || header.TextSize < 0) {
    throw EHelpFileError(kName, position, "a record's sizes do not fit the topic data");
  }
  TopicRecord record;
  record.Position = position;
  record.Type = static_cast<RecordType>(header.Type);
  auto format = bytes.subspan(where + kRecordHeaderSize, header.FormatSize - kRecordHeaderSize);
  record.Format.assign(format.begin(), format.end());
  auto stored = bytes.subspan(where + header.FormatSize, header.Size - header.FormatSize);
  const std::size_t textSize = static_cast<std::size_t>(header.TextSize);
  if (textSize > budget) throw EHelpFileError(kName, position, "the record's text expands beyond any help's size");
  if (textSize > stored.size() && phrases.Type() != PhraseTable::Kind::None) {
    bool damaged = false;
    record.Text = phrases.Expand(stored, textSize, damaged);
    if (damaged) {
      problems.ReportOnce("phrases", EHelpFileError(kName, position, "the record's text refers to phrases the help lacks"));
    }
  } else {
    if (textSize > stored.size()) {
      problems.ReportOnce("short text", EHelpFileError(kName, position, "the record's text is cut short"));
    }
    record.Text.assign(stored.begin(), stored.begin() + std::min(textSize, stored.size()));
  }
  budget -= record.Text.size();
  return record;
}

}  // namespace

std::uint32_t RecordCharacters(const TopicRecord& record) {
  if (record.Type != RecordType::Text && record.Type != RecordType::Table) return 0;
  try {
    ByteReader reader(record.Format);
    ReadCompressedSignedDword(reader);  // the topic size
    return ReadCompressedWord(reader);
  } catch (const EReadPastEnd&) {
    return 0;
  }
}

std::vector<TopicRecord> ReadTopicRecords(const InternalFile& file, const SystemInfo& system,
                                          const PhraseTable& phrases, ReadProblems& problems) {
  const TopicData data(file, system);
  std::vector<TopicRecord> records;
  if (data.BlockCount() == 0) return records;
  std::int64_t position = data.FirstRecord(0);
  std::size_t block = SIZE_MAX;
  std::uint32_t characters = 0;
  // Every record takes its header's bytes at least: no chain is longer.
  const std::size_t maxRecords = data.Bytes().size() / kRecordHeaderSize + 1;
  std::size_t budget = std::max(kMinTextBudget, file.Bytes.size() * kTextGrowthBudget);
  while (position > 0 && records.size() < maxRecords) {
    const auto pos = static_cast<std::uint32_t>(position);
    std::int64_t next = -1;
    try {
      std::optional<std::size_t> where = data.Locate(pos);
      if (!where || data.Bytes().size() - *where < kRecordHeaderSize) {
        throw EHelpFileError(kName, pos, "a record lies outside the topic data");
      }
      ByteReader reader(data.Bytes().subspan(*where));
      const RecordHeader header = ReadRecordHeader(reader);
      next = system.IsVersion30() ? position + header.Next : header.Next;
      if (header.Next <= 0 || (next > 0 && next <= position)) {
        if (header.Next > 0) throw EHelpFileError(kName, pos, "the chain of records goes back");
        break;  // the empty record that ends the chain
      }
      TopicRecord record = ReadRecord(data, *where, pos, header, phrases, budget, problems);
      if (data.BlockOf(pos) != block) {
        block = data.BlockOf(pos);
        characters = 0;
      }
      record.Offset = system.IsVersion30() ? pos : static_cast<std::uint32_t>(block * kOffsetBlockUnit + characters);
      characters += RecordCharacters(record);
      records.push_back(std::move(record));
    } catch (const EHelpFileError& problem) {
      problems.Report(problem);
      // Go on with the first record that starts in a later block.
      next = -1;
      for (std::size_t b = data.BlockOf(pos) + 1; b < data.BlockCount() && next < 0; ++b) {
        if (data.FirstRecord(b) > position) next = data.FirstRecord(b);
      }
    }
    position = next;
  }
  return records;
}

}  // namespace quorvex
