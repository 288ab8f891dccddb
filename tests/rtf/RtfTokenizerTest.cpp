#include "rtf/RtfTokenizer.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

// The tokens of `rtf` in a compact form: { } \word(param) \symbol 'hh <bin:n> "text".
std::string Tokens(std::string_view rtf) {
  RtfTokenizer tokenizer(rtf);
  std::string out;
  for (RtfToken t = tokenizer.Next(); t.Kind != RtfTokenKind::End; t = tokenizer.Next()) {
    switch (t.Kind) {
      case RtfTokenKind::GroupStart: out += "{ "; break;
      case RtfTokenKind::GroupEnd: out += "} "; break;
      case RtfTokenKind::ControlWord:
        out += "\\" + std::string(t.Name) + (t.HasParameter ? "(" + std::to_string(t.Parameter) + ")" : "") + " ";
        break;
      case RtfTokenKind::ControlSymbol: out += std::string("\\") + (t.Symbol == '\n' ? 'n' : t.Symbol) + " "; break;
      case RtfTokenKind::HexByte: out += "'" + std::to_string(t.Byte) + " "; break;
      case RtfTokenKind::Binary: out += "<bin:" + std::string(t.Bytes) + "> "; break;
      case RtfTokenKind::Text: out += "\"" + std::string(t.Bytes) + "\" "; break;
      case RtfTokenKind::End: break;
    }
  }
  return out;
}

TEST(RtfTokenizer, EveryKindOfToken) {
  struct Case {
    const char* rtf;
    const char* tokens;
  } cases[] = {
      {"{\\rtf1\\b bold\\b0 x}", "{ \\rtf(1) \\b \"bold\" \\b(0) \"x\" } "},
      {"\\li-360\\fi720  two", "\\li(-360) \\fi(720) \" two\" "},                // one space is the delimiter
      {"\\par\r\nnext\\line\nx", "\\par \"next\" \\line \"x\" "},                // line ends are no text
      {"\\'82\\'a0\\'5C", "'130 '160 '92 "},
      {"\\'8g\\'", "\"\\'\" \"8g\" \"\\'\" "},                                   // malformed escapes are text
      {"\\{\\}\\\\\\~\\*\\-", "\\{ \\} \\\\ \\~ \\* \\- "},
      {"a\\\r\nb", "\"a\" \\n \"b\" "},                                          // backslash + line end: a paragraph
      {"\\bin3 a}{b", "<bin:a}{> \"b\" "},                                      // binary data may hold braces
      {"\\bin99 ab", "<bin:ab> "},                                              // and stops at the end
      {"\\u-3913?", "\\u(-3913) \"?\" "},
      {"\\abcdefghijklmnopqrstuvwxyzabcdefghij1", "\\abcdefghijklmnopqrstuvwxyzabcdef \"ghij1\" "},
      {"\\f99999999999999 x", "\\f(2147483647) \"x\" "},
      {"\\x-y", "\\x \"-y\" "},
      {"end\\", "\"end\" \"\\\" "},
  };
  for (const Case& c : cases) EXPECT_EQ(Tokens(c.rtf), c.tokens) << c.rtf;
}

}  // namespace
}  // namespace quorvex
