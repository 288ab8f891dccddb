#pragma once
// What the reader keeps of one topic besides its model form, until the
// context names are known.

#include <cstdint>
#include <utility>
#include <vector>

#include "base/ByteString.h"
#include "hlp/RecordParagraphs.h"
#include "model/DocText.h"

namespace quorvex {

struct HelpTopic {
  std::uint32_t Offset = 0;    ///< the topic's offset (WinHelp 3.0: its header's position)
  std::uint32_t Position = 0;  ///< its header's position in |TOPIC
  /// Neighbours in the browse sequence: topic offsets (WinHelp 3.0: topic
  /// numbers); -1 for none.
  std::int64_t BrowsePrevious = -1, BrowseNext = -1;
  DocText Title;
  std::vector<ByteString> Macros;  ///< run when the topic opens
  /// Each text record's offset and the paragraph it starts with.
  std::vector<std::pair<std::uint32_t, std::size_t>> Records;
  std::vector<PendingLink> Links;
  std::vector<ByteString> Keywords, ALinks;  ///< in the help's code page
};

}  // namespace quorvex
