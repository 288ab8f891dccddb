#include "topics/Hotspots.h"

#include <gtest/gtest.h>

#include "topics/TopicTestSupport.h"

namespace quorvex {
namespace {

using test::MessageOf;
using test::Sjis;
using test::TopicFixture;

std::string PopupAnchor(int n, const std::string& text) {
  return "<a href=\"JavaScript:popup.TextPopup(pop" + std::to_string(n) + ",popfont,9,9,-1,-1)\">" + text + "</a>";
}

TEST(Hotspots, CombinedPopupNumberedOncePerConversion) {
  TopicFixture f;
  f.job.CombinePopups = true;
  f.WriteTopic("popup_term.rtf", {"{\\rtf1", "#{\\footnote popup_term}Text\\par ", "}"});
  EXPECT_EQ(f.Scan("{\\ul Term}{\\v popup_term}"), PopupAnchor(1, "Term"));
  EXPECT_TRUE(f.job.PageUsesPopupFile);
  EXPECT_EQ(f.job.PopupTopics, StringList({"popup_term"}));
  EXPECT_EQ(f.job.PopupLines, StringList({"pop1=\"Text\\n\""}));

  f.dir.Write("popup_term.rtf", "changed");  // a second use reads nothing
  TopicPage nextPage(f.job);
  ByteString out;
  LineCursor cursor("{\\ul Again}{\\v Popup_Term}");
  ScanLine(nextPage, cursor, out);
  EXPECT_EQ(out, PopupAnchor(1, "Again"));
  EXPECT_EQ(f.Scan("{\\ul Other}{\\v missing}"), PopupAnchor(2, "Other"));
  EXPECT_EQ(f.job.PopupLines, StringList({"pop1=\"Text\\n\"", "pop2=\"\""}));
  EXPECT_TRUE(nextPage.PopupLines.Empty());
}

TEST(Hotspots, PagePopupsNumberedPerLink) {
  TopicFixture f;
  f.WriteTopic("term.rtf", {"{\\rtf1", "#{\\footnote term}Text\\par ", "}"});
  EXPECT_EQ(f.Scan("{\\ul A}{\\v term}{\\ul B}{\\v TERM}"), PopupAnchor(1, "A") + PopupAnchor(2, "B"));
  EXPECT_EQ(f.page.PopupLines, StringList({"pop1=\"Text\\n\"", "pop2=\"Text\\n\""}));
  EXPECT_TRUE(f.job.PopupLines.Empty());
  EXPECT_FALSE(f.job.PageUsesPopupFile);
  EXPECT_EQ(f.job.PopupPages, StringList({"term.html"}));
}

TEST(Hotspots, JumpTargetLowerCasedWithoutWindow) {
  TopicFixture f;
  f.job.NameMapKeys.Add("mapped");
  f.job.NameMapValues.Add("Other");
  EXPECT_EQ(f.Scan("{\\uldb Next}{\\v Topic2>second} {\\uldb \\b Map\\b0 ped}{\\v MAPPED}"),
            "<a href=\"topic2.html\">Next</a> <a href=\"Other.html\">Mapped</a>");
  EXPECT_EQ(f.Scan("{\\uldb \\'8e\\'9f}{\\v topic2}"), "<a href=\"topic2.html\">\x8e\x9f</a>");
  EXPECT_EQ(f.job.JumpPages, StringList({"topic2.html", "Other.html"}));
  // No entities; a topic of another help is a page of its .chm beside this one.
  EXPECT_EQ(f.Scan("{\\uldb a&b}{\\v x@help.hlp}"), "<a href=\"ms-its:help.chm::/html/x.html\">a&b</a>");
}

TEST(Hotspots, MacroTargets) {
  TopicFixture f;
  f.dir.Write("Tool.EXE", "MZ");
  f.dir.Write("a.txt", "text");
  EXPECT_EQ(f.Scan("{\\uldb Run}{\\v !ExecFile(\"Tool.EXE\")}x"), "<a href=\"tool.exe\">Run</a>x");
  EXPECT_EQ(f.Scan("{\\uldb Back}{\\v !Back()}"), "<a href=\"\">Back</a>");
  EXPECT_EQ(f.Scan("{\\uldb Cut}{\\v !execfile(\"a.txt"), "<a href=\"a.txt\">Cut</a>");
  // The files the links name come along beside the pages.
  EXPECT_EQ(f.dir.Read("out/html/tool.exe"), "MZ");
  EXPECT_EQ(f.dir.Read("out/html/a.txt"), "text");
  EXPECT_TRUE(f.job.JumpPages.Empty());
}

TEST(Hotspots, ExecFileLinksOnlyWebAddressesAndFilesThatAreThere) {
  TopicFixture f;
  f.dir.Write("sub/notes.txt", "n");
  struct Case {
    std::string target, html;
  } cases[] = {
      {"http://x.org/a?b=1", "<a href=\"http://x.org/a?b=1\">T</a>"},
      {"mailto:a@b.org", "<a href=\"mailto:a@b.org\">T</a>"},
      {"sub\\notes.txt", "<a href=\"notes.txt\">T</a>"},
      {"missing.txt", "T"},
      {"javascript:alert(2)", "T"},
      {"vbscript:msgbox(1)", "T"},
      {"data:text/html,x", "T"},
      {"file:///etc/passwd", "T"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(f.Scan("{\\uldb T}{\\v !ExecFile(\"" + c.target + "\")}"), c.html) << c.target;
    EXPECT_EQ(f.Scan("\\{button T,!ExecFile(\"" + c.target + "\")\\}"), c.html) << c.target;
  }
  EXPECT_EQ(f.dir.Read("out/html/notes.txt"), "n");
}

TEST(Hotspots, CutShortAtTheEndOfTheLine) {
  TopicFixture f;
  EXPECT_EQ(f.Scan("{\\uldb Half"), "<a href=\"\">Half</a>");
  EXPECT_EQ(f.Scan("{\\uldb A}{\\v"), "<a href=\"\">A</a>");
  EXPECT_EQ(f.Scan("{\\uldb B}{\\v t>w"), "<a href=\"t.html\">B</a>");
  EXPECT_EQ(MessageOf([&] { f.Scan("{\\uldb \\'zz}{\\v t}"); }), Sjis("'$zz' は整数ではありません"));
}

TEST(Buttons, LabelAndMacro) {
  TopicFixture f;
  f.WriteTopic("pop.rtf", {"{\\rtf1", "#{\\footnote pop}P\\par ", "}"});
  EXPECT_EQ(f.Scan("\\{button Go,JI(Topic3>main)\\} rest"), "<a href=\"topic3.html\">Go</a> rest");
  EXPECT_EQ(f.Scan("\\{button \\'8e\\'9f,pi(Pop>w)\\}"), PopupAnchor(1, "\x8e\x9f"));
  f.dir.Write("tool.exe", "MZ");
  EXPECT_EQ(f.Scan("\\{button Run,!EXECFILE(\"Tool.EXE\")\\}"), "<a href=\"Tool.EXE\">Run</a>");
  EXPECT_EQ(f.Scan("\\{button Gone,Exit()\\} x"), " x");  // an unknown macro drops the button
  EXPECT_EQ(f.Scan("\\{button \\b Bold,ji(t)\\} y"), "<a href=\"t.html\">y</a>");  // control words run to the ","
  EXPECT_EQ(f.Scan("\\{button no comma"), "");
  EXPECT_EQ(f.job.JumpPages, StringList({"topic3.html", "t.html"}));
  EXPECT_EQ(f.page.PopupLines, StringList({"pop1=\"P\\n\""}));
}

TEST(Buttons, WithoutLabelTheWordAfterIsTheLinkText) {
  TopicFixture f;
  EXPECT_EQ(f.Scan("\\{button ,JI(Topic3)\\}  Here and"), "<a href=\"topic3.html\">Here</a> and");
  EXPECT_EQ(f.Scan("\\{button ,ji(t)\\}\\'81\\'40\\'8e\\'9f\\par "), "<a href=\"t.html\">\x8e\x9f</a><br>");
  EXPECT_EQ(f.Scan("\\{button ,ji(t)\\}a\\'81\\'40b"), "<a href=\"t.html\">a\x81\x40" "b</a>");
  EXPECT_EQ(f.Scan("\\{button ,Exit()\\} Text"), "Text</a>");
  EXPECT_EQ(f.Scan("\\{button ,ji(t)\\}"), "<a href=\"t.html\"></a>");
}

}  // namespace
}  // namespace quorvex
