#include "rtf/RtfReader.h"

#include <gtest/gtest.h>

#include "base/CodePageTables.h"
#include "rtf/DocumentForm.h"
#include "support/RtfBuilder.h"

namespace quorvex {
namespace {

using test::WordDocument;
using test::WordHeader;
using test::WordFootnote;
using test::WordText;

// Model text as UTF-8; kept Shift-JIS characters are shown as "<sjis:XXXX>".
std::string Utf8(const DocText& text) {
  std::string out;
  for (char32_t c : text) {
    if (IsShiftJisChar(c)) {
      char code[16];
      std::snprintf(code, sizeof code, "<sjis:%04X>", ShiftJisCode(c));
      out += code;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      out += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
              static_cast<char>(0x80 | (c & 0x3F))};
    }
  }
  return out;
}

// A paragraph's pieces in short: text with its marks (b bold, u/d/o underline
// single/double/dotted, s strike, v hidden, ^ raised), and the other kinds by name.
std::string Pieces(const Paragraph& paragraph) {
  std::string out;
  for (const Inline& piece : paragraph.Inlines) {
    std::string marks;
    const CharFormat& f = piece.Format;
    if (f.Bold) marks += 'b';
    if (f.Underlined != Underline::None) marks += "udo"[static_cast<int>(f.Underlined) - 1];
    if (f.Strike) marks += 's';
    if (f.Hidden) marks += 'v';
    if (f.Superscript) marks += '^';
    static const char* kinds[] = {"", "tab", "br", "picref", "pict", "anchor", "link", "/link", "button"};
    out += "[" + std::string(kinds[static_cast<int>(piece.Kind)]) + (marks.empty() ? "" : "/" + marks) +
           (piece.Text.empty() ? "" : ":" + Utf8(piece.Text)) + (piece.Target.empty() ? "" : "=" + Utf8(piece.Target)) + "]";
  }
  return out;
}

std::string AllPieces(const Topic& topic) {
  std::string out;
  for (const Paragraph& paragraph : topic.Paragraphs) out += Pieces(paragraph) + "|";
  return out;
}

TEST(RtfReader, FootnotesOfEveryShape) {
  struct Case {
    std::string body;
    char32_t mark;
    std::string text;
    bool afterBodyText;
  } cases[] = {
      {"{\\cs15\\f8\\fs16\\up6 #{\\footnote \\pard\\plain\\s16 {\\cs15\\f8\\fs16\\up6 #}{ main_index}}}", U'#', "main_index", false},
      {"{\\hich\\af0\\dbch\\af29\\loch\\f29 #{\\footnote \\pard\\plain \\loch\\f29 # WHAT_IS}}", U'#', "WHAT_IS", false},
      {"#{\\footnote {#}IDH_AB_UNIT}", U'#', "IDH_AB_UNIT", false},
      {"{\\cs16\\super #{\\*\\footnote \\pard\\plain {\\cs16\\super #} ctx }}", U'#', "ctx", false},
      {WordFootnote('$', WordText("表示の設定")), U'$', "<sjis:955C><sjis:8EA6><sjis:82CC><sjis:90DD><sjis:92E8>", false},
      {"K{\\footnote K kw1;kw2\\par more}", U'K', "kw1;kw2 more", false},
      {"Text before " + WordFootnote('#', "place"), U'#', "place", true},
      {"{\\footnote no mark}", 0, "no mark", false},
      // Raised text that is not the mark is the footnote's own: its first letter in the mark's style.
      {"#{\\footnote {\\cs25\\super #} {\\cs25\\super C}{ontents}}", U'#', "Contents", false},
      {"{\\footnote {\\super K} {\\super x}y}", 0, "xy", false},
  };
  for (const Case& c : cases) {
    HelpDocument doc = ReadRtfDocument(WordDocument({c.body + " body\\par "}), 0);
    ASSERT_EQ(doc.Topics.size(), 1u) << c.body;
    ASSERT_EQ(doc.Topics[0].Footnotes.size(), 1u) << c.body;
    const Footnote& note = doc.Topics[0].Footnotes[0];
    EXPECT_EQ(note.Mark, c.mark) << c.body;
    EXPECT_EQ(Utf8(note.Text), c.text) << c.body;
    EXPECT_EQ(note.AfterBodyText, c.afterBodyText) << c.body;
    // The mark leaves the body; a "#" after text leaves an anchor there.
    EXPECT_EQ(AllPieces(doc.Topics[0]), c.afterBodyText ? "[:Text before ][anchor:place][: body]|" : "[: body]|")
        << c.body;
  }
}

TEST(RtfReader, TopicsAreSplitAtBodyLevelPages) {
  HelpDocument doc = ReadRtfDocument(
      WordHeader() + "before\\par \\page  \\par \\page " + WordFootnote('#', "a\\page still a") +
          " one\\pagebb  two\\par {\\page}after\\par }",
      0);
  ASSERT_EQ(doc.Topics.size(), 3u);  // the blank stretch between two pages is no topic
  EXPECT_EQ(AllPieces(doc.Topics[0]), "[:before]|");
  EXPECT_EQ(Utf8(doc.Topics[1].Footnotes[0].Text), "a still a");
  EXPECT_EQ(AllPieces(doc.Topics[1]), "[: one two]|");
  EXPECT_EQ(AllPieces(doc.Topics[2]), "[:after]|");
}

TEST(RtfReader, TextDecodesByTheDocumentsCodePages) {
  struct Case {
    int ansi, project;
    std::string body;
    std::string text;
  } cases[] = {
      {932, 0, "\\'83\\'5c\\'95\\\\", "<sjis:835C><sjis:955C>"},  // a trail byte 0x5C, escaped either way
      {0, 932, "{\\f2 \\'82\\'a0}", "<sjis:82A0>"},                // no \ansicpg: the project's code page
      {1250, 0, "{\\f5 \\'9e\\'e8}", "\xC5\xBE\xC4\x8D"},           // Czech in a Central European font: ž č
      {936, 0, "\\'c4\\'e3\\'ba\\'c3", "\xE4\xBD\xA0\xE5\xA5\xBD"}, // GBK: 你好
      {936, 0, "{\\f4 \\'c4\\'e3}", "\xE4\xBD\xA0"},                // a font labelled Big5 over GBK bytes
      {1252, 0, "caf\\'e9 {\\f2 \\'b1}", "caf\xC3\xA9 <sjis:00B1>"}, // single bytes: the font's code page
      // Without a double-byte \ansicpg the run's font decides whether bytes pair up in the project's code page:
      {1252, 932, "{\\f2 \\'e9t}", "<sjis:E974>"},                  // a double-byte charset (128)
      {1252, 932, "{\\f9 \\'e9t}", "<sjis:E974>"},                  // a font the table lacks
      {1252, 932, "\\'93q\\'94", "\xE2\x80\x9Cq\xE2\x80\x9D"},         // \deff0 is \fcharset0: single-byte quotes
      {932, 0, "{\\f0 \\'93\\'94}", "<sjis:9394>"},                   // a double-byte \ansicpg wins over the font
      {1252, 0, "{\\f1 \\'b7a}{\\f3 \\'a7}", "\xE2\x80\xA2\xCE\xB1\xE2\x96\xAA"},  // Symbol, Wingdings
      {1252, 0, "\\u8364\\'80!{\\uc2\\u8364 ab}", "\xE2\x82\xAC!\xE2\x82\xAC"},
  };
  for (const Case& c : cases) {
    HelpDocument doc = ReadRtfDocument(WordDocument({WordFootnote('#', "t") + c.body + "\\par "}, c.ansi), c.project);
    ASSERT_EQ(doc.Topics.size(), 1u) << c.body;
    DocText text;
    for (const Inline& piece : doc.Topics[0].Paragraphs[0].Inlines) text += piece.Text;
    EXPECT_EQ(Utf8(text), c.text) << c.body;
  }
}

TEST(RtfReader, ADefaultDoubleByteFontMakesADocumentDoubleByte) {
  // \ansicpg1252, no code page from the project, but a Japanese default font (f2, \fcharset128).
  std::string rtf = WordDocument({WordFootnote('#', "t") + "\\'82\\'a0{\\f0 \\'93q\\'94}\\par "}, 1252);
  rtf.replace(rtf.find("\\deff0"), 6, "\\deff2");
  HelpDocument doc = ReadRtfDocument(rtf, 0);
  ASSERT_EQ(doc.Topics.size(), 1u);
  DocText text;
  for (const Inline& piece : doc.Topics[0].Paragraphs[0].Inlines) text += piece.Text;
  EXPECT_EQ(Utf8(text), "<sjis:82A0>\xE2\x80\x9Cq\xE2\x80\x9D");
  EXPECT_EQ(doc.CodePage, 932);
}

TEST(RtfReader, DestinationsAndStructure) {
  std::string body = WordFootnote('#', "d") +
                     "{\\*\\unknownthing hidden}{\\field{\\*\\fldinst {HYPERLINK \"http://x.org/a\" }}{\\fldrslt {\\ul site}}}"
                     "{\\field{\\*\\fldinst SYMBOL 183 \\\\f \"Symbol\" \\\\s 10}{\\fldrslt }}\\par "
                     "{\\listtext\\pard\\plain\\f1 \\'b7\\tab}bullet\\par {\\pntext 12.\\tab}number\\par "
                     "{\\object\\objemb{\\*\\objclass Equation.3}{\\*\\objdata 0102}{\\result{\\pict\\wmetafile8\\picw10\\pich10 0a0B\\bin2 xy}}}"
                     "{\\*\\shppict{\\pict\\pngblip 89}}{\\nonshppict{\\pict\\wmetafile8 00}}\\par "
                     "\\trowd\\clbrdrt\\brdrs\\cellx100\\cellx200\\pard\\intbl a\\cell b\\cell \\row "
                     "\\trowd\\cellx100\\pard\\intbl c\\cell \\row \\pard\\s2 head\\par ";
  HelpDocument doc = ReadRtfDocument(WordDocument({body}), 0);
  ASSERT_EQ(doc.Topics.size(), 1u);
  const std::vector<Paragraph>& p = doc.Topics[0].Paragraphs;
  ASSERT_EQ(p.size(), 10u);
  EXPECT_EQ(Pieces(p[0]), "[link:http://x.org/a][/u:site][/link][:\xE2\x80\xA2]");
  EXPECT_EQ(Pieces(p[1]), "[:bullet]");
  EXPECT_EQ(p[1].List, ListKind::Bullet);
  EXPECT_EQ(p[2].List, ListKind::Number);
  EXPECT_EQ(Pieces(p[3]), "[pict][pict]");
  ASSERT_EQ(doc.Pictures.size(), 2u);
  EXPECT_EQ(doc.Pictures[0].Type, EmbeddedPicture::Format::Wmf);
  EXPECT_EQ(doc.Pictures[0].Data, (std::vector<std::uint8_t>{0x0A, 0x0B, 'x', 'y'}));
  EXPECT_EQ(doc.Pictures[1].Type, EmbeddedPicture::Format::Png);
  EXPECT_EQ((std::vector<ParagraphEnd>{p[4].End, p[5].End, p[6].End, p[7].End, p[8].End}),
            (std::vector<ParagraphEnd>{ParagraphEnd::Cell, ParagraphEnd::Cell, ParagraphEnd::Row, ParagraphEnd::Cell,
                                       ParagraphEnd::Row}));
  EXPECT_TRUE(p[4].TableBorders && p[4].Format.InTable);
  EXPECT_FALSE(p[7].TableBorders);
  EXPECT_EQ(p[9].Format.Style, 2);
  EXPECT_TRUE(doc.Styles.at(1).Heading && doc.Styles.at(2).Heading && !doc.Styles.at(15).Heading);
  EXPECT_EQ(doc.Colors.size(), 4u);
  EXPECT_FALSE(doc.Colors[0].has_value());
  EXPECT_EQ(doc.Colors[3], 0xFF0000u);
}

TEST(RtfReader, EmbeddedReferencesAreFoundInTheVisibleText) {
  std::string body = WordFootnote('#', "e") + "\\{bmc pic.bmp\\} \\{bm{\\b l} a{\\i rt}.shg\\}"
                     "{\\uldb \\{bmct one.bmp;two.bmp\\}}{\\v target}"
                     "\\{button Go,JI(`',`x')\\}\\{ewc dll,window,arg\\}\\{bmx text\\}{\\v \\{bmc hidden.bmp\\}}\\par ";
  HelpDocument doc = ReadRtfDocument(WordDocument({body}), 0);
  ASSERT_EQ(doc.Topics.size(), 1u);
  const Paragraph& p = doc.Topics[0].Paragraphs[0];
  EXPECT_EQ(Pieces(p), "[picref:pic.bmp][: ][picref:art.shg][picref/d:one.bmp;two.bmp][/v:target]"
                       "[button:Go=JI(`',`x')][:{bmx text}][/v:{bmc hidden.bmp}]");
  EXPECT_EQ(p.Inlines[2].Alignment, Placement::Left);
}

TEST(RtfReader, DocumentFormIsRecognisedByPagesStyleSheetsAndFormattedGroups) {
  EXPECT_TRUE(IsDocumentForm("{\\rtf1 a\\page b}"));
  EXPECT_TRUE(IsDocumentForm("{\\rtf1{\\stylesheet{Normal;}} a}"));
  // One topic without a style sheet, as authoring tools other than a plain editor write it.
  EXPECT_TRUE(IsDocumentForm("{\\rtf1 #{\\footnote x}{\\b Title}\\par }"));
  EXPECT_TRUE(IsDocumentForm("{\\rtf1 #{\\footnote x}a {\\cf2 red}\\par }"));
  EXPECT_TRUE(IsDocumentForm("{\\rtf1 #{\\footnote # x}a\\par }"));
  EXPECT_TRUE(IsDocumentForm("{\\rtf1 #{\\footnote {\\up6 #} x}a\\par }"));
  // A plain editor's form: formatting in the running text, groups for tables, footnotes and hotspots.
  EXPECT_FALSE(IsDocumentForm("{\\rtf1\\pagebb a\\par }"));
  EXPECT_FALSE(IsDocumentForm("{\\rtf1\n#{\\footnote x}a\\par\n}"));
  EXPECT_FALSE(IsDocumentForm("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}{\\*\\generator Msftedit;}\\viewkind4\\uc1\\pard\\b #{\\footnote x}"
                              "T\\b0\\par {\\bkmkstart a}{\\info}{\\ul w}{\\v x}{\\pntext\\f1 -\\tab}\\par }"));
}

}  // namespace
}  // namespace quorvex
