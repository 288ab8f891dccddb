#pragma once
// The paragraph records of |TOPIC into paragraphs of the document model. A
// record's first part holds the paragraph format and a run of commands (font
// changes, line and paragraph ends, tabs, pictures, hotspot starts and ends);
// its second part holds the text as zero-ended strings, one before each
// command. Hotspots become what the RTF form writes: the hotspot text
// underlined (double for jumps), then hidden text naming the target, which is
// filled in once the context names are known.

#include <cstdint>
#include <span>
#include <vector>

#include "base/ByteString.h"
#include "hlp/HelpFileError.h"
#include "hlp/TopicFile.h"
#include "model/HelpDocument.h"
#include "model/TextDecoder.h"

namespace quorvex {

/// How text in one of the help's fonts looks and is decoded.
struct FontStyle {
  CharFormat Format;
  FontInfo Decoding;
};

/// Where a hotspot leads, as the record says, before context names are known.
struct HotspotLink {
  enum class Kind : std::uint8_t { Jump, Popup, Macro };
  Kind Type = Kind::Jump;
  bool Plain = false;        ///< shown without underline and colour
  std::uint32_t Target = 0;  ///< the context's hash (WinHelp 3.0: the topic number)
  ByteString Window;         ///< a secondary window
  ByteString File;           ///< another help file
  ByteString Macro;          ///< the macro of a macro hotspot, in the help's code page
};

/// A hotspot's hidden target piece, written once names are known.
struct PendingLink {
  std::size_t Paragraph = 0, Piece = 0;
  HotspotLink Link;
};

/// What reading a record needs from the rest of the reader.
class RecordContext {
 public:
  virtual ~RecordContext() = default;
  virtual const FontStyle& Font(int number) = 0;
  virtual const TextDecoder& Decoder() const = 0;
  /// The document's picture for |bm<number>.
  virtual std::size_t NumberedPicture(int number) = 0;
  /// The document's picture for a picture stored in the record itself.
  virtual std::size_t StoredPicture(std::span<const std::uint8_t> picture) = 0;
  /// The name of window `number` of |SYSTEM; empty when there is none.
  virtual ByteString WindowName(int number) = 0;
  /// The help file the reader reads, to tell its own name from other helps'.
  virtual bool IsThisHelp(const ByteString& fileName) const = 0;
  /// A macro met in the text (context names hide in macros).
  virtual void MacroText(const ByteString& macro) = 0;
};

/// Appends the paragraphs of a text or table record to `topic`, and the
/// hotspot targets to fill in to `pending`. `nonScrolling`: the record is
/// part of the topic's non-scrolling region. A command this reader does not
/// know ends the record, as a problem.
void ReadRecordParagraphs(const TopicRecord& record, bool nonScrolling, RecordContext& context, Topic& topic,
                          std::vector<PendingLink>& pending, ReadProblems& problems);

}  // namespace quorvex
