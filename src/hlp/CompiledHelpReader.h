#pragma once
// A compiled WinHelp file (.hlp of WinHelp 3.0, 3.1 and 4.0) into the document
// model: topics with their "#", "$", "K" and "A" footnotes and paragraphs,
// hotspots written as the RTF form writes them, pictures in their .shg form.
// Everything only a compiled help has (hashed context names, map numbers,
// browse sequences) is resolved here, so the model reads like one made from
// the help's sources.

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "base/ByteString.h"
#include "model/HelpDocument.h"

namespace quorvex {

struct CompiledHelpOptions {
  int CodePage = 0;         ///< read the text in this code page; 0: the one the help says
  bool KeepGoing = false;   ///< damage is a warning, and the rest is read
  ByteString FileName;      ///< the help's own file name, to tell its links from links into other helps
  /// Context names met outside the help (its contents file): they name the
  /// topics whose hashes they match.
  std::vector<ByteString> KnownNames;
};

/// A map number and the context that reaches its topic.
struct HelpMapEntry {
  ByteString Context;
  std::uint32_t Id = 0;
};

struct CompiledHelp {
  /// The topics in file order. Each has a first "#" footnote naming its page:
  /// a context name recovered from the help's text whose hash matches, else
  /// one made from the title, else "topic_<n>"; every hotspot's hidden text
  /// names a context of the model.
  HelpDocument Document;
  DocText Title;
  ByteString ContentsTopic;  ///< the context of the contents topic; empty: none given
  int CodePage = 0;          ///< the code page the text was read in
  std::optional<std::uint32_t> Background;  ///< the main window's colour, 0xRRGGBB
  std::vector<HelpMapEntry> Map;
  /// Every context hash of the help and the context of the model that stands
  /// for its place, so that links from other helps find it by hash.
  std::vector<std::pair<std::uint32_t, ByteString>> HashedContexts;
  /// Topic indices for a contents list: each browse sequence from its start
  /// where its first topic stands, other topics in file order.
  std::vector<std::size_t> BrowseOrder;
  ByteString ContentsFileName;     ///< the .cnt the help names, if any
  std::vector<ByteString> Warnings;  ///< problems read past (with keep-going) and things left out
};

/// Reads a compiled help. A file that is none, or damage while not keeping
/// going, raises EHelpFileError naming the internal file and the offset.
CompiledHelp ReadCompiledHelp(std::span<const std::uint8_t> file, const CompiledHelpOptions& options);

}  // namespace quorvex
