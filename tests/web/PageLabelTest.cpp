#include "web/PageLabel.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(PageLabel, UntitledPagesAreCalledByTheirFirstHeadingOrLine) {
  const std::string head = "<html><head><meta charset=\"utf-8\"><script>pop1=\"not this\"</script></head>\r\n<body>\r\n";
  struct Case {
    std::string body;
    std::string label;
  } cases[] = {
      {"<title>Title &amp; more</title><h5>Heading</h5>", "Title & more"},
      {"<h4>見出し<br>\r\n</h4>本文です。<br>", "見出し"},
      {"<h5><b>File Open</b> dialog<br>box</h5>\r\nText<br>", "File Open dialog box"},
      {"<b>Show all </b>(Default: <i>Off</i>)<br>\r\nThis option is only available if ...<br>", "Show all (Default: Off)"},
      {"<div align=center><b>Settings</b></div>\r\n<h5>Later</h5>", "Settings"},
      {"<img src=\"../img/a.png\"><br>\r\n<br>\r\n<!-- <h1>no</h1> -->First &lt;line&gt;<br>Second", "First <line>"},
      {"Introduction without a break, then <h5>a heading</h5>", "Introduction without a break, then"},
      {"<table><tr><td>Cell one</td><td>cell two</td></tr></table>", "Cell one"},
      {"No break at all", "No break at all"},
      {"&nbsp;<br>\r\n\u3000 <br>&nbsp;Real&nbsp;line&nbsp;<br>", "Real\u00a0line"},
      {"<h4>A heading never closed", "A heading never closed"},
      {"<img src=\"../img/a.png\"><br>\r\n", "page.html"},
      {"Choose Options from the Tools menu to change the settings that the program keeps for you.<br>",
       "Choose Options from the Tools menu to change the settings…"},
      {"ツールメニューからオプションを選ぶと、プログラムが保存している設定を変更できます。変更した設定は次に起動したときにも使われます。",
       "ツールメニューからオプションを選ぶと、プログラムが保存している設定を変更できます…"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PageLabel(ReadPageText(head + c.body + "\r\n</body></html>\r\n"), "page.html"), c.label) << c.body;
  }
}

TEST(PageLabel, LongTextIsCutAtAWordWithinItsLength) {
  const std::string sixty(60, 'x');
  struct Case {
    std::string text;
    std::string shortened;
  } cases[] = {
      {sixty, sixty},                            // no longer than the limit: as it is
      {sixty + "y", sixty + "…"},                // one word longer than the limit: cut where the limit is
      {std::string(40, 'a') + " " + std::string(30, 'b'), std::string(40, 'a') + "…"},
      {std::string(20, 'a') + " " + std::string(50, 'b'), std::string(20, 'a') + " " + std::string(39, 'b') + "…"},
      {std::string(50, 'a') + ", " + std::string(30, 'b'), std::string(50, 'a') + "…"},  // no dangling comma
      {"語" + std::string(10, ' ') + std::string(60, 'z'), "語" + std::string(10, ' ') + std::string(49, 'z') + "…"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortenAtWord(c.text), c.shortened) << c.text;
  // Characters, not bytes, are counted.
  std::string kanji;
  for (int i = 0; i < 61; ++i) kanji += "漢";
  EXPECT_EQ(ShortenAtWord(kanji), kanji.substr(0, 60 * 3) + "…");
}

}  // namespace
}  // namespace quorvex
