// The document reader's larger pieces: footnotes, fields, pictures, styles.

#include "rtf/RtfReaderState.h"

namespace quorvex::rtf {
namespace {

// "HYPERLINK "url"" as Word writes it; an internal bookmark (\l) is no URL.
DocText HyperlinkUrl(const DocText& instruction) {
  DocText text = TrimBlanks(instruction);
  const DocText keyword = U"HYPERLINK";
  if (text.size() < keyword.size() || text.compare(0, keyword.size(), keyword) != 0) return {};
  DocText rest = TrimBlanks(std::u32string_view(text).substr(keyword.size()));
  if (rest.empty() || rest[0] == U'\\') return {};
  if (rest[0] == U'"') {
    std::size_t close = rest.find(U'"', 1);
    return rest.substr(1, close == DocText::npos ? DocText::npos : close - 1);
  }
  return rest.substr(0, rest.find(U' '));
}

// "SYMBOL 183 \f "Symbol"": the character a field shows when its result is empty.
std::optional<char32_t> SymbolFieldChar(const DocText& instruction) {
  DocText text = TrimBlanks(instruction);
  const DocText keyword = U"SYMBOL";
  if (text.size() <= keyword.size() || text.compare(0, keyword.size(), keyword) != 0) return std::nullopt;
  std::size_t pos = keyword.size();
  while (pos < text.size() && IsBlankChar(text[pos])) ++pos;
  int code = 0, digits = 0;
  while (pos < text.size() && text[pos] >= U'0' && text[pos] <= U'9' && digits < 6) {
    code = code * 10 + static_cast<int>(text[pos++] - U'0');
    ++digits;
  }
  if (digits == 0 || code <= 0 || code > 0xFFFF) return std::nullopt;
  std::size_t font = text.find(U"\\f");
  if (font != DocText::npos && code < 0x100) {
    std::size_t quote = text.find(U'"', font);
    std::string name;
    for (std::size_t i = quote == DocText::npos ? text.size() : quote + 1; i < text.size() && text[i] != U'"'; ++i) {
      name += static_cast<char>(text[i] < 0x80 ? text[i] : U'?');
    }
    return SymbolChar(SymbolFontOf(name), static_cast<std::uint8_t>(code));
  }
  return static_cast<char32_t>(code);
}

bool IsDigitOrLetter(char32_t c) { return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }

}  // namespace

ListKind ListKindOf(const DocText& mark) {
  DocText text;
  for (char32_t c : mark) {
    if (!IsBlankChar(c)) text.push_back(c);
  }
  if (text.empty()) return ListKind::None;
  bool digits = true;
  for (char32_t c : text) digits = digits && c >= U'0' && c <= U'9';
  if (digits) return ListKind::Number;
  // "1.", "a)", "(iv)", "12.3.": letters or digits with their punctuation.
  std::size_t start = text[0] == U'(' ? 1 : 0;
  std::size_t end = start;
  while (end < text.size() && IsDigitOrLetter(text[end])) ++end;
  if (end == start || end == text.size()) return ListKind::Bullet;
  for (std::size_t i = end; i < text.size(); ++i) {
    if (text[i] != U'.' && text[i] != U')' && !IsDigitOrLetter(text[i])) return ListKind::Bullet;
  }
  return ListKind::Number;
}

char32_t Reader::TakeFootnoteMark() {
  // The last non-blank character of the topic's body before the footnote.
  auto takeFrom = [&](Paragraph& paragraph) -> char32_t {
    for (std::size_t i = paragraph.Inlines.size(); i-- > 0;) {
      Inline& piece = paragraph.Inlines[i];
      if (piece.Kind == InlineKind::Tab) continue;
      if (piece.Kind != InlineKind::Text) return 0;
      for (std::size_t k = piece.Text.size(); k-- > 0;) {
        char32_t c = piece.Text[k];
        if (IsBlankChar(c)) continue;
        if (!piece.Format.Hidden) --visibleChars_;
        piece.Text.erase(k, 1);
        if (piece.Text.empty()) paragraph.Inlines.erase(paragraph.Inlines.begin() + static_cast<std::ptrdiff_t>(i));
        return c;
      }
    }
    return 0;
  };
  if (char32_t mark = takeFrom(paragraph_)) return mark;
  if (!paragraph_.Inlines.empty()) return 0;
  for (std::size_t p = topic_.Paragraphs.size(); p-- > 0;) {
    Paragraph& earlier = topic_.Paragraphs[p];
    if (char32_t mark = takeFrom(earlier)) return mark;
    if (!earlier.Inlines.empty()) return 0;
  }
  return 0;
}

void Reader::OpenFootnoteGroup() {
  GroupState& state = State();
  if (footnote_ || (state.Dest != Destination::Body)) {  // nested or outside the body: not a topic's footnote
    state.Dest = Destination::Skip;
    return;
  }
  OpenFootnote open{stack_.size(), Footnote(), std::nullopt};
  open.Note.Mark = TakeFootnoteMark();
  open.Note.AfterBodyText = visibleChars_ > 0;
  if (open.Note.Mark == U'#' && open.Note.AfterBodyText) {
    // A context string inside the topic marks this place; its name comes with the footnote's text.
    open.AnchorInline = paragraph_.Inlines.size();
    paragraph_.Inlines.push_back(Inline{InlineKind::Anchor});
  }
  footnote_ = std::move(open);
  state.Dest = Destination::Footnote;
  state.Char.Superscript = state.Char.Subscript = false;
}

void Reader::CloseFootnote() {
  Footnote note = std::move(footnote_->Note);
  std::optional<std::size_t> anchor = footnote_->AnchorInline;
  footnote_.reset();
  note.Text = TrimBlanks(note.Text);
  if (note.Mark != 0 && !note.Text.empty() && note.Text[0] == note.Mark) note.Text = TrimBlanks(std::u32string_view(note.Text).substr(1));
  if (anchor && *anchor < paragraph_.Inlines.size() && paragraph_.Inlines[*anchor].Kind == InlineKind::Anchor) {
    paragraph_.Inlines[*anchor].Text = note.Text;
  }
  topic_.Footnotes.push_back(std::move(note));
}

void Reader::StartFieldResult() {
  if (fields_.empty()) return;
  OpenField& field = fields_.back();
  DocText url = HyperlinkUrl(field.Instruction);
  if (!url.empty() && State().Dest == Destination::Body && !field.LinkOpen) {
    Inline link{InlineKind::LinkStart};
    link.Text = url;
    AddInline(std::move(link));
    field.LinkOpen = true;
  }
}

void Reader::CloseField() {
  OpenField field = std::move(fields_.back());
  fields_.pop_back();
  if (field.ResultDest != Destination::Body) return;
  if (!field.ResultHadText) {
    if (std::optional<char32_t> c = SymbolFieldChar(field.Instruction)) AddBodyText(DocText(1, *c), State().Char);
  }
  if (field.LinkOpen) AddInline(Inline{InlineKind::LinkEnd});
  if (!fields_.empty()) fields_.back().ResultHadText = fields_.back().ResultHadText || field.ResultHadText;
}

void Reader::ClosePicture() {
  EmbeddedPicture picture = std::move(*picture_);
  picture_.reset();
  if (pictureOwner_ != Destination::Body || picture.Type == EmbeddedPicture::Format::Unknown) return;
  Inline piece{InlineKind::Picture};
  piece.PictureIndex = doc_.Pictures.size();
  doc_.Pictures.push_back(std::move(picture));
  // The picture belongs to the group around \pict, whose format it shows in.
  piece.Format = stack_.size() >= 2 ? stack_[stack_.size() - 2].Char : State().Char;
  paragraph_.Inlines.push_back(std::move(piece));
  topicHasPicture_ = true;
  if (!fields_.empty()) fields_.back().ResultHadText = true;
}

void Reader::CommitStyle() {
  if (State().Dest != Destination::StyleSheet || !styleIsParagraph_) return;
  DocText name;
  decoder_.Decode(styleName_, nullptr, name);
  name = TrimBlanks(name);
  std::string ascii;
  for (char32_t c : name) ascii += c < 0x80 ? static_cast<char>(c >= U'A' && c <= U'Z' ? c + 32 : c) : '?';
  static const DocText kJapaneseHeading = {ShiftJisChar(0x8CA9), ShiftJisChar(0x8F6F), ShiftJisChar(0x82B5)};
  static const DocText kJapaneseHeadingUnicode = U"\u898B\u51FA\u3057";
  bool heading = styleOutline_ || ascii.rfind("heading", 0) == 0 || name.rfind(kJapaneseHeading, 0) == 0 ||
                 name.rfind(kJapaneseHeadingUnicode, 0) == 0;
  doc_.Styles[styleNumber_] = StyleInfo{name, heading};
}

}  // namespace quorvex::rtf
