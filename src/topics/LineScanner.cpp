#include "topics/LineScanner.h"

#include "topics/Hotspots.h"
#include "topics/Pictures.h"

namespace quorvex {
namespace {

// The rules are tested in a fixed order and the first that matches acts; most
// control words are recognised only with the single space that ends them.
class LineScanner {
 public:
  LineScanner(TopicPage& page, LineCursor& cursor, ByteString& out)
      : page_(page), scan_(page.Scan), cursor_(cursor), out_(out) {}

  void Run() {
    while (!cursor_.AtEnd()) {
      if (cursor_.Is('{')) {
        OpenBrace();
      } else if (cursor_.Is('\\')) {
        cursor_.Step();
        ControlWord();
      } else {
        OtherByte(cursor_.Take());
      }
    }
  }

 private:
  void OpenBrace() {
    if (cursor_.LooksAt("{\\ul ")) {
      cursor_.Step(5);
      out_ += ConvertHotspot(page_, cursor_, HotspotKind::Popup);
    } else if (cursor_.LooksAt("{\\uldb ")) {
      cursor_.Step(7);
      out_ += ConvertHotspot(page_, cursor_, HotspotKind::Jump);
    } else if (cursor_.LooksAt("{\\pntext")) {
      ListItem();
    } else {
      cursor_.SkipGroup();  // fonts, fields and the like go with all their text
    }
  }

  // The bullet group in front of each list item.
  void ListItem() {
    if (!scan_.InList) {
      out_ += "<ul>";
      scan_.InList = true;
    }
    cursor_.SkipGroup();
    if (!cursor_.Is('}')) out_ += "<li>";
  }

  void ControlWord() {
    if (cursor_.LooksAt("par ")) {
      Paragraph();
    } else if (cursor_.LooksAt("pard ")) {
      ParagraphDefaults();
    } else if (cursor_.LooksAt("box ")) {
      cursor_.Step(4);
      page_.Job.TableBorder = true;
    } else if (cursor_.LooksAt("{bm")) {
      PictureOrBrace();
    } else if (cursor_.LooksAt("{button ")) {
      cursor_.Step(8);
      out_ += ConvertButton(page_, cursor_);
    } else if (cursor_.LooksAt("brdrt ") || cursor_.LooksAt("brdrb ")) {
      cursor_.Step(6);
      out_ += "<hr>";
      scan_.AfterRule = true;
    } else if (cursor_.LooksAt("plain")) {
      cursor_.Step(5);
      Plain();
    } else if (cursor_.LooksAt("cf") && cursor_.IsDigit(2)) {
      cursor_.Step(2);
      unsigned color = cursor_.ReadNumber();
      cursor_.StepOverSpace();
      ChangeColor(color);
    } else {
      MoreControlWords();
    }
  }

  void MoreControlWords() {
    if (cursor_.LooksAt("li") && cursor_.IsDigit(2) && !cursor_.Is('0', 2)) {
      Indent();
    } else if (cursor_.Is('{') || cursor_.Is('}') || cursor_.Is('\\')) {
      out_ += cursor_.Take();  // an escaped symbol stands for itself
    } else if (cursor_.Is('\'')) {
      cursor_.Step();
      out_ += cursor_.TakeHexByte();
    } else if (cursor_.LooksAt("intbl ")) {
      TableCellStart();
    } else if (cursor_.LooksAt("cell ")) {
      TableCellEnd();
    } else if (cursor_.LooksAt("row ")) {
      cursor_.Step(4);
      EndRow();
    } else if (cursor_.Is('b')) {
      Bold();
    } else {
      cursor_.SkipControlWord();
    }
  }

  void Paragraph() {
    cursor_.Step(4);
    bool regionEnds = scan_.NonScrolling && cursor_.LooksAt("\\pard ");
    if (!regionEnds && !cursor_.Is('}') && !scan_.AfterRule) out_ += "<br>";
    scan_.AfterRule = false;
    // A paragraph break right before "\pard" closes a list or indented block
    // already here, so the closing tag ends this line.
    if (scan_.InList && cursor_.LooksAt("\\pard")) {
      out_ += "</ul>";
      scan_.InList = false;
    }
    if (scan_.InMenu && cursor_.LooksAt("\\pard")) {
      out_ += "</menu>";
      scan_.InMenu = false;
    }
  }

  void ParagraphDefaults() {
    cursor_.Step(5);
    if (scan_.NonScrolling) {
      // The end of the non-scrolling region: the heading is separated from
      // the topic's body by a rule.
      if (out_ == "<br>") out_.clear();
      if (scan_.Bold) out_ += "</h4>";
      out_ += "<hr>";
      if (scan_.Bold) out_ += "<b>";
      scan_.NonScrolling = false;
    }
    if (scan_.InTable) {
      out_ += "</table>";
      scan_.InTable = false;
    }
    if (scan_.InList) {
      out_ += "</ul>";
      scan_.InList = false;
    }
    if (scan_.InMenu) {
      out_ += "</menu>";
      scan_.InMenu = false;
    }
    page_.Job.TableBorder = false;
  }

  // "\{bm" plus c, l or r is a picture; anything else was an escaped brace
  // followed by ordinary text.
  void PictureOrBrace() {
    cursor_.Step(3);
    PictureAlignment alignment;
    if (cursor_.Is('c')) {
      alignment = PictureAlignment::Centred;
    } else if (cursor_.Is('l')) {
      alignment = PictureAlignment::Left;
    } else if (cursor_.Is('r')) {
      alignment = PictureAlignment::Right;
    } else {
      cursor_.StepBack(2);
      out_ += "{";
      return;
    }
    cursor_.Step();
    if (cursor_.Is('t')) cursor_.Step();  // the transparent forms bmct, bmlt, bmrt
    while (cursor_.Is(' ')) cursor_.Step();
    out_ += ConvertPicture(page_, cursor_, alignment);
  }

  // "\plain" resets colour and bold unless the control words that follow it,
  // up to the first space, set them again.
  void Plain() {
    unsigned color = 0;
    bool bold = false;
    while (cursor_.Is('\\')) {
      cursor_.Step();
      if (cursor_.LooksAt("cf") && cursor_.IsDigit(2)) {
        cursor_.Step(2);
        color = cursor_.ReadNumber();
        continue;
      }
      if (cursor_.LooksAt("b ")) {
        bold = true;
        cursor_.Step();
        break;
      }
      while (!cursor_.AtEnd() && !cursor_.Is(' ') && !cursor_.Is('\\')) cursor_.Step();
    }
    cursor_.StepOverSpace();
    ChangeColor(color);
    if (bold != scan_.Bold) {
      scan_.Bold = bold;
      if (scan_.NonScrolling) {
        out_ += bold ? "<h4>" : "</h4>";
      } else {
        out_ += bold ? "<b>" : "</b>";
      }
    }
  }

  void ChangeColor(unsigned color) {
    if (color == scan_.CurrentColor) return;
    if (scan_.CurrentColor > 0) out_ += "</font>";
    if (color > 0 && color < page_.Colors.size()) {
      out_ += "<font color=#" + ColorDigits(page_.Colors[color]) + ">";
      scan_.CurrentColor = color;
    } else {
      scan_.CurrentColor = 0;  // the automatic colour, or one the table lacks: no tag
    }
  }

  void Indent() {
    if (!scan_.InMenu && !scan_.InList && !scan_.NonScrolling) {
      out_ += "<menu>";
      scan_.InMenu = true;
    }
    cursor_.SkipControlWord();
  }

  void TableCellStart() {
    cursor_.Step(6);
    if (!scan_.InTable) {
      out_ += page_.Job.TableBorder ? "<table border=1>" : "<table>";
      scan_.InTable = true;
    }
    out_ += "<tr><td>";
    scan_.InCell = true;
  }

  void TableCellEnd() {
    cursor_.Step(5);
    if (scan_.InCell) out_ += "</td>";
    if (cursor_.LooksAt("\\row ")) {
      cursor_.Step(5);
      EndRow();
    } else {
      out_ += "<td>";
      scan_.InCell = true;
    }
  }

  // Each table row ends a physical line of the page.
  void EndRow() {
    out_ += "</tr>\r\n";
    scan_.InCell = false;
  }

  // In the non-scrolling region bold is a heading; there "\b" and "\b0" write
  // the heading tags every time and leave the bold flag alone.
  void Bold() {
    cursor_.Step();
    if (cursor_.Is('0')) {
      cursor_.Step();
      if (scan_.NonScrolling) {
        out_ += "</h4>";
      } else if (scan_.Bold) {
        out_ += "</b>";
        scan_.Bold = false;
      }
      cursor_.StepOverSpace();
    } else if (cursor_.Is(' ') || cursor_.Is('\\') || cursor_.Is('{')) {
      if (scan_.NonScrolling) {
        out_ += "<h4>";
      } else if (!scan_.Bold) {
        out_ += "<b>";
        scan_.Bold = true;
      }
      cursor_.StepOverSpace();
    } else {
      cursor_.SkipControlWord();  // another word beginning with b
    }
  }

  void OtherByte(char c) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 20 || c == '}') return;  // control bytes, tabs and the ends of groups not dropped whole
    switch (c) {
      case '&': out_ += "&amp;"; break;
      case '<': out_ += "&lt;"; break;
      case '>': out_ += "&gt;"; break;
      case '"': out_ += "&quot;"; break;
      default: out_ += c; break;
    }
  }

  TopicPage& page_;
  TopicScanState& scan_;
  LineCursor& cursor_;
  ByteString& out_;
};

}  // namespace

void ScanLine(TopicPage& page, LineCursor& cursor, ByteString& output) {
  LineScanner(page, cursor, output).Run();
}

}  // namespace quorvex
