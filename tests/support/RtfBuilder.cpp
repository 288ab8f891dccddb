#include "support/RtfBuilder.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>

namespace quorvex::test {

std::string WordText(const std::string& utf8, const char* codePage) {
  std::string out;
  iconv_t cd = iconv_open(codePage, "UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << codePage;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t length = 1;
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c >= 0xF0) length = 4; else if (c >= 0xE0) length = 3; else if (c >= 0xC0) length = 2;
    if (length == 1) {
      if (c == '\\' || c == '{' || c == '}') out += '\\';
      out += static_cast<char>(c);
    } else {
      std::string input = utf8.substr(i, length);
      char buffer[8];
      char* in = input.data();
      char* outPtr = buffer;
      std::size_t inLeft = input.size(), outLeft = sizeof buffer;
      EXPECT_NE(iconv(cd, &in, &inLeft, &outPtr, &outLeft), static_cast<std::size_t>(-1)) << input;
      for (char* p = buffer; p < outPtr; ++p) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\'%02x", static_cast<unsigned char>(*p));
        out += escape;
      }
    }
    i += length;
  }
  iconv_close(cd);
  return out;
}

std::string WordFootnote(char mark, const std::string& text) {
  const std::string m(1, mark);
  return "{\\cs16\\super " + m + "{\\footnote \\pard\\plain \\s15\\widctlpar\\fs20 {\\cs16\\super " + m + "} " + text +
         "}}";
}

std::string WordHeader(int ansiCodePage) {
  std::string cpg = ansiCodePage ? "\\ansicpg" + std::to_string(ansiCodePage) : "";
  return "{\\rtf1\\ansi" + cpg + "\\uc1\\deff0\\deflang1033\r\n"
         "{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}"
         "{\\f1\\froman\\fcharset2\\fprq2 Symbol;}{\\f2\\fmodern\\fcharset128\\fprq1 " + WordText("ＭＳ ゴシック") +
         "{\\*\\falt MS Gothic};}{\\f3\\fnil\\fcharset2 Wingdings;}{\\f4\\fnil\\fcharset136 PMingLiU;}"
         "{\\f5\\froman\\fcharset238 Times New Roman CE;}}\r\n"
         "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green0\\blue0;}\r\n"
         "{\\stylesheet{\\widctlpar\\fs20 \\snext0 Normal;}{\\s1\\keepn\\widctlpar\\b\\fs28 \\sbasedon0 \\snext0 heading 1;}"
         "{\\s2\\keepn\\b\\fs24 \\sbasedon0 \\snext0 " + WordText("見出し 2") + ";}"
         "{\\*\\cs10 \\additive Default Paragraph Font;}{\\s15\\widctlpar\\fs20 \\sbasedon0 \\snext15 footnote text;}"
         "{\\*\\cs16 \\additive \\super \\sbasedon10 footnote reference;}}\r\n"
         "{\\info{\\title x}{\\author y}}\\paperw11906\\widowctrl\\ftnbj\\sectd \\linex0\\endnhere\r\n";
}

std::string WordDocument(const std::vector<std::string>& topics, int ansiCodePage) {
  std::string rtf = WordHeader(ansiCodePage);
  for (std::size_t i = 0; i < topics.size(); ++i) {
    if (i > 0) rtf += "\\page \r\n";
    rtf += "\\pard\\plain \\widctlpar\\fs20 " + topics[i];
  }
  return rtf + "}\r\n";
}

}  // namespace quorvex::test
