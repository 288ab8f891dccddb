// Pages written from documents: each formatting mapping, hotspots and
// macros, popups, page names and where links lead.

#include <gtest/gtest.h>

#include "document/DocumentTestSupport.h"

namespace quorvex {
namespace {

using test::DocumentProject;
using test::WordFootnote;
using test::WordText;

TEST(DocumentPages, EachFormattingMapping) {
  struct Case {
    std::string rtf;
    std::string html;
  } cases[] = {
      {"a\\par b\\line c\\tab d\\~e\\par ", "a<br>\r\nb<br>c d&nbsp;e<br>\r\n"},
      {"{\\b B}{\\i I}{\\cf3 R}{\\cf0 A}{\\super 2}{\\sub 3}\\par ", "<b>B</b><i>I</i><font color=#ff0000>R</font>A<sup>2</sup><sub>3</sub><br>\r\n"},
      {"{\\colortbl\\red0\\green128\\blue0;}{\\cf0 G}\\par ", "<font color=#008000>G</font><br>\r\n"},  // no automatic entry
      {"\\li720 x\\par y\\par \\pard z\\par ", "<menu>\r\nx<br>\r\ny<br>\r\n</menu>\r\nz<br>\r\n"},
      {"{\\listtext\\f1 \\'b7\\tab}a\\par {\\listtext 1.\\tab}b\\par \\pard c\\par ",
       "<ul>\r\n<li>a\r\n</ul>\r\n<ol>\r\n<li>b\r\n</ol>\r\nc<br>\r\n"},
      {"\\keepn\\b Title\\b0  sub\\par \\pard body\\par ", "<h4>Title</h4> sub\r\n<hr>\r\nbody<br>\r\n"},
      {"\\s1 Head\\par \\pard\\qc mid\\par ", "<h5>Head</h5>\r\n<div align=center>mid</div>\r\n"},
      {"\\trowd\\clbrdrt\\brdrs\\cellx9\\cellx99\\pard\\intbl a\\par a2\\cell b\\cell \\row \\trowd\\cellx9\\pard\\intbl c\\cell \\row \\pard x\\par ",
       "<table border=1>\r\n<tr><td>a<br>a2</td><td>b</td></tr>\r\n<tr><td>c</td></tr>\r\n</table>\r\nx<br>\r\n"},
      {"{\\field{\\*\\fldinst HYPERLINK \"http://x.org/?a=1&b\"}{\\fldrslt site}}\\par ", "<a href=\"http://x.org/?a=1&amp;b\">site</a><br>\r\n"},
      {WordText("日本語と表") + " &<>\"\\u9731\\'3f\\par ", "日本語と表 &amp;&lt;&gt;&quot;&#9731;<br>\r\n"},
      {"{\\ul under} x{\\v gone}\\par ", "under x<br>\r\n"},
  };
  for (const Case& c : cases) {
    DocumentProject p;
    p.Document("doc.rtf", {WordFootnote('#', "t") + c.rtf});
    test::RunResult run = p.Convert();
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(p.Body("t.html"), c.html) << c.rtf;
  }
}

TEST(DocumentPages, HotspotsAndMacros) {
  struct Case {
    std::string rtf;
    std::string html;
  } cases[] = {
      {"{\\uldb Go}{\\v two}", "<a href=\"two.html\">Go</a>"},
      {"{\\uldb G}{\\uldb\\b o}{\\v t}{\\v wo}", "<a href=\"two.html\">G<b>o</b></a>"},  // both parts split over groups
      {"\\plain\\strike Go\\plain\\v two\\plain ", "<a href=\"two.html\">Go</a>"},         // no groups at all
      {"{\\uldb Go}{\\v %*Two>win}", "<a href=\"two.html\">Go</a>"},
      {"{\\uldb Go}{\\v later}", "<a href=\"first.html#later\">Go</a>"},                 // a place in a later file
      {"{\\uldb Go}{\\v other@other.hlp}", "<a href=\"ms-its:other.chm::/html/other.html\">Go</a>"},
      {"{\\uldb Go}{\\v nowhere}", "Go"},
      {"{\\ul Pop}{\\v pop}", "<a href=\"JavaScript:popup.TextPopup(pop1,popfont,9,9,-1,-1)\">Pop</a>"},
      {"{\\uld Pop}{\\v pop}", "<a href=\"JavaScript:popup.TextPopup(pop1,popfont,9,9,-1,-1)\">Pop</a>"},
      {"{\\uldb Go}{\\v !JI(`HELP.HLP',`two')}", "<a href=\"two.html\">Go</a>"},  // the project's own help file
      {"{\\uldb Go}{\\v !JI(`qchPath',`two')}", "<a href=\"two.html\">Go</a>"},
      {"{\\uldb Go}{\\v !PopupId(`',`pop')}", "<a href=\"JavaScript:popup.TextPopup(pop1,popfont,9,9,-1,-1)\">Go</a>"},
      {"{\\uldb Go}{\\v !EF(`https://e.com/a',`',1)}", "<a href=\"https://e.com/a\">Go</a>"},
      {"{\\uldb Go}{\\v !ExecFile(notepad.exe)}", "Go"},
      {"{\\uldb Go}{\\v !AL(`akey')}", "<a href=\"two.html\">Go</a>"},
      {"{\\uldb Go}{\\v !KLink(kk; none)}", "<a href=\"klink_1.html\">Go</a>"},
      {"{\\uldb Go}{\\v !JumpContents()}", "<a href=\"t.html\">Go</a>"},
      {"{\\uldb Go}{\\v !Exit()}", "Go"},
      {"\\{button Two,JI(`',`two')\\}", "<a href=\"two.html\">Two</a>"},
  };
  for (const Case& c : cases) {
    DocumentProject p;
    p.Document("doc.rtf", {WordFootnote('#', "t") + c.rtf + "\\par ",
                           WordFootnote('#', "two") + WordFootnote('A', "akey") + WordFootnote('K', "kk") + "x\\par ",
                           WordFootnote('#', "pop") + "pop text\\par "})
        .Document("later.rtf", {WordFootnote('#', "first") + "a" + WordFootnote('#', "later") + WordFootnote('K', "kk") + "\\par "});
    ASSERT_EQ(p.Convert().code, 0);
    EXPECT_EQ(p.Body("t.html"), c.html + "<br>\r\n") << c.rtf;
  }
}

TEST(DocumentPages, PopupsInBothModesAndTheirPagesCleanedUp) {
  for (bool combined : {true, false}) {
    DocumentProject p;
    p.Document("doc.rtf", {WordFootnote('#', "t") + "{\\ul A}{\\v pop}{\\ul B}{\\v pop}{\\ul C}{\\v kept}\\par ",
                           WordFootnote('#', "pop") + "\\par " + WordText("一行目") + " {\\uldb link}{\\v t}{\\v hidden}\"q\" \\\\\\line two\\par \\par ",
                           WordFootnote('#', "kept") + WordFootnote('K', "kept") + "kept\\par "});
    test::RunResult run = p.Convert(combined ? std::vector<std::string>{} : std::vector<std::string>{"--no-combine-popups"});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string text = "一行目 link\\\"q\\\" \\\\\\ntwo";
    if (combined) {
      EXPECT_EQ(p.Utf8Output("html/popup.js"), "popfont=\"ＭＳ Ｐゴシック,10\"\r\npop1=\"" + text + "\"\r\npop2=\"kept\"\r\n");
      EXPECT_NE(p.Utf8Output("html/t.html").find("src=\"popup.js\">"), std::string::npos);
    } else {
      EXPECT_NE(p.Utf8Output("html/t.html").find("pop1=\"" + text + "\"\r\npop2=\"" + text + "\"\r\npop3=\"kept\"\r\n</script>"),
                std::string::npos);
    }
    EXPECT_FALSE(p.project.HasOutput("html/pop.html"));  // served only as a popup
    EXPECT_TRUE(p.project.HasOutput("html/kept.html"));  // in the index too
  }
}

TEST(DocumentPages, PageNamesAnchorsAliasesAndTheIndex) {
  DocumentProject p;
  p.project.File("cnv.txt", "mapped,Renamed\r\n");
  p.Document("Doc File.rtf",
             {WordFootnote('#', "a b:c(1)") + WordFootnote('$', "A & B") + WordFootnote('K', "one; two,sub ;three:deep") + "x\\par ",
              WordFootnote('#', "A_B_C_1_") + "y\\par ", "no context\\par ",
              WordFootnote('#', "mapped") + "m {\\uldb al}{\\v short}\\par "});
  test::RunResult run = p.Convert({}, {"[ALIAS]", "short = a b:c(1)", "[OPTIONS]", "CONTENTS=short"});
  ASSERT_EQ(run.code, 0) << run.err;
  for (const char* page : {"a_b_c_1_.html", "a_b_c_1__2.html", "doc_file_3.html", "Renamed.html"}) {
    EXPECT_TRUE(p.project.HasOutput(std::string("html/") + page)) << page;
  }
  EXPECT_NE(run.err.find("two topics would share the page a_b_c_1_.html; this one is a_b_c_1__2.html"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("topic 3 has no context string (#); its page is doc_file_3.html"), std::string::npos);
  EXPECT_NE(p.Utf8Output("html/a_b_c_1_.html").find("<title>A &amp; B</title>"), std::string::npos);
  EXPECT_EQ(p.Body("Renamed.html"), "m <a href=\"a_b_c_1_.html\">al</a><br>\r\n");
  EXPECT_NE(p.Utf8Output("help.hhp").find("Default topic=html/a_b_c_1_.html\r\n"), std::string::npos);
  std::string index = p.Utf8Output("help.hhk");
  for (const char* keyword : {"\"one\"", "\"two\"", "\"sub\"", "\"three\"", "\"deep\""}) {
    EXPECT_NE(index.find(std::string("<param name=\"Keyword\" value=") + keyword), std::string::npos) << keyword;
  }
}

}  // namespace
}  // namespace quorvex
