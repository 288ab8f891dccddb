#include "hlp/IndexFiles.h"

#include "base/ByteReader.h"
#include "hlp/BTree.h"

namespace quorvex {
namespace {

ByteString ReadString(ByteReader& reader) {
  ByteString text;
  for (std::uint8_t c = reader.U8(); c != 0; c = reader.U8()) text.push_back(static_cast<char>(c));
  return text;
}

// A tree that cannot be read gives nothing, as a problem.
void ForEachEntry(const InternalFile& file, const char* name, ReadProblems& problems,
                  const std::function<void(ByteReader&)>& read) {
  try {
    BTree(file.Bytes, name).ForEachEntry(problems, read);
  } catch (const EHelpFileError& problem) {
    problems.Report(problem);
  }
}

}  // namespace

std::vector<HashedContext> ReadContexts(const InternalFile& file, ReadProblems& problems) {
  std::vector<HashedContext> contexts;
  ForEachEntry(file, "|CONTEXT", problems, [&](ByteReader& entry) {
    HashedContext context;
    context.Hash = entry.U32LE();
    context.Offset = entry.U32LE();
    contexts.push_back(context);
  });
  return contexts;
}

std::vector<MappedNumber> ReadContextMap(const InternalFile& file, ReadProblems& problems) {
  std::vector<MappedNumber> numbers;
  ByteReader reader(file.Bytes);
  try {
    const std::uint16_t count = reader.U16LE();
    ByteReader entries = reader.Sub(std::uint64_t{count} * 8);
    numbers.reserve(count);
    for (std::uint16_t i = 0; i < count; ++i) {
      MappedNumber number;
      number.Id = entries.U32LE();
      number.Offset = entries.U32LE();
      numbers.push_back(number);
    }
  } catch (const EReadPastEnd&) {
    problems.Report(EHelpFileError("|CTXOMAP", 0, "more map numbers announced than the file holds"));
  }
  return numbers;
}

std::vector<OffsetText> ReadOffsetTexts(const InternalFile& file, const char* name, ReadProblems& problems) {
  std::vector<OffsetText> texts;
  ForEachEntry(file, name, problems, [&](ByteReader& entry) {
    OffsetText text;
    text.Offset = entry.U32LE();
    text.Text = ReadString(entry);
    texts.push_back(std::move(text));
  });
  return texts;
}

std::vector<OffsetText> ReadKeywords(const InternalFile& tree, const InternalFile& data, const char* name,
                                     ReadProblems& problems) {
  std::vector<OffsetText> keywords;
  ForEachEntry(tree, name, problems, [&](ByteReader& entry) {
    const ByteString keyword = ReadString(entry);
    const std::uint16_t count = entry.U16LE();
    const std::uint32_t at = entry.U32LE();
    if (at > data.Bytes.size() || std::uint64_t{count} * 4 > data.Bytes.size() - at) {
      problems.Report(EHelpFileError(name, 0, "the topics of the keyword " + keyword + " lie outside its data file"));
      return;
    }
    ByteReader offsets(data.Bytes.subspan(at, std::size_t{count} * 4));
    for (std::uint16_t i = 0; i < count; ++i) keywords.push_back(OffsetText{offsets.U32LE(), keyword});
  });
  return keywords;
}

std::vector<std::uint32_t> ReadTopicNumbers(const InternalFile& file) {
  std::vector<std::uint32_t> positions;
  ByteReader reader(file.Bytes);
  positions.reserve(reader.Size() / 4);
  while (reader.Remaining() >= 4) positions.push_back(reader.U32LE());
  return positions;
}

}  // namespace quorvex
