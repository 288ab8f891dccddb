#include "hlp/CompiledHelpReader.h"

#include <gtest/gtest.h>

#include "document/TextOutput.h"
#include "base/ContextHash.h"
#include "hlp/HelpFileError.h"
#include "support/ErrorMessage.h"
#include "support/HelpFileBuilder.h"
#include "support/ShgBuilder.h"

namespace quorvex {
namespace {

using test::Bytes;
using test::HelpBuilder;
using test::RecordBuilder;
using test::BuiltTopic;

// A paragraph in a few characters: text as it stands, [2 ...] a double
// underline (jump), [1 ...] a single one (popup), {target} hidden text, |
// a tab, / a line break, <pN> picture N, <#name> an anchor, <button:macro>.
std::string Describe(const Paragraph& paragraph) {
  std::string out;
  int underline = 0;
  for (const Inline& piece : paragraph.Inlines) {
    const int now = piece.Format.Hidden ? 0 : static_cast<int>(piece.Format.Underlined);
    if (now != underline) {
      if (underline) out += "]";
      if (now) out += "[" + std::to_string(now) + " ";
      underline = now;
    }
    switch (piece.Kind) {
      case InlineKind::Text: out += piece.Format.Hidden ? "{" + PlainText(piece.Text) + "}" : PlainText(piece.Text); break;
      case InlineKind::Tab: out += "|"; break;
      case InlineKind::LineBreak: out += "/"; break;
      case InlineKind::Picture: out += "<p" + std::to_string(piece.PictureIndex) + ">"; break;
      case InlineKind::Anchor: out += "<#" + PlainText(piece.Text) + ">"; break;
      case InlineKind::Button: out += "<" + PlainText(piece.Text) + ":" + PlainText(piece.Target) + ">"; break;
      default: out += "<?>"; break;
    }
  }
  if (underline) out += "]";
  return out;
}

std::vector<std::string> Describe(const Topic& topic) {
  std::vector<std::string> out;
  for (const Paragraph& paragraph : topic.Paragraphs) out.push_back(Describe(paragraph));
  return out;
}

std::vector<std::string> Footnotes(const Topic& topic) {
  std::vector<std::string> out;
  for (const Footnote& note : topic.Footnotes) {
    out.push_back(std::string(1, static_cast<char>(note.Mark)) + (note.AfterBodyText ? "+" : "") + PlainText(note.Text));
  }
  return out;
}

CompiledHelp Read(HelpBuilder& builder, CompiledHelpOptions options = {}) {
  const Bytes file = builder.Build();
  return ReadCompiledHelp(file, options);
}

TEST(CompiledHelpReader, TextRecordsKeepTheirParagraphsAndFormatting) {
  HelpBuilder help;
  help.Fonts = {{"Arial"}, {"Arial", 1, 32, {0, 0, 0x80}}, {"Arial", 2}, {"Symbol"}};
  BuiltTopic topic{"Formatting", {"fmt"}};
  topic.Records.push_back(RecordBuilder().Paragraph(0x0800).Font(1).Text("Heading").Par().End());  // centred
  topic.Records.push_back(RecordBuilder()
                              .Paragraph(0x0052, {4, 36, -35})  // space above, left and first indent (half-points)
                              .Font(3).Text("\xB7").Command(0x83).Font(0).Text("one").Command(0x81)
                              .Text("two").Command(0x8B).Font(2).Text("three").Par()
                              .Text("second paragraph").Par().End());
  topic.NonScrolling = 1;
  help.Topics.push_back(topic);
  CompiledHelp read = Read(help);
  ASSERT_EQ(read.Document.Topics.size(), 1u);
  const Topic& model = read.Document.Topics[0];
  EXPECT_EQ(Describe(model), (std::vector<std::string>{"Heading", "?|one/two three", "second paragraph"}));
  EXPECT_TRUE(model.Paragraphs[0].Format.KeepNext && model.Paragraphs[0].Format.Centered);
  EXPECT_FALSE(model.Paragraphs[1].Format.KeepNext);
  EXPECT_EQ(model.Paragraphs[1].Format.LeftIndent, 360);
  EXPECT_EQ(model.Paragraphs[1].Format.FirstIndent, -350);
  const CharFormat heading = model.Paragraphs[0].Inlines[0].Format;
  EXPECT_TRUE(heading.Bold);
  EXPECT_EQ(heading.FontSize, 32);
  ASSERT_GE(heading.Color, 0);
  EXPECT_EQ(read.Document.Colors.at(heading.Color), std::optional<std::uint32_t>(0x000080));
  EXPECT_EQ(model.Paragraphs[1].Inlines[0].Text, U"\u2022");  // a Symbol font's bullet
  EXPECT_EQ(model.Paragraphs[1].Inlines[4].Text, DocText(U"two\u00A0"));
  EXPECT_TRUE(model.Paragraphs[1].Inlines[5].Format.Italic);
  EXPECT_EQ(model.Paragraphs[1].Inlines[5].Format.Color, -1);  // the default colour is no colour
  EXPECT_EQ(read.Document.BodyFontSize, 20);
}

TEST(CompiledHelpReader, TableRowsBecomeCells) {
  HelpBuilder help;
  BuiltTopic topic{"Table", {"table"}};
  for (const char* row : {"a", "b"}) {
    topic.Records.push_back(RecordBuilder(0x23)
                                .Columns({{100, 10}, {200, 10}})
                                .Cell(0, 0x0100, {1}).Text(row).Text("1").Par().Text(row).Text("2").End()
                                .Cell(1).Text(row).Text("3").End());
  }
  help.Topics.push_back(topic);
  const Topic model = Read(help).Document.Topics[0];
  EXPECT_EQ(Describe(model), (std::vector<std::string>{"a1", "a2", "a3", "b1", "b2", "b3"}));
  EXPECT_EQ(model.Paragraphs[2].Cells.Widths, (std::vector<int>{1000, 2000}));  // half-points as twips
  EXPECT_FALSE(model.Paragraphs[2].Cells.Percent);
  const ParagraphEnd ends[] = {ParagraphEnd::Paragraph, ParagraphEnd::Cell, ParagraphEnd::Row,
                               ParagraphEnd::Paragraph, ParagraphEnd::Cell, ParagraphEnd::Row};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(model.Paragraphs[i].End, ends[i]) << i;
    EXPECT_TRUE(model.Paragraphs[i].Format.InTable);
    EXPECT_TRUE(model.Paragraphs[i].TableBorders);
  }
}

// The arguments of a jump or popup into a secondary window or another help.
Bytes Elsewhere(std::uint8_t kind, const char* context, const Bytes& tail) {
  Bytes fields{kind};
  test::Put32(fields, ContextHash(context));
  fields.insert(fields.end(), tail.begin(), tail.end());
  Bytes arguments;
  test::Put16(arguments, fields.size());
  return test::Join({arguments, fields});
}

// Window 0 of |SYSTEM, named `name`.
Bytes Window(const char* name) {
  Bytes window(2 + 10, 0);
  Bytes field = test::Str(name);
  field.resize(9, 0);
  window.insert(window.end(), field.begin(), field.end());
  window.resize(90, 0);
  return window;
}

TEST(CompiledHelpReader, HotspotsNameTheirTargetsAsTheSourcesWould) {
  HelpBuilder help;
  help.SystemRecords.push_back({6, Window("second")});
  BuiltTopic first{"First", {"first"}};
  first.Records.push_back(RecordBuilder()
                              .Paragraph()
                              .Hotspot(0xE3, ContextHash("second_topic")).Text("jump").HotspotEnd().Text(" ")
                              .Hotspot(0xE2, ContextHash("popup_topic")).Text("popup").HotspotEnd().Text(" ")
                              .Hotspot(0xE7, ContextHash("second_topic")).Text("plain").HotspotEnd().Text(" ")
                              .Macro("JumpId(`other.hlp', `far_away')").Text("macro").HotspotEnd().Text(" ")
                              .Command(0xEE, Elsewhere(1, "second_topic", {0})).Text("window").HotspotEnd().Text(" ")
                              .Command(0xEA, Elsewhere(4, "far_away", test::Z("OTHER.HLP"))).Text("far").HotspotEnd().Text(" ")
                              .Command(0xEF, Elsewhere(6, "first", test::Join({test::Z("test.hlp"), test::Z("w")})))
                              .Text("self").HotspotEnd().Text(" ")
                              .Hotspot(0xE6, ContextHash("popup_topic")).Text("quiet").HotspotEnd().Text(" ")
                              .Command(0xCC, test::Join({{10, 0}, test::Z("Back()")})).Text("back").HotspotEnd().Text(" ")
                              .Command(0xEB, Elsewhere(0, "popup_topic", {})).Text("here").HotspotEnd().Text(" ")
                              .Hotspot(0xE3, ContextHash("nowhere")).Text("broken").HotspotEnd().Par().End());
  BuiltTopic second{"Second", {"second_topic"}};
  second.Records.push_back(RecordBuilder().Paragraph().Text("two").Par().End());
  BuiltTopic popup{"", {"popup_topic"}};
  popup.Records.push_back(RecordBuilder().Paragraph().Text("pop").Par().End());
  help.Topics = {first, second, popup};
  CompiledHelpOptions options;
  options.FileName = "TEST.HLP";
  options.KnownNames = {"second_topic", "popup_topic"};
  CompiledHelp read = Read(help, options);
  // "First" hashes like "first": the title gives the name back.
  EXPECT_EQ(Describe(read.Document.Topics[0].Paragraphs[0]),
            "[2 jump]{second_topic} [1 popup]{popup_topic} [2 plain]{%second_topic} "
            "[2 macro]{!JumpId(`other.hlp', `far_away')} [2 window]{second_topic>second} "
            "[1 far]{far_away@OTHER.HLP} [2 self]{%First>w} [1 quiet]{%popup_topic} [2 back]{%!Back()} "
            "[1 here]{%popup_topic} [2 broken]{}");
  EXPECT_EQ(read.Warnings, std::vector<ByteString>{
      "|TOPIC, offset 0xC: a hotspot leads to a context the help does not hold (hash 0x" + [] {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", ContextHash("nowhere"));
        return std::string(hex);
      }() + ")"});
}

TEST(CompiledHelpReader, PicturesAndButtonsBecomeTheirPieces) {
  test::ShgBuilder shg;
  shg.Palette = {0, 0, 0, 0, 255, 255, 255, 0};
  shg.Data = {0, 0, 0, 0};
  shg.Hotspots.push_back({0xE3, 0, 0, 0, 1, 1, "spot", "picture_target"});
  const Bytes picture = shg.Build();
  HelpBuilder help;
  help.Files["|bm0"] = picture;
  BuiltTopic topic{"Pictures", {"pictures"}};
  topic.Records.push_back(RecordBuilder()
                              .Paragraph()
                              .Picture(0x86, 0, 1).Picture(0x87, 0).StoredPicture(0x88, picture).Picture(0x86, 7)
                              .Object(0x86, "!Next,Next()").Object(0x86, "*0x8400,0,movie.avi")
                              .Hotspot(0xE3, ContextHash("picture_target")).Picture(0x86, 0).HotspotEnd()
                              .Par().End());
  BuiltTopic target{"Another", {"picture_target"}};
  target.Records.push_back(RecordBuilder().Paragraph().Text("x").Par().End());
  help.Topics = {topic, target};
  CompiledHelp read = Read(help);
  const Paragraph& paragraph = read.Document.Topics[0].Paragraphs[0];
  EXPECT_EQ(Describe(paragraph), "<p0><p0><p1><p2><Next:Next()>[2 <p0>]{picture_target}");
  EXPECT_EQ(paragraph.Inlines[1].Alignment, Placement::Left);
  EXPECT_EQ(paragraph.Inlines[2].Alignment, Placement::Right);
  ASSERT_EQ(read.Document.Pictures.size(), 3u);
  EXPECT_EQ(read.Document.Pictures[0].Type, EmbeddedPicture::Format::Segmented);
  EXPECT_EQ(read.Document.Pictures[0].Data, picture);
  EXPECT_EQ(read.Document.Pictures[1].Data, picture);
  EXPECT_EQ(read.Document.Pictures[2].Type, EmbeddedPicture::Format::Unknown);  // |bm7 is missing
  // The picture's hotspot names its target's context, which names the page.
  EXPECT_EQ(Footnotes(read.Document.Topics[1]).front(), "#picture_target");
  EXPECT_EQ(read.Warnings.size(), 2u);  // the missing picture, the media clip
}

TEST(CompiledHelpReader, NamesKeywordsMapAndBrowseOrder) {
  HelpBuilder help;
  help.Language = 0x411;
  help.Title = "\x83w\x83\x8B\x83v";
  help.SystemRecords.push_back({4, test::Z("JumpId(`', `IDH_CONTENTS')")});
  auto text = [](const char* t) { return RecordBuilder().Paragraph().Text(t).Par().End(); };
  BuiltTopic contents{"Contents Page", {"IDH_CONTENTS"}};
  contents.Records = {RecordBuilder().Paragraph().Hotspot(0xE3, ContextHash("hidden_place")).Text("go").HotspotEnd().Par().End()};
  BuiltTopic menu{"Menu File", {"menu_file", "menu_alias"}, {"menu, file", "files"}, {"menus"}, {"KL(`x')", "Cancel(`menu_alias')"}};
  menu.Records = {text("m")};
  BuiltTopic twin{"Menu File", {"unknowable_1"}};
  twin.Records = {text("t")};
  BuiltTopic japanese{"\x93\xFA\x96{\x8C\xEA", {"x_y_z"}, {"place_ctx"}};
  japanese.Records = {text("j")};
  BuiltTopic places{"", {"unknowable_2"}};
  places.Records = {text("a"), text("b"), text("c")};
  places.Places = {{"place_ctx", 1}, {"hidden_place", 2}};
  menu.BrowseNext = 4;
  japanese.BrowseNext = 1;
  help.Topics = {contents, menu, twin, japanese, places};
  help.Map = {{0x10, "menu_alias"}, {0x20, "place_ctx"}};
  CompiledHelpOptions options;
  options.KnownNames = {"menu_file", "unrelated>win"};
  CompiledHelp read = Read(help, options);

  EXPECT_EQ(read.CodePage, 932);
  EXPECT_EQ(read.Title, (DocText{ShiftJisChar(0x8377), ShiftJisChar(0x838B), ShiftJisChar(0x8376)}));
  EXPECT_EQ(read.ContentsTopic, "IDH_CONTENTS");
  const std::vector<std::vector<std::string>> footnotes = {
      {"#IDH_CONTENTS", "$Contents Page"},
      {"#menu_file", "#menu_alias", "#map_0x10", "$Menu File", "Kfiles;menu, file", "Amenus", "!KL(`x')",
       "!Cancel(`menu_alias')"},
      {"#menu_file_2", "$Menu File"},
      {"#topic_4", "$\x93\xFA\x96{\x8C\xEA", "Kplace_ctx"},
      {"#topic_5", "#+place_ctx", "#+map_0x20", "#+topic_5_place"},
  };
  for (std::size_t t = 0; t < footnotes.size(); ++t) EXPECT_EQ(Footnotes(read.Document.Topics[t]), footnotes[t]) << t;
  EXPECT_EQ(Describe(read.Document.Topics[0]), std::vector<std::string>{"[2 go]{topic_5_place}"});
  EXPECT_EQ(Describe(read.Document.Topics[4]), (std::vector<std::string>{"a", "<#place_ctx><#map_0x20>b", "<#topic_5_place>c"}));
  ASSERT_EQ(read.Map.size(), 2u);
  EXPECT_EQ(read.Map[0].Context, "map_0x10");
  EXPECT_EQ(read.Map[0].Id, 0x10u);
  EXPECT_EQ(read.Map[1].Context, "map_0x20");
  EXPECT_EQ(read.BrowseOrder, (std::vector<std::size_t>{0, 3, 1, 4, 2}));
}

TEST(CompiledHelpReader, PhraseCompressedTextAndRecordsAcrossBlocks) {
  for (test::PhraseKind kind : {test::PhraseKind::None, test::PhraseKind::Classic, test::PhraseKind::Hall}) {
    // Stored blocks of 4 KB; packed ones of 4 KB that expand to 16 KB, and of
    // 2 KB (WinHelp 3.1) whose packed data fills them.
    for (auto [minor, flags] : {std::pair<std::uint16_t, std::uint16_t>{33, 0}, {33, 4}, {21, 8}}) {
      HelpBuilder help;
      help.Minor = minor;
      help.Flags = flags;
      help.FullBlocks = flags == 8;
      help.Phrasing = kind;
      help.Phrases = {"the", "help", "phrase"};
      for (int i = 0; i < 200; ++i) help.Phrases.push_back("p" + std::to_string(i));  // numbers past 127 and 255
      help.Phrases.push_back("tail");
      const std::string filler(600, 'x');
      for (int t = 0; t < 40; ++t) {
        BuiltTopic topic{"Topic " + std::to_string(t), {"t" + std::to_string(t)}};
        topic.Records.push_back(RecordBuilder().Paragraph().Text("the help phrase   tail p150 end " + std::to_string(t)).Par().End());
        topic.Records.push_back(RecordBuilder().Paragraph().Text(filler).Par().End());
        help.Topics.push_back(topic);
      }
      CompiledHelp read = Read(help);
      ASSERT_EQ(read.Document.Topics.size(), 40u);
      for (int t = 0; t < 40; ++t) {
        EXPECT_EQ(Describe(read.Document.Topics[t]),
                  (std::vector<std::string>{"the help phrase   tail p150 end " + std::to_string(t), filler}))
            << t << " " << static_cast<int>(kind) << " " << flags;
      }
      for (std::size_t t = 0; t < 40; ++t) {
        EXPECT_EQ(Footnotes(read.Document.Topics[t]).front(), "#topic_" + std::to_string(t));
      }
      EXPECT_TRUE(read.Warnings.empty());
      EXPECT_GT(help.TopicOffsets.back(), 32768u);  // the topics span blocks
    }
  }
}

TEST(CompiledHelpReader, WinHelp30FilesNumberTheirTopics) {
  HelpBuilder help;
  help.Minor = 15;
  help.Flags = 0;
  BuiltTopic first{"First", {}};
  first.Records.push_back(RecordBuilder(0x01).Paragraph().Hotspot(0xE1, 16 + 1).Text("next").HotspotEnd()
                              .Hotspot(0xE0, 16 + 1).Text("pop").HotspotEnd().Hotspot(0xE1, 99).Text("gone").HotspotEnd()
                              .Par().End());
  BuiltTopic second{"Second", {}};
  second.Records.push_back(RecordBuilder(0x01).Paragraph().Text(std::string(3000, 'y')).Par().End());
  first.BrowseNext = 1;
  help.Topics = {first, second};
  CompiledHelp read = Read(help);
  ASSERT_EQ(read.Document.Topics.size(), 2u);
  EXPECT_EQ(Describe(read.Document.Topics[0]), std::vector<std::string>{"[2 next]{second}[1 pop]{second}[2 gone]{}"});
  EXPECT_EQ(Describe(read.Document.Topics[1]), std::vector<std::string>{std::string(3000, 'y')});
  EXPECT_EQ(read.Title, U"Test help");
  EXPECT_EQ(read.ContentsTopic, "first");
  EXPECT_EQ(read.BrowseOrder, (std::vector<std::size_t>{0, 1}));
}

TEST(CompiledHelpReader, DamageEndsTheReadingUnlessItKeepsGoing) {
  HelpBuilder help;
  BuiltTopic topic{"T", {"t"}};
  topic.Records.push_back(RecordBuilder().Paragraph().Text("kept").Command(0x99).Text("lost").Par().End());
  topic.Records.push_back(RecordBuilder().Paragraph().Text("after").Par().End());
  help.Topics.push_back(topic);
  const Bytes file = help.Build();
  EXPECT_EQ(test::ErrorMessage<EHelpFileError>([&] { ReadCompiledHelp(file, {}); }),
            "|TOPIC, offset 0x" + [&] {
              char hex[16];
              std::snprintf(hex, sizeof hex, "%X", 12u + 21u + 28u + 2u);
              return std::string(hex);
            }() + ": unknown formatting command 0x99; the rest of the record is left out");
  CompiledHelpOptions keepGoing;
  keepGoing.KeepGoing = true;
  CompiledHelp read = ReadCompiledHelp(file, keepGoing);
  EXPECT_EQ(Describe(read.Document.Topics[0]), (std::vector<std::string>{"kept", "after"}));
  EXPECT_EQ(read.Warnings.size(), 1u);
  EXPECT_EQ(test::ErrorMessage<EHelpFileError>([&] { ReadCompiledHelp(test::HelpFile({{"|TOPIC", {}}}), {}); }),
            "|SYSTEM, offset 0x0: the help has no |SYSTEM file");
}

TEST(CompiledHelpReader, TheCodePageComesFromTheLanguageTheFontsOrTheOption) {
  struct Case {
    std::uint16_t language;
    const char* face;
    int option;
    int codePage;
    DocText text;  // of the bytes C0 E0
  };
  const Case cases[] = {
      {0x419, "Arial", 0, 1251, U"\u0410\u0430"},
      {0, "Arial Cyr", 0, 1251, U"\u0410\u0430"},  // WinHelp 3.1 files name no language
      {0, "Times New Roman CE", 0, 1250, U"\u0154\u0155"},
      // Half-width katakana; a lead byte without its trail byte is no character.
      {0, "\x82l\x82r \x83S\x83V\x83" "b\x83N", 0, 932, DocText{ShiftJisChar(0xC0), U'?'}},
      // Chinese and Korean faces whose bytes also pair up as Shift-JIS.
      {0, "\xbf\xac\xcc\xe5_GB2312", 0, 936, U"\u7C7B"},
      {0, "\xb7s\xb2\xd3\xa9\xfa\xc5\xe9", 0, 950, U"\u6FEC"},
      {0, "\xb1\xbc\xb8\xb2", 0, 949, U"\uC79A"},
      {0, "Arial", 0, 1252, U"\u00C0\u00E0"},
      {0x411, "Arial", 1252, 1252, U"\u00C0\u00E0"},
  };
  for (const Case& c : cases) {
    HelpBuilder help;
    help.Language = c.language;
    help.Fonts = {{c.face}};
    BuiltTopic topic{"T", {"t"}};
    topic.Records.push_back(RecordBuilder().Paragraph().Text("\xC0\xE0").Par().End());
    help.Topics.push_back(topic);
    CompiledHelpOptions options;
    options.CodePage = c.option;
    CompiledHelp read = Read(help, options);
    EXPECT_EQ(read.CodePage, c.codePage) << c.face;
    EXPECT_EQ(read.Document.Topics[0].Paragraphs[0].Inlines[0].Text, c.text) << c.face;
  }
}

}  // namespace
}  // namespace quorvex
