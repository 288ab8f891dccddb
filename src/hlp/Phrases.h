#pragma once
// Phrase compression of topic text: frequent words and phrases are kept once,
// in a table, and the text refers to them by number. WinHelp 3.x keeps the
// table in |Phrases; WinHelp 4.0 may instead use "Hall" compression, with the
// phrase lengths bit-packed in |PhrIndex and the phrases in |PhrImage, and
// codes in the text for runs of literal bytes, blanks and zeros as well.

#include <cstdint>
#include <span>
#include <vector>

#include "hlp/HelpFileSystem.h"
#include "hlp/SystemFile.h"

namespace quorvex {

class PhraseTable {
 public:
  enum class Kind : std::uint8_t { None, Classic, Hall };

  PhraseTable() = default;
  PhraseTable(Kind kind, std::vector<std::uint8_t> image, std::vector<std::uint32_t> offsets);

  Kind Type() const { return kind_; }
  std::size_t Count() const { return offsets_.empty() ? 0 : offsets_.size() - 1; }
  /// Phrase `index` (no more than Count()).
  std::span<const std::uint8_t> Phrase(std::size_t index) const;

  /// Expands phrase-compressed text to at most `limit` bytes. A reference to
  /// a phrase the table lacks (or a code cut short) sets `damaged` and is left out.
  std::vector<std::uint8_t> Expand(std::span<const std::uint8_t> text, std::size_t limit, bool& damaged) const;

 private:
  void ExpandClassic(std::span<const std::uint8_t> text, std::size_t limit, std::vector<std::uint8_t>& out,
                     bool& damaged) const;
  void ExpandHall(std::span<const std::uint8_t> text, std::size_t limit, std::vector<std::uint8_t>& out,
                  bool& damaged) const;
  void Append(std::size_t index, std::size_t limit, std::vector<std::uint8_t>& out, bool& damaged) const;

  Kind kind_ = Kind::None;
  std::vector<std::uint8_t> image_;
  std::vector<std::uint32_t> offsets_;  ///< start of each phrase in image_, and the end of the last
};

/// Reads |Phrases (stored in WinHelp 3.0, LZ77-packed since 3.1); EHelpFileError when it cannot.
PhraseTable ReadClassicPhrases(const InternalFile& file, const SystemInfo& system);

/// Reads |PhrIndex and |PhrImage; EHelpFileError when they cannot be read.
PhraseTable ReadHallPhrases(const InternalFile& index, const InternalFile& image);

}  // namespace quorvex
