#pragma once
// The document model: what the RTF reader makes of a topic file written by
// Word or another authoring tool, and the compiled-help reader of a .hlp. A
// file holds topics; a topic holds its footnotes and its paragraphs; a
// paragraph holds inline pieces.

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "model/DocText.h"

namespace quorvex {

enum class Underline : std::uint8_t { None, Single, Double, Dotted };

/// Character formatting of a piece of text.
struct CharFormat {
  bool Bold = false;
  bool Italic = false;
  bool Strike = false;
  bool Hidden = false;       ///< \v: WinHelp's link targets
  bool Superscript = false;  ///< \super, or \up with a positive raise
  bool Subscript = false;    ///< \sub, or \dn
  Underline Underlined = Underline::None;
  int Color = -1;  ///< \cf: colour table index (entry 0 is automatic when the table starts with ";"); -1 none
  int Font = -1;  ///< \f: font table number; -1 none given
  int FontSize = 0;  ///< half-points; 0 when not given (the RTF reader leaves it)

  bool operator==(const CharFormat&) const = default;
};

/// How a picture reference places its picture: in the line, or floated left or right.
enum class Placement : std::uint8_t { InLine, Left, Right };

enum class InlineKind : std::uint8_t {
  Text,          ///< Text, in Format
  Tab,           ///< \tab
  LineBreak,     ///< \line
  PictureRef,    ///< {bmc name}: Text holds the name (alternatives separated by ";"), Alignment the placement
  Picture,       ///< an embedded \pict: PictureIndex into HelpDocument::Pictures
  Anchor,        ///< a "#" footnote after body text: Text holds the context string
  LinkStart,     ///< a HYPERLINK field's result starts: Text holds the URL
  LinkEnd,       ///< the result ends
  Button,        ///< {button label,macro}: Text holds the label, Target the macro
};

struct Inline {
  InlineKind Kind = InlineKind::Text;
  CharFormat Format;
  DocText Text;
  DocText Target;  ///< Button only
  Placement Alignment = Placement::InLine;
  std::size_t PictureIndex = 0;
};

/// How a paragraph ends: a paragraph mark, a table cell, or a table row.
enum class ParagraphEnd : std::uint8_t { Paragraph, Cell, Row };

enum class ListKind : std::uint8_t { None, Bullet, Number };

/// Paragraph formatting, reset by \pard.
struct ParaFormat {
  int Style = 0;          ///< \s
  int LeftIndent = 0;     ///< \li, twips
  int FirstIndent = 0;    ///< \fi, twips
  bool KeepNext = false;  ///< \keepn: WinHelp's non-scrolling region
  bool InTable = false;   ///< \intbl
  bool Centered = false;  ///< \qc

  bool operator==(const ParaFormat&) const = default;
};

/// The widths of a table row's cells, where the document gives them.
struct CellWidths {
  bool Percent = false;     ///< of the table's width; else twips
  std::vector<int> Widths;  ///< one per cell, in order
};

struct Paragraph {
  ParaFormat Format;
  ParagraphEnd End = ParagraphEnd::Paragraph;
  ListKind List = ListKind::None;  ///< from the paragraph's {\listtext} or {\pntext}
  bool TableBorders = false;       ///< in a table row whose cells have borders
  CellWidths Cells;                ///< on a row's last paragraph: its cells' widths (none: not given)
  std::vector<Inline> Inlines;
};

/// A footnote of a topic: "#" context, "$" title, "K" keywords, ...
struct Footnote {
  char32_t Mark = 0;     ///< 0 when no mark stood before the footnote
  DocText Text;          ///< decoded, superscript runs left out, trimmed, one leading copy of the mark dropped
  bool AfterBodyText = false;  ///< the topic had visible text before it (a "#" then marks a place inside)
};

struct Topic {
  std::vector<Footnote> Footnotes;
  std::vector<Paragraph> Paragraphs;
};

/// An embedded picture (\pict) with its data.
struct EmbeddedPicture {
  /// Segmented: a picture in the form of .shg and .mrb files (one or more
  /// resolutions, hotspots included), as compiled help files keep them.
  enum class Format : std::uint8_t { Unknown, Wmf, Emf, Dib, Ddb, Png, Jpeg, Segmented };
  Format Type = Format::Unknown;
  std::vector<std::uint8_t> Data;
  int Width = 0, Height = 0;              ///< \picw, \pich: pixels, or 0.01 mm for metafiles
  int GoalWidth = 0, GoalHeight = 0;      ///< \picwgoal, \pichgoal: twips, 0 when not given
  int ScaleX = 100, ScaleY = 100;         ///< \picscalex, \picscaley: percent
  int BitsPerPixel = 1, Planes = 1, WidthBytes = 0;  ///< device-dependent bitmaps
};

/// A style of the style sheet.
struct StyleInfo {
  DocText Name;
  bool Heading = false;  ///< "heading N" (or its Japanese name) or an outline level
};

struct HelpDocument {
  /// The code page the document is written in (a double-byte one when it has
  /// one), for the project's other text files; 0 when it does not say.
  int CodePage = 0;
  std::vector<Topic> Topics;
  std::vector<std::optional<std::uint32_t>> Colors;  ///< 0xRRGGBB per colour table entry; empty: automatic
  std::vector<EmbeddedPicture> Pictures;
  std::map<int, StyleInfo> Styles;  ///< paragraph styles by \s number
  int BodyFontSize = 0;  ///< half-points of most body text; text of another FontSize shows its size. 0: sizes not shown
};

}  // namespace quorvex
