#include "web/WebPage.h"

#include <gtest/gtest.h>

#include "web/HtmlText.h"

namespace quorvex {
namespace {

// The frame of a converted page (in UTF-8), with its popup texts in its head.
const std::string kPage =
    "<html>\r\n<head>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">\r\n"
    "<link rel=\"stylesheet\" type=\"text/css\" href=\"help.css\">\r\n"
    "<object\r\nid=popup type=\"application/x-oleobject\"\r\n"
    "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">\r\n</object>\r\n"
    "<script Language=JavaScript>\r\n"
    "popfont=\"ＭＳ Ｐゴシック,10\"\r\n"
    "pop1=\"終わり</script><script>alert(1)</script>\"\r\n"
    "</script>\r\n"
    "<title>題 &amp; 名</title>\r\n</head>\r\n\r\n"
    "<body bgcolor=#ffffe2>\r\n<h4>見出し<br>\r\n</h4>本<b>文</b>です。<br>次の行&lt;1&gt;&nbsp;&#x263A;&#0;"
    "<a href=\"JavaScript:popup.TextPopup(pop1,popfont,9,9,-1,-1)\">リンク</a><!-- 注釈 --></body></html>\r\n";

TEST(WebPage, DeclaresUtf8LoadsOurScriptFirstAndDropsTheControl) {
  std::string page = WebPageFor(kPage);
  EXPECT_EQ(page.find("<html>\r\n<head>\n" + std::string(kWebPageHead)), 0u);
  EXPECT_EQ(page.find("shift_jis"), std::string::npos);
  EXPECT_EQ(page.find("<object"), std::string::npos);
  EXPECT_EQ(page.find("clsid"), std::string::npos);
  // No popup text can end the script it stands in; the script's own end stays.
  EXPECT_NE(page.find("pop1=\"終わり<\\/script><script>alert(1)<\\/script>\"\r\n</script>\r\n<title>"),
            std::string::npos);
  EXPECT_EQ(page.substr(page.find("<body")), kPage.substr(kPage.find("<body")));

  // Without the block's end line nothing tells the texts from the page: nothing is escaped.
  const std::string unended = "<script Language=JavaScript>\r\npop1=\"</a>\"\r\n<body><a>x</a></body>";
  EXPECT_EQ(WebPageFor(unended), kWebPageHead + unended);
  EXPECT_EQ(WebPageFor("<p>no head</p>"), kWebPageHead + std::string("<p>no head</p>"));
  EXPECT_EQ(WebPageFor("<HTML><p>x</p>"), "<HTML>\n" + std::string(kWebPageHead) + "<p>x</p>");
}

TEST(WebPage, TextIsWhatAReaderSees) {
  PageText text = ReadPageText(kPage);
  EXPECT_EQ(text.title, "題 & 名");
  EXPECT_EQ(text.text, "見出し 本文です。 次の行<1>\u00a0☺\uFFFDリンク");
  EXPECT_EQ(ReadPageText("<title>unclosed").title, "unclosed");
  EXPECT_EQ(ReadPageText("a<script>never closed").text, "a");
  EXPECT_EQ(DecodeEntities("&unknown; &#xZZ; &#99999999; & &amp"), "&unknown; &#xZZ; \uFFFD & &amp");
}

TEST(WebPage, StyleSheetFontsFallBackToSansSerif) {
  EXPECT_EQ(WebStyleSheetFor("body\t{ font-size: 75%; font-family: ＭＳ Ｐゴシック; }\r\n"
                             "p { FONT-FAMILY: serif }\r\ntd { font-family: a, monospace; }\r\nh1 { font-family: x }"),
            "body\t{ font-size: 75%; font-family: ＭＳ Ｐゴシック, sans-serif; }\r\n"
            "p { FONT-FAMILY: serif }\r\ntd { font-family: a, monospace; }\r\nh1 { font-family: x, sans-serif }");
}

}  // namespace
}  // namespace quorvex
