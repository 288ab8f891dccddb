#pragma once
// The internal files that point into |TOPIC by topic offset: context hashes
// (|CONTEXT), map numbers (|CTXOMAP), titles (|TTLBTREE), context names kept
// by some compilers (|TopicId), keywords (|KWBTREE with |KWDATA, |AWBTREE
// with |AWDATA) and, in WinHelp 3.0, the topic numbers (|TOMAP).

#include <cstdint>
#include <vector>

#include "base/ByteString.h"
#include "hlp/HelpFileSystem.h"

namespace quorvex {

struct HashedContext {
  std::uint32_t Hash = 0;
  std::uint32_t Offset = 0;
};

struct MappedNumber {
  std::uint32_t Id = 0;
  std::uint32_t Offset = 0;
};

/// A title, a context name or a keyword, and the topic offset it belongs to.
struct OffsetText {
  std::uint32_t Offset = 0;
  ByteString Text;  ///< in the help's code page
};

/// Each reader gives what it could read; damage is a problem.
std::vector<HashedContext> ReadContexts(const InternalFile& file, ReadProblems& problems);
std::vector<MappedNumber> ReadContextMap(const InternalFile& file, ReadProblems& problems);
std::vector<OffsetText> ReadOffsetTexts(const InternalFile& file, const char* name, ReadProblems& problems);
/// Every (keyword, topic offset) pair of a keyword tree and its data file.
std::vector<OffsetText> ReadKeywords(const InternalFile& tree, const InternalFile& data, const char* name,
                                     ReadProblems& problems);
std::vector<std::uint32_t> ReadTopicNumbers(const InternalFile& file);

}  // namespace quorvex
