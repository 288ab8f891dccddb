#include "topics/PopupText.h"

#include <gtest/gtest.h>

#include "topics/PopupLinks.h"
#include "topics/ScriptString.h"
#include "topics/TopicTestSupport.h"

namespace quorvex {
namespace {

using test::MessageOf;
using test::Sjis;
using test::TopicFixture;

std::string Text(TopicFixture& f, std::initializer_list<std::string> lines) {
  f.WriteTopic("pop.rtf", lines);
  return ReadPopupText(f.job, f.dir.Engine() + "pop.rtf");
}

TEST(PopupText, FootnotesGroupsAndControlWordsAreDropped) {
  TopicFixture f;
  EXPECT_EQ(Text(f, {"{\\rtf1", "{\\colortbl ;\\red1\\green2\\blue3;}",
                     "\\pard\\f0 #{\\footnote pop}${\\footnote T}K{\\footnote k} +{\\footnote b}First \\b bold\\b0 and "
                     "\\bullet\\b\\i x\\par ",
                     "{\\uldb link}{\\v target}after\\tab \\'8e\\'9f\\par }"}),
            "First boldand x\\nafter\x8e\x9f");
}

TEST(PopupText, ParagraphsAndLines) {
  TopicFixture f;
  EXPECT_EQ(Text(f, {"{\\rtf1", "#{\\footnote p}one\\par two\\par", "", "three\\par }", "}"}), "one\\ntwothree");
  EXPECT_EQ(Text(f, {"{\\rtf1", "no footnote\\par ", "next"}), "next");  // the first line is all header
  EXPECT_EQ(Text(f, {"{\\rtf1", "#{\\footnote p}\"q\" \\\\ \\'5c\x01}"}), "\"q\" \\");
}

TEST(PopupText, RecordsThePopupPageOnce) {
  TopicFixture f;
  f.job.NameMapKeys.Add("pop");
  f.job.NameMapValues.Add("Popup");
  Text(f, {"{\\rtf1", "x"});
  Text(f, {"{\\rtf1", "y"});
  EXPECT_EQ(f.job.PopupPages, StringList({"Popup.html"}));
  EXPECT_EQ(ReadPopupText(f.job, f.dir.Engine() + "none.rtf"), "");
  EXPECT_EQ(f.job.PopupPages.Count(), 1);
}

TEST(PopupText, ShortAndJoinedFiles) {
  TopicFixture f;
  EXPECT_EQ(Text(f, {}), "");
  EXPECT_EQ(Text(f, {"{\\rtf1 only line}"}), "");
  EXPECT_EQ(Text(f, {"{\\rtf1", "{\\fonttbl{\\f0 x;}}"}), "");  // join rule without a next line
  EXPECT_EQ(Text(f, {"{\\rtf1", "{\\fonttbl{\\f0 x;}}", "\\viewkind4 #{\\footnote p}body\\par "}), "body\\n");
}

TEST(PopupText, HexEscapeThatIsNotHex) {
  TopicFixture f;
  EXPECT_EQ(MessageOf([&] { Text(f, {"{\\rtf1", "#{\\footnote p}a\\'g1"}); }), Sjis("'$g1' は整数ではありません"));
}

TEST(ScriptString, QuotesCannotEndTheString) {
  EXPECT_EQ(EscapeScriptString("say \"hi\"\\n"), "say \\\"hi\\\"\\n");
  EXPECT_EQ(EscapeScriptString("a\\\"b"), "a\\\"b");         // already escaped by the text
  EXPECT_EQ(EscapeScriptString("a\\\\\"b"), "a\\\\\\\"b");   // an escaped backslash does not escape the quote
  EXPECT_EQ(EscapeScriptString("end\\"), "end\\\\");         // nor may a last backslash escape the closing quote
  EXPECT_EQ(EscapeScriptString("\x83\\\""), "\x83\\\\\"");  // ソ: its trail byte 0x5C is no backslash
  EXPECT_EQ(EscapeScriptString("\x83\\"), "\x83\\");
  EXPECT_EQ(EscapeScriptString("x\x81\"y\x82\nz\x83"), "x\\\"y\\nz");  // lead bytes without a trail byte go
  EXPECT_EQ(PopupScriptLine(3, "a\"b"), "pop3=\"a\\\"b\"");
  EXPECT_EQ(EscapeScriptString("a\r\nb\\\n"), "a\\r\\nb\\\\\\n");
}

// Reads a double-quoted script string the way a Shift-JIS page decodes it:
// true when it ends exactly at its last byte and holds no raw line end.
bool IsOneScriptString(const std::string& literal) {
  auto isTrail = [](unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); };
  auto isPair = [&](std::size_t i) {
    return IsLeadByte(literal[i]) && i + 1 < literal.size() && isTrail(static_cast<unsigned char>(literal[i + 1]));
  };
  for (std::size_t i = 1; i < literal.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(literal[i]);
    if (isPair(i)) {
      ++i;
    } else if (c == '\\') {  // escapes the whole next character
      if (++i >= literal.size() || literal[i] == '\r' || literal[i] == '\n') return false;
      if (isPair(i)) ++i;
    } else if (c == '\r' || c == '\n') {
      return false;
    } else if (c == '"') {
      return i + 1 == literal.size();
    }
  }
  return false;
}

TEST(ScriptString, AnyTextStaysOneString) {
  const char bytes[] = {'"', '\\', '\r', '\n', 'a', '\x83', '\x81', '\x5c', '\x22'};
  unsigned seed = 1;
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int length = round % 9; length > 0; --length) {
      seed = seed * 1103515245u + 12345u;
      text += bytes[(seed >> 16) % sizeof bytes];
    }
    ASSERT_TRUE(IsOneScriptString("\"" + EscapeScriptString(text) + "\"")) << testing::PrintToString(text);
  }
}

}  // namespace
}  // namespace quorvex
