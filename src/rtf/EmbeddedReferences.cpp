// WinHelp's embedded references in the visible text: pictures ({bmc name}),
// buttons and embedded windows. They are plain text to RTF, often split by
// formatting runs or with control words inside the braces, so they are found
// in the decoded characters of a paragraph.

#include "rtf/RtfReaderState.h"

namespace quorvex::rtf {
namespace {

// Stands between characters that are not next to each other in the visible text.
constexpr char32_t kGap = 0xFFFFFFFF;

char32_t Lower(char32_t c) { return c >= U'A' && c <= U'Z' ? c + 32 : c; }

bool StartsWithWord(std::u32string_view text, std::size_t pos, std::u32string_view word) {
  if (pos + word.size() > text.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (Lower(text[pos + i]) != word[i]) return false;
  }
  return true;
}

struct Reference {
  std::size_t Begin, End;  ///< in the visible text, the closing brace included
  Inline Piece;
  bool Dropped = false;
};

// A reference starting at the "{" at `pos`, if one does.
std::optional<Reference> ReferenceAt(std::u32string_view text, std::size_t pos) {
  std::size_t close = pos + 1;
  while (close < text.size() && text[close] != U'}' && text[close] != U'{' && text[close] != kGap) ++close;
  if (close >= text.size() || text[close] != U'}') return std::nullopt;
  std::size_t word = pos + 1;
  std::size_t wordEnd = word;
  while (wordEnd < close && !IsBlankChar(text[wordEnd])) ++wordEnd;
  const std::u32string_view keyword = text.substr(word, wordEnd - word);
  const DocText argument = TrimBlanks(text.substr(wordEnd, close - wordEnd));
  Reference ref{pos, close + 1, Inline{}};
  DocText lower;
  for (char32_t c : keyword) lower.push_back(Lower(c));
  bool picture = lower.size() >= 3 && lower.size() <= 4 && lower.compare(0, 2, U"bm") == 0 &&
                 (lower[2] == U'c' || lower[2] == U'l' || lower[2] == U'r') && (lower.size() == 3 || lower[3] == U't');
  if (picture && !argument.empty() && wordEnd < close) {
    ref.Piece.Kind = InlineKind::PictureRef;
    ref.Piece.Text = argument;
    ref.Piece.Alignment = lower[2] == U'c' ? Placement::InLine : lower[2] == U'l' ? Placement::Left : Placement::Right;
    return ref;
  }
  if (lower == U"button" && wordEnd < close) {
    std::size_t comma = argument.find(U',');
    ref.Piece.Kind = InlineKind::Button;
    ref.Piece.Text = TrimBlanks(std::u32string_view(argument).substr(0, comma));
    if (comma != DocText::npos) ref.Piece.Target = TrimBlanks(std::u32string_view(argument).substr(comma + 1));
    return ref;
  }
  if (StartsWithWord(lower, 0, U"ewc") || StartsWithWord(lower, 0, U"ewl") || StartsWithWord(lower, 0, U"ewr") ||
      StartsWithWord(lower, 0, U"mci")) {
    ref.Dropped = true;  // windows of a help DLL or a media player have no counterpart on a page
    return ref;
  }
  return std::nullopt;
}

}  // namespace

void ExtractEmbeddedReferences(Paragraph& paragraph) {
  // The visible text, with a gap wherever something else stands between.
  DocText text;
  bool any = false;
  for (const Inline& piece : paragraph.Inlines) {
    if (piece.Kind == InlineKind::Text && !piece.Format.Hidden) {
      text += piece.Text;
      any = any || piece.Text.find(U'{') != DocText::npos;
    } else {
      text.push_back(kGap);
    }
  }
  if (!any) return;
  std::vector<Reference> refs;
  for (std::size_t pos = text.find(U'{'); pos != DocText::npos; pos = text.find(U'{', pos + 1)) {
    if (std::optional<Reference> ref = ReferenceAt(text, pos)) {
      refs.push_back(std::move(*ref));
      pos = refs.back().End - 1;
    }
  }
  if (refs.empty()) return;

  // Rebuild the inline pieces with each reference in place of its characters.
  std::vector<Inline> rebuilt;
  std::size_t at = 0, next = 0;
  auto addChar = [&](char32_t c, const CharFormat& format) {
    if (rebuilt.empty() || rebuilt.back().Kind != InlineKind::Text || !(rebuilt.back().Format == format)) {
      rebuilt.push_back(Inline{InlineKind::Text, format});
    }
    rebuilt.back().Text.push_back(c);
  };
  for (Inline& piece : paragraph.Inlines) {
    if (!(piece.Kind == InlineKind::Text && !piece.Format.Hidden)) {
      rebuilt.push_back(std::move(piece));
      ++at;
      continue;
    }
    for (char32_t c : piece.Text) {
      while (next < refs.size() && at >= refs[next].End) ++next;
      if (next < refs.size() && at == refs[next].Begin && !refs[next].Dropped) {
        refs[next].Piece.Format = piece.Format;
        rebuilt.push_back(std::move(refs[next].Piece));
      }
      if (next >= refs.size() || at < refs[next].Begin) addChar(c, piece.Format);
      ++at;
    }
  }
  paragraph.Inlines = std::move(rebuilt);
}

}  // namespace quorvex::rtf
