#include "rtf/RtfReader.h"

#include "base/ByteString.h"
#include "base/CodePages.h"
#include "rtf/RtfReaderState.h"

namespace quorvex {
namespace rtf {
namespace {

// Word nests a few dozen groups deep; anything deeper is dropped whole.
constexpr std::size_t kMaxGroupDepth = 256;

bool IsVisibleNonBlank(char32_t c, const CharFormat& format) { return !format.Hidden && !IsBlankChar(c); }

}  // namespace

Reader::Reader(std::string_view data, int projectCodePage)
    : tokens_(data), projectCodePage_(projectCodePage), decoder_(0, projectCodePage) {
  stack_.emplace_back();
}

HelpDocument Reader::Read() {
  for (RtfToken token = tokens_.Next(); token.Kind != RtfTokenKind::End; token = tokens_.Next()) {
    if (skippedDepth_ > 0) {  // inside a group past the depth limit
      if (token.Kind == RtfTokenKind::GroupStart) ++skippedDepth_;
      if (token.Kind == RtfTokenKind::GroupEnd) --skippedDepth_;
      continue;
    }
    if (token.Kind == RtfTokenKind::Text) {
      Bytes(token.Bytes);
      continue;
    }
    // Escaped bytes join the text around them: some writers escape only the
    // trail byte of a double-byte character when it is a brace or a backslash.
    const bool escapedByte = token.Kind == RtfTokenKind::ControlSymbol &&
                             (token.Symbol == '\\' || token.Symbol == '{' || token.Symbol == '}');
    if (token.Kind == RtfTokenKind::HexByte || escapedByte) {
      const char byte = escapedByte ? token.Symbol : static_cast<char>(token.Byte);
      Bytes(std::string_view(&byte, 1));
      continue;
    }
    FlushText();
    switch (token.Kind) {
      case RtfTokenKind::GroupStart: GroupStart(); break;
      case RtfTokenKind::GroupEnd: GroupEnd(); break;
      case RtfTokenKind::ControlWord: Word(token); break;
      case RtfTokenKind::ControlSymbol: Symbol(token.Symbol); break;
      case RtfTokenKind::Binary: BinaryData(token.Bytes); break;
      default: break;
    }
  }
  FlushText();
  while (stack_.size() > 1) GroupEnd();  // unclosed groups close at the end
  EndTopic();
  doc_.CodePage = DeclaredCodePage();
  return std::move(doc_);
}

// Documents in Japanese (or Chinese, Korean) that say \ansicpg1252 still
// give their default font a double-byte character set.
int Reader::DeclaredCodePage() const {
  if (IsDoubleByteCodePage(ansiCodePage_)) return ansiCodePage_;
  auto font = fonts_.find(defaultFont_);
  if (font != fonts_.end() && IsDoubleByteCodePage(font->second.CodePage)) return font->second.CodePage;
  return ansiCodePage_;
}

void Reader::GroupStart() {
  unicodeSkipLeft_ = 0;
  if (stack_.size() >= kMaxGroupDepth) {
    skippedDepth_ = 1;
    return;
  }
  stack_.push_back(stack_.back());
  starPending_ = false;
  groupStart_ = true;
  if (State().Dest == Destination::StyleSheet && styleDepth_ == 0) {
    // A group inside the style sheet is one style.
    styleDepth_ = stack_.size();
    styleNumber_ = 0;
    styleIsParagraph_ = true;
    styleOutline_ = false;
    styleName_.clear();
  }
}

void Reader::GroupEnd() {
  unicodeSkipLeft_ = 0;
  if (stack_.size() <= 1) return;  // a stray "}" closes nothing
  const std::size_t depth = stack_.size();
  if (footnote_ && footnote_->Depth == depth) CloseFootnote();
  if (picture_ && pictureDepth_ == depth) ClosePicture();
  if (!fields_.empty() && fields_.back().Depth == depth) CloseField();
  if (styleDepth_ == depth) {
    CommitStyle();
    styleDepth_ = 0;
  }
  const bool fontTableEnds = stack_.back().Dest == Destination::FontTable && stack_[depth - 2].Dest != Destination::FontTable;
  stack_.pop_back();
  starPending_ = false;
  groupStart_ = false;
  if (fontTableEnds) FontTableRead();
}

// A document whose code pages name no double-byte one, in a project that
// names none either, may still say it is Japanese (or Chinese, Korean) by its
// default font: its runs in double-byte fonts are then read so.
void Reader::FontTableRead() {
  if (decoder_.DoubleByteCodePage() != 0) return;
  auto font = fonts_.find(defaultFont_);
  if (font != fonts_.end() && IsDoubleByteCodePage(font->second.CodePage)) {
    decoder_ = TextDecoder(ansiCodePage_, font->second.CodePage);
  }
}

void Reader::Symbol(char symbol) {
  if (unicodeSkipLeft_ > 0) {
    --unicodeSkipLeft_;
    return;
  }
  switch (symbol) {
    case '*':
      starPending_ = true;
      return;
    case '~': AddChars(DocText(1, kNoBreakSpace)); break;
    case '_': AddChars(U"-"); break;
    case '\n': BreakWord("par"); break;
    default: break;  // "\-" optional hyphen, "\:" and "\|" show nothing
  }
  groupStart_ = false;
}

void Reader::Bytes(std::string_view bytes) {
  // Characters standing in for a \u character are skipped, one byte each.
  while (unicodeSkipLeft_ > 0 && !bytes.empty()) {
    bytes.remove_prefix(1);
    --unicodeSkipLeft_;
  }
  if (bytes.empty()) return;
  groupStart_ = false;
  const Destination dest = State().Dest;
  if (dest == Destination::Picture) {
    for (char c : bytes) {
      const int v = HexDigitValue(c);
      if (v < 0 || !picture_) continue;
      if (pictureNibble_ < 0) {
        pictureNibble_ = v;
      } else {
        picture_->Data.push_back(static_cast<std::uint8_t>(pictureNibble_ * 16 + v));
        pictureNibble_ = -1;
      }
    }
    return;
  }
  if (dest == Destination::FontTable || dest == Destination::ColorTable || dest == Destination::StyleSheet) {
    for (char c : bytes) {
      if (dest == Destination::ColorTable && c == ';') {
        doc_.Colors.push_back(colorSeen_ ? std::optional<std::uint32_t>((red_ << 16) | (green_ << 8) | blue_)
                                         : std::nullopt);
        red_ = green_ = blue_ = 0;
        colorSeen_ = false;
      } else if (dest == Destination::FontTable && currentFont_ >= 0) {
        if (c == ';') {
          fonts_[currentFont_].Table = SymbolFontOf(fontNames_[currentFont_]);
          currentFont_ = -1;
        } else {
          fontNames_[currentFont_] += c;
        }
      } else if (dest == Destination::StyleSheet && styleDepth_ != 0) {
        if (c != ';') styleName_ += c;
      }
    }
    return;
  }
  pendingBytes_.append(bytes);
}

void Reader::BinaryData(std::string_view bytes) {
  if (State().Dest == Destination::Picture && picture_) {
    picture_->Data.insert(picture_->Data.end(), bytes.begin(), bytes.end());
  }
}

void Reader::Unicode(int value) {
  if (value < 0) value += 65536;
  AddChars(DocText(1, static_cast<char32_t>(value)));
  unicodeSkipLeft_ = State().UnicodeSkip;
}

const FontInfo* Reader::CurrentFont() const {
  int font = State().Char.Font >= 0 ? State().Char.Font : defaultFont_;
  auto found = fonts_.find(font);
  return found == fonts_.end() ? nullptr : &found->second;
}

void Reader::FlushText() {
  if (pendingBytes_.empty()) return;
  DocText text;
  decoder_.Decode(pendingBytes_, CurrentFont(), text);
  pendingBytes_.clear();
  AddChars(text);
}

namespace {

// Raised text in a footnote that is only its mark (any mark when the body had none).
bool IsFootnoteMarkRun(const DocText& text, char32_t mark) {
  const DocText run = TrimBlanks(text);
  if (run.empty()) return true;
  if (run.size() != 1) return false;
  return mark != 0 ? run[0] == mark : std::u32string_view(U"#$KA+!*@>").find(run[0]) != std::u32string_view::npos;
}

}  // namespace

void Reader::AddChars(const DocText& text) {
  const GroupState& state = State();
  switch (state.Dest) {
    case Destination::Body:
      AddBodyText(text, state.Char);
      if (!fields_.empty()) fields_.back().ResultHadText = true;
      break;
    case Destination::Footnote:
      // The mark that Word repeats inside the footnote is raised; it is no
      // text. Other raised text is: some Word versions give the first letter
      // of the footnote's text the mark's style ("{\super C}ontents").
      if (footnote_ && !(state.Char.Superscript && IsFootnoteMarkRun(text, footnote_->Note.Mark))) {
        footnote_->Note.Text += text;
      }
      break;
    case Destination::ListText: listText_ += text; break;
    case Destination::FieldInstruction:
      if (!fields_.empty()) fields_.back().Instruction += text;
      break;
    default: break;
  }
}

void Reader::AddBodyText(const DocText& text, const CharFormat& format) {
  for (char32_t c : text) visibleChars_ += IsVisibleNonBlank(c, format) ? 1 : 0;
  std::vector<Inline>& inlines = paragraph_.Inlines;
  if (!inlines.empty() && inlines.back().Kind == InlineKind::Text && inlines.back().Format == format) {
    inlines.back().Text += text;
    return;
  }
  Inline piece;
  piece.Format = format;
  piece.Text = text;
  inlines.push_back(std::move(piece));
}

void Reader::AddInline(Inline piece) {
  piece.Format = State().Char;
  paragraph_.Inlines.push_back(std::move(piece));
}

void Reader::EndParagraph(ParagraphEnd end) {
  paragraph_.Format = State().Para;
  paragraph_.End = end;
  paragraph_.List = ListKindOf(listText_);
  paragraph_.TableBorders = State().Para.InTable && rowBorders_;
  ExtractEmbeddedReferences(paragraph_);
  topic_.Paragraphs.push_back(std::move(paragraph_));
  paragraph_ = Paragraph();
  listText_.clear();
}

void Reader::EndTopic() {
  if (!paragraph_.Inlines.empty() || !listText_.empty()) EndParagraph(ParagraphEnd::Paragraph);
  if (!topic_.Footnotes.empty() || visibleChars_ > 0 || topicHasPicture_) doc_.Topics.push_back(std::move(topic_));
  topic_ = Topic();
  visibleChars_ = 0;
  topicHasPicture_ = false;
}

}  // namespace rtf

HelpDocument ReadRtfDocument(std::string_view data, int projectCodePage) {
  return rtf::Reader(data, projectCodePage).Read();
}

}  // namespace quorvex
