#include "hlp/RecordParagraphs.h"

#include <optional>

#include "base/ByteReader.h"
#include "base/CompressedNumbers.h"

namespace quorvex {
namespace {

constexpr char kName[] = "|TOPIC";

enum Command : std::uint8_t {
  kField = 0x20,
  kDataType = 0x21,
  kFont = 0x80,
  kLineBreak = 0x81,
  kParagraphEnd = 0x82,
  kTab = 0x83,
  kPictureInLine = 0x86,
  kPictureLeft = 0x87,
  kPictureRight = 0x88,
  kHotspotEnd = 0x89,
  kHardSpace = 0x8B,
  kNoBreakHyphen = 0x8C,
  kMacro = 0xC8,
  kMacroPlain = 0xCC,
  kPopup30 = 0xE0,
  kJump30 = 0xE1,
  kPopup = 0xE2,
  kJump = 0xE3,
  kPopupPlain = 0xE6,
  kJumpPlain = 0xE7,
  kPopupElsewhere = 0xEA,
  kPopupElsewherePlain = 0xEB,
  kJumpElsewhere = 0xEE,
  kJumpElsewherePlain = 0xEF,
  kEnd = 0xFF,
};

// Which optional fields a paragraph format carries.
enum FormatBit : std::uint16_t {
  kUnknownNumber = 0x0001,
  kSpaceAbove = 0x0002,
  kSpaceBelow = 0x0004,
  kLineSpacing = 0x0008,
  kLeftIndent = 0x0010,
  kRightIndent = 0x0020,
  kFirstIndent = 0x0040,
  kBorder = 0x0100,
  kTabStops = 0x0200,
  kCentered = 0x0800,
};

// A tab stop with this bit carries its kind too.
constexpr std::uint16_t kTabKindFollows = 0x4000;

// Picture kinds of the picture commands.
constexpr std::uint8_t kPictureWithHotspots = 0x22;
constexpr std::uint8_t kPicture = 0x03;
constexpr std::uint8_t kEmbeddedObject = 0x05;

// Indents are counted in half-points; the model counts twips.
constexpr int kTwipsPerHalfPoint = 10;

ByteString ReadString(ByteReader& reader) {
  ByteString text;
  while (!reader.AtEnd()) {
    std::uint8_t c = reader.U8();
    if (c == 0) break;
    text.push_back(static_cast<char>(c));
  }
  return text;
}

// The .shg form starts "lP" or "lp"; a picture kept in a record has a few
// bytes before it.
std::span<const std::uint8_t> StoredPictureBytes(std::span<const std::uint8_t> data) {
  for (std::size_t skip = 0; skip + 2 <= data.size() && skip <= 4; skip += 2) {
    if (data[skip] == 'l' && (data[skip + 1] == 'P' || data[skip + 1] == 'p')) return data.subspan(skip);
  }
  return data.subspan(std::min<std::size_t>(2, data.size()));
}

HotspotLink LinkOf(HotspotLink::Kind kind, bool plain) {
  HotspotLink link;
  link.Type = kind;
  link.Plain = plain;
  return link;
}

Inline PieceOf(InlineKind kind, const CharFormat& format, DocText text = DocText()) {
  Inline piece;
  piece.Kind = kind;
  piece.Format = format;
  piece.Text = std::move(text);
  return piece;
}

class RecordReader {
 public:
  RecordReader(const TopicRecord& record, bool nonScrolling, RecordContext& context, Topic& topic,
               std::vector<PendingLink>& pending, ReadProblems& problems)
      : record_(record), nonScrolling_(nonScrolling), context_(context), topic_(topic), pending_(pending),
        problems_(problems), format_(record.Format), text_(record.Text), font_(&context.Font(-1)) {}

  /// Problems of a kind that may repeat in every record are reported once, by this key.
  const ByteString& ProblemKey() const { return problemKey_; }

  void Read() {
    ReadCompressedSignedDword(format_);  // the size of the topic so far
    const bool table = record_.Type == RecordType::Table;
    if (record_.Type != RecordType::Text30) ReadCompressedWord(format_);  // characters
    if (table) ReadColumns();
    const std::size_t first = topic_.Paragraphs.size();
    if (!table) {
      ReadParagraphFormat();
      ReadCommands();
      return;
    }
    std::vector<std::pair<int, std::size_t>> cells;  // column, paragraph count after it
    for (;;) {
      const std::int16_t column = format_.I16LE();
      if (column == -1) break;
      format_.Skip(3);
      ReadParagraphFormat();
      ReadCommands();
      cells.emplace_back(column, topic_.Paragraphs.size());
    }
    EndRow(first, cells);
  }

 private:
  // Each column's width and the gap after it; tables of kind 0 and 2 give
  // widths relative to the table (all together 32767), after its least width.
  void ReadColumns() {
    const std::uint8_t columns = format_.U8();
    const std::uint8_t kind = format_.U8();
    const bool relative = kind == 0 || kind == 2;
    if (relative) format_.Skip(2);
    cells_.Percent = relative;
    for (std::uint8_t i = 0; i < columns; ++i) {
      const std::int16_t width = format_.I16LE();
      format_.Skip(2);  // the gap
      cells_.Widths.push_back(relative ? (width * 100 + 16383) / 32767 : width * kTwipsPerHalfPoint);
    }
  }

  void ReadParagraphFormat() {
    format_.Skip(4);  // two bytes of unknown use, the paragraph id
    const std::uint16_t bits = format_.U16LE();
    if (bits & kUnknownNumber) ReadCompressedSignedDword(format_);
    for (std::uint16_t skipped : {kSpaceAbove, kSpaceBelow, kLineSpacing}) {
      if (bits & skipped) ReadCompressedSignedWord(format_);
    }
    paragraph_ = ParaFormat{};
    if (bits & kLeftIndent) paragraph_.LeftIndent = ReadCompressedSignedWord(format_) * kTwipsPerHalfPoint;
    if (bits & kRightIndent) ReadCompressedSignedWord(format_);
    if (bits & kFirstIndent) paragraph_.FirstIndent = ReadCompressedSignedWord(format_) * kTwipsPerHalfPoint;
    border_ = false;
    if (bits & kBorder) {
      border_ = format_.U8() != 0;
      format_.Skip(2);  // width
    }
    if (bits & kTabStops) {
      const std::int16_t stops = ReadCompressedSignedWord(format_);
      for (std::int16_t i = 0; i < stops; ++i) {
        if (ReadCompressedWord(format_) & kTabKindFollows) ReadCompressedWord(format_);
      }
    }
    paragraph_.Centered = bits & kCentered;
    paragraph_.KeepNext = nonScrolling_;
    paragraph_.InTable = record_.Type == RecordType::Table;
    borders_ = borders_ || border_;
  }

  void StartParagraph() {
    Paragraph paragraph;
    paragraph.Format = paragraph_;
    topic_.Paragraphs.push_back(std::move(paragraph));
    ++started_;
  }

  Paragraph& Current() { return topic_.Paragraphs.back(); }

  void ReadCommands() {
    started_ = 0;
    StartParagraph();
    for (;;) {
      AddText(NextString());
      if (format_.AtEnd()) throw EHelpFileError(kName, record_.Position, "the record's commands end without an end mark");
      const std::uint8_t command = format_.U8();
      if (command == kEnd) break;
      RunCommand(command);
    }
    CloseHotspot();
    // A paragraph end just before the end mark leaves an empty paragraph
    // behind; a cell with nothing in it keeps its one.
    const bool table = record_.Type == RecordType::Table;
    if (Current().Inlines.empty() && (started_ > 1 || !table)) topic_.Paragraphs.pop_back();
  }

  void RunCommand(std::uint8_t command) {
    switch (command) {
      case kField: format_.Skip(4); break;
      case kDataType: format_.Skip(2); break;
      case kFont: font_ = &context_.Font(format_.I16LE()); break;
      case kLineBreak: AddPiece(InlineKind::LineBreak); break;
      case kParagraphEnd: EndParagraph(); break;
      case kTab: AddPiece(InlineKind::Tab); break;
      case kPictureInLine: ReadPicture(Placement::InLine); break;
      case kPictureLeft: ReadPicture(Placement::Left); break;
      case kPictureRight: ReadPicture(Placement::Right); break;
      case kHotspotEnd: CloseHotspot(); break;
      case kHardSpace: AddText(DocText(1, kNoBreakSpace)); break;
      case kNoBreakHyphen: break;  // the hyphen itself is in the text
      case kMacro:
      case kMacroPlain: {
        const std::int16_t length = format_.I16LE();
        auto macro = format_.Bytes(length > 3 ? length - 3 : 0);
        HotspotLink link = LinkOf(HotspotLink::Kind::Macro, command == kMacroPlain);
        link.Macro.assign(macro.begin(), macro.end());
        while (!link.Macro.empty() && link.Macro.back() == 0) link.Macro.pop_back();
        context_.MacroText(link.Macro);
        OpenHotspot(link);
        break;
      }
      case kPopup30:
      case kJump30:
      case kPopup:
      case kJump:
      case kPopupPlain:
      case kJumpPlain: {
        const bool popup = command == kPopup30 || command == kPopup || command == kPopupPlain;
        HotspotLink link = LinkOf(popup ? HotspotLink::Kind::Popup : HotspotLink::Kind::Jump,
                                  command == kPopupPlain || command == kJumpPlain);
        link.Target = format_.U32LE();
        OpenHotspot(link);
        break;
      }
      case kPopupElsewhere:
      case kPopupElsewherePlain:
      case kJumpElsewhere:
      case kJumpElsewherePlain: ReadLinkElsewhere(command); break;
      default: {
        const ByteString hex = (command < 16 ? "0" : "") + HexText(command);
        problemKey_ = "command " + hex;  // a help that uses it uses it often
        throw EHelpFileError(kName, record_.Position,
                             "unknown formatting command 0x" + hex + "; the rest of the record is left out");
      }
    }
  }

  // A jump or popup into another help file or a secondary window: its own
  // size, a kind, the hash, then a window number or a file and window name.
  void ReadLinkElsewhere(std::uint8_t command) {
    const bool popup = command == kPopupElsewhere || command == kPopupElsewherePlain;
    HotspotLink link = LinkOf(popup ? HotspotLink::Kind::Popup : HotspotLink::Kind::Jump,
                              command == kPopupElsewherePlain || command == kJumpElsewherePlain);
    const std::int16_t size = format_.I16LE();
    ByteReader data = format_.Sub(size > 0 ? size : 0);
    const std::uint8_t kind = data.U8();
    link.Target = data.U32LE();
    if (kind == 1) link.Window = context_.WindowName(data.U8());
    if (kind == 4 || kind == 6) {
      link.File = ReadString(data);
      if (context_.IsThisHelp(link.File)) link.File.clear();
    }
    if (kind == 6) link.Window = ReadString(data);
    OpenHotspot(link);
  }

  void ReadPicture(Placement placement) {
    const std::uint8_t kind = format_.U8();
    const std::int32_t size = ReadCompressedSignedDword(format_);
    if (kind == kPictureWithHotspots) ReadCompressedWord(format_);
    if (size < 0) throw EHelpFileError(kName, record_.Position, "a picture of negative size");
    ByteReader data = format_.Sub(static_cast<std::uint32_t>(size));
    if (kind == kPicture || kind == kPictureWithHotspots) {
      Inline piece = PieceOf(InlineKind::Picture, PieceFormat());
      piece.Alignment = placement;
      if (data.I16LE() == 0) {
        piece.PictureIndex = context_.NumberedPicture(data.U16LE());
      } else {
        piece.PictureIndex = context_.StoredPicture(StoredPictureBytes(data.Rest()));
      }
      Current().Inlines.push_back(std::move(piece));
      return;
    }
    if (kind != kEmbeddedObject) {
      problems_.NoteOnce("picture kind " + DecimalText(kind), kName, record_.Position,
                         "a picture of unknown kind " + DecimalText(kind) + " is left out");
      return;
    }
    data.Skip(6);
    const ByteString object = ReadString(data);
    if (!object.empty() && object[0] == '!') {
      ReadButton(std::string_view(object).substr(1));
    } else {
      problems_.NoteOnce(object, kName, record_.Position,
                         "an embedded window or media clip (" + object + ") has no counterpart on a page");
    }
  }

  // "{button label, macro}" is kept as "!label,macro".
  void ReadButton(std::string_view button) {
    const std::size_t comma = button.find(',');
    Inline piece = PieceOf(InlineKind::Button, PieceFormat());
    context_.Decoder().Decode(button.substr(0, comma), &font_->Decoding, piece.Text);
    piece.Text = TrimBlanks(piece.Text);
    if (comma != std::string_view::npos) {
      const ByteString macro(button.substr(comma + 1));
      context_.MacroText(macro);
      context_.Decoder().Decode(macro, nullptr, piece.Target);
      piece.Target = TrimBlanks(piece.Target);
    }
    Current().Inlines.push_back(std::move(piece));
  }

  std::string_view NextString() {
    const auto* begin = reinterpret_cast<const char*>(text_.data());
    std::size_t end = textAt_;
    while (end < text_.size() && text_[end] != 0) ++end;
    std::string_view bytes(begin + textAt_, end - textAt_);
    textAt_ = std::min(end + 1, text_.size());
    return bytes;
  }

  CharFormat PieceFormat() const {
    CharFormat format = font_->Format;
    if (hotspot_) format.Underlined = hotspot_->Type == HotspotLink::Kind::Popup ? Underline::Single : Underline::Double;
    return format;
  }

  void AddText(std::string_view bytes) {
    if (bytes.empty()) return;
    DocText text;
    context_.Decoder().Decode(bytes, &font_->Decoding, text);
    AddText(text);
  }

  void AddText(const DocText& text) {
    const CharFormat format = PieceFormat();
    std::vector<Inline>& pieces = Current().Inlines;
    if (!pieces.empty() && pieces.back().Kind == InlineKind::Text && pieces.back().Format == format && !format.Hidden) {
      pieces.back().Text += text;
    } else {
      pieces.push_back(PieceOf(InlineKind::Text, format, text));
    }
  }

  void AddPiece(InlineKind kind) { Current().Inlines.push_back(PieceOf(kind, PieceFormat())); }

  void OpenHotspot(const HotspotLink& link) {
    CloseHotspot();
    hotspot_ = link;
  }

  // The hidden piece after the hotspot's text; its target is written later.
  void CloseHotspot() {
    if (!hotspot_) return;
    CharFormat hidden = font_->Format;
    hidden.Hidden = true;
    Current().Inlines.push_back(PieceOf(InlineKind::Text, hidden));
    pending_.push_back(PendingLink{topic_.Paragraphs.size() - 1, Current().Inlines.size() - 1, *hotspot_});
    hotspot_.reset();
  }

  // A hotspot open at a paragraph's end goes on in the next paragraph.
  void EndParagraph() {
    std::optional<HotspotLink> open = hotspot_;
    CloseHotspot();
    StartParagraph();
    hotspot_ = open;
  }

  // Cells end where the column changes; the record's last paragraph ends the row.
  void EndRow(std::size_t first, const std::vector<std::pair<int, std::size_t>>& cells) {
    if (topic_.Paragraphs.size() == first) return;
    for (std::size_t i = 0; i + 1 < cells.size(); ++i) {
      if (cells[i].first != cells[i + 1].first && cells[i].second > first) {
        topic_.Paragraphs[cells[i].second - 1].End = ParagraphEnd::Cell;
      }
    }
    topic_.Paragraphs.back().End = ParagraphEnd::Row;
    topic_.Paragraphs.back().Cells = cells_;
    for (std::size_t i = first; i < topic_.Paragraphs.size(); ++i) topic_.Paragraphs[i].TableBorders = borders_;
  }

  const TopicRecord& record_;
  bool nonScrolling_;
  RecordContext& context_;
  Topic& topic_;
  std::vector<PendingLink>& pending_;
  ReadProblems& problems_;
  ByteReader format_;
  std::span<const std::uint8_t> text_;
  std::size_t textAt_ = 0;
  const FontStyle* font_;
  ParaFormat paragraph_;
  CellWidths cells_;
  bool border_ = false, borders_ = false;
  std::size_t started_ = 0;
  std::optional<HotspotLink> hotspot_;
  ByteString problemKey_;
};

}  // namespace

void ReadRecordParagraphs(const TopicRecord& record, bool nonScrolling, RecordContext& context, Topic& topic,
                          std::vector<PendingLink>& pending, ReadProblems& problems) {
  RecordReader reader(record, nonScrolling, context, topic, pending, problems);
  try {
    reader.Read();
  } catch (const EReadPastEnd&) {
    problems.Report(EHelpFileError(kName, record.Position, "the record's formatting runs past its end"));
  } catch (const EHelpFileError& problem) {
    if (reader.ProblemKey().empty()) {
      problems.Report(problem);
    } else {
      problems.ReportOnce(reader.ProblemKey(), problem);
    }
  }
  // What a damaged record gave before the damage stays: its text as far as it goes.
}

}  // namespace quorvex
