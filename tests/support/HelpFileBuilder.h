#pragma once
// Builds compiled WinHelp files (.hlp) piece by piece for the reader's tests:
// the LZ77 packing, B+ trees, the file system, |SYSTEM and |FONT, paragraph
// records and |TOPIC, and a whole help of topics with contexts, keywords,
// titles and a map.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/LittleEndianBytes.h"

namespace quorvex::test {

/// The bytes of a text, without (Str) or with (Z) a zero after them.
Bytes Str(std::string_view text);
Bytes Z(std::string_view text);
Bytes Join(std::initializer_list<Bytes> parts);

/// The compressed numbers of the paragraph records and pictures.
void PutCompressedUnsignedWord(Bytes& out, std::uint32_t value);
void PutCompressedSignedWord(Bytes& out, std::int32_t value);
void PutCompressedSignedDword(Bytes& out, std::int64_t value);

/// LZ77 as WinHelp packs: the longest earlier match within 4 KB, 3 to 18 bytes.
Bytes PackLz77(const Bytes& raw);

/// A B+ tree of `entries` (in key order, each as a leaf holds it), with
/// `keys[i]` the part of entry i an index page repeats. Leaves take
/// `perLeaf` entries at most; index levels are added until one page is the root.
Bytes BTreeFile(const std::vector<Bytes>& entries, const std::vector<Bytes>& keys, const std::string& structure,
                std::uint16_t pageSize = 1024, std::size_t perLeaf = 1000);

/// The whole help file: header, directory and the internal files.
Bytes HelpFile(const std::map<std::string, Bytes>& files, std::size_t directoryPerLeaf = 1000,
               std::uint16_t directoryPageSize = 1024);

/// |SYSTEM of WinHelp 3.1 and on: the header and records (type, data).
Bytes SystemFile(std::uint16_t minor, std::uint16_t flags, const std::vector<std::pair<std::uint16_t, Bytes>>& records);

/// One font of |FONT.
struct BuiltFont {
  std::string Face = "Arial";
  std::uint8_t Attributes = 0;  ///< 1 bold, 2 italic, 4 underline, 8 strike, 0x10 double underline
  std::uint8_t HalfPoints = 20;
  std::uint8_t Rgb[3] = {1, 1, 0};  ///< the default colour as compilers write it
};
Bytes FontFile(const std::vector<BuiltFont>& fonts);

/// A paragraph record (0x20 text, 0x23 table row, 0x01 text of WinHelp 3.0):
/// paragraph formats, commands, and the text strings between them.
class RecordBuilder {
 public:
  explicit RecordBuilder(std::uint8_t type = 0x20) : type_(type) {}

  /// A table row's columns (width, gap each).
  RecordBuilder& Columns(std::vector<std::pair<int, int>> columns);
  /// A paragraph format: the bits and the values they announce, in order
  /// (compressed numbers; a border is given as its byte).
  RecordBuilder& Paragraph(std::uint16_t bits = 0, std::vector<int> values = {});
  /// A table cell's paragraph: its column, then the paragraph format.
  RecordBuilder& Cell(int column, std::uint16_t bits = 0, std::vector<int> values = {});
  RecordBuilder& Text(std::string_view bytes);
  /// A command and its argument bytes; the text written so far is the string before it.
  RecordBuilder& Command(std::uint8_t command, const Bytes& arguments = {});
  RecordBuilder& Font(int number);
  RecordBuilder& Par() { return Command(0x82); }
  RecordBuilder& End() { return Command(0xFF); }
  RecordBuilder& Hotspot(std::uint8_t command, std::uint32_t hash);
  RecordBuilder& HotspotEnd() { return Command(0x89); }
  RecordBuilder& Macro(std::string_view macro);
  /// {bmc|bml|bmr} of |bm<number> (command 0x86, 0x87, 0x88).
  RecordBuilder& Picture(std::uint8_t command, std::uint16_t number, std::uint16_t hotspots = 0);
  /// A picture kept in the record (the .shg bytes).
  RecordBuilder& StoredPicture(std::uint8_t command, const Bytes& shg);
  /// {button label,macro}, or any embedded object text (kind 5).
  RecordBuilder& Object(std::uint8_t command, std::string_view text);

  std::uint8_t Type() const { return type_; }
  Bytes FormatPart() const;  ///< with the record's leading numbers
  const Bytes& TextPart() const { return text_; }
  std::uint32_t Characters() const { return static_cast<std::uint32_t>(text_.size()) + hotspots_; }

 private:
  std::uint8_t type_;
  Bytes columns_, body_, text_;
  std::string pending_;
  std::uint32_t hotspots_ = 0;
};

/// One topic of a built help.
struct BuiltTopic {
  explicit BuiltTopic(std::string title = "", std::vector<std::string> contexts = {}, std::vector<std::string> keywords = {},
                     std::vector<std::string> alinks = {}, std::vector<std::string> macros = {})
      : Title(std::move(title)), Contexts(std::move(contexts)), Keywords(std::move(keywords)), ALinks(std::move(alinks)),
        Macros(std::move(macros)) {}

  std::string Title;
  std::vector<std::string> Contexts;  ///< hashed into |CONTEXT at the topic's start
  std::vector<std::string> Keywords, ALinks;
  std::vector<std::string> Macros;
  std::vector<RecordBuilder> Records;
  std::size_t NonScrolling = 0;  ///< how many of the first records form the non-scrolling region
  int BrowseNext = -1;           ///< the next topic of its browse sequence
  /// Contexts placed at the start of record `second` of the topic.
  std::vector<std::pair<std::string, std::size_t>> Places;
};

/// How the text of the records is phrase-compressed.
enum class PhraseKind { None, Classic, Hall };

/// A whole compiled help.
struct HelpBuilder {
  std::uint16_t Minor = 33;
  std::uint16_t Flags = 4;  ///< 4: LZ77-packed blocks of 4 KB (16 KB expanded); 8: of 2 KB; 0: stored
  /// Packed blocks filled to the last byte with literals, so that they end
  /// before 16 KB expanded, as blocks of text that packs badly do.
  bool FullBlocks = false;
  std::string Title = "Test help";
  std::uint16_t Language = 0x409;
  std::vector<std::pair<std::uint16_t, Bytes>> SystemRecords;  ///< more records of |SYSTEM
  std::vector<BuiltFont> Fonts{BuiltFont{}};
  std::vector<BuiltTopic> Topics;
  std::vector<std::pair<std::uint32_t, std::string>> Map;  ///< map number, a context of a topic
  PhraseKind Phrasing = PhraseKind::None;
  std::vector<std::string> Phrases;
  std::map<std::string, Bytes> Files;  ///< more internal files (|bm0, ...)
  std::size_t PerLeaf = 1000;          ///< entries per B+ tree leaf
  std::uint16_t PageSize = 1024;       ///< of the B+ trees

  Bytes Build();

  /// Filled by Build: each topic's offset, each record's offset.
  std::vector<std::uint32_t> TopicOffsets;
  std::vector<std::vector<std::uint32_t>> RecordOffsets;
};

}  // namespace quorvex::test
