#include "topics/TopicHeader.h"

#include "topics/Keywords.h"

namespace quorvex {
namespace {

constexpr std::string_view kFootnote = "{\\footnote ";
// Where "</head>" stands while the page is built; the title goes in front of it.
constexpr int kHeadEndLine = 4;

// Up to the first "#{": only the non-scrolling mark and bold matter here.
void ScanParagraphSettings(TopicScanState& scan, LineCursor& cursor) {
  while (!cursor.AtEnd() && !(cursor.Is('#') && cursor.Is('{', 1))) {
    if (cursor.LooksAt("\\keepn ")) {
      scan.NonScrolling = true;
      cursor.Step(7);
      continue;
    }
    if (cursor.Is('\\') && cursor.Is('b', 1)) scan.Bold = true;
    cursor.Step();
  }
}

// The footnote text up to "}"; a double-byte character whose trail byte is
// "}" does not end it. Editors that escape every byte beyond ASCII write
// titles and keywords as "\'82\'a0": such escapes are the bytes they stand
// for; other control words are kept as written.
ByteString ReadFootnoteText(LineCursor& cursor) {
  ByteString text;
  while (!cursor.AtEnd() && !cursor.Is('}')) {
    const std::string_view rest = cursor.Rest();
    if (rest.size() >= 4 && rest.substr(0, 2) == "\\'" && HexDigitValue(rest[2]) >= 0 && HexDigitValue(rest[3]) >= 0) {
      text += static_cast<char>(HexDigitValue(rest[2]) * 16 + HexDigitValue(rest[3]));
      cursor.Step(4);
      continue;
    }
    std::size_t length = CharLength(cursor.Line(), cursor.Position());
    text += cursor.Rest().substr(0, length);
    cursor.Step(length);
  }
  cursor.Step();
  cursor.StepOverSpace();
  return text;
}

void ReadFootnote(TopicPage& page, LineCursor& cursor, StringList& pageLines, const ByteString& pageName) {
  char mark = cursor.Current();
  cursor.Step(1 + kFootnote.size());
  ByteString text = ReadFootnoteText(cursor);
  if (mark == '$') {
    pageLines.Insert(kHeadEndLine, "<title>" + text + "</title>");
  } else if (mark == 'K') {
    AddKeywords(page.Job, text, pageName);
  }
}

}  // namespace

void ReadTopicHeader(TopicPage& page, LineCursor& cursor, StringList& pageLines, const ByteString& pageName,
                     ByteString& output) {
  ScanParagraphSettings(page.Scan, cursor);
  // The footnotes follow one another; any other group directly after a single
  // character among them is dropped whole.
  bool groupOpened = false;
  while (!cursor.AtEnd()) {
    if (cursor.Rest().substr(1, kFootnote.size()) == kFootnote) {
      ReadFootnote(page, cursor, pageLines, pageName);
      groupOpened = false;
    } else if (groupOpened) {
      cursor.AdvancePast('}');
      cursor.StepOverSpace();
      groupOpened = false;
    } else if (cursor.Is('{', 1)) {
      cursor.Step(2);
      groupOpened = true;
    } else {
      break;
    }
  }
  if (page.Scan.Bold) output += page.Scan.NonScrolling ? "<h4>" : "<b>";
}

}  // namespace quorvex
