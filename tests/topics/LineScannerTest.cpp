#include "topics/LineScanner.h"

#include <gtest/gtest.h>

#include "base/Texts.h"
#include "topics/TopicTestSupport.h"

namespace quorvex {
namespace {

using test::MessageOf;
using test::Sjis;
using test::TopicFixture;

TEST(LineScanner, BoldConsumesItsSpaceAndToggles) {
  TopicFixture f;
  EXPECT_EQ(f.Scan("\\b bold\\b0 normal"), "<b>bold</b>normal");
  EXPECT_EQ(f.Scan("\\b0 off\\b on\\b again\\b0\\b0 x"), "off<b>onagain</b>x");
  EXPECT_EQ(f.Scan("\\b{\\f1 y}z\\bullet w\\b"), "<b>zw");  // "\b{" turns bold on; "\bullet" is another word
  EXPECT_TRUE(f.page.Scan.Bold);                               // "\b" at the very end of the line is not bold on
}

TEST(LineScanner, BoldInTheNonScrollingRegionIsAHeading) {
  TopicFixture f;
  f.page.Scan.NonScrolling = true;
  EXPECT_EQ(f.Scan("\\b a\\b b\\b0 c\\b0 d"), "<h4>a<h4>b</h4>c</h4>d");
  EXPECT_FALSE(f.page.Scan.Bold);
}

TEST(LineScanner, PardEndsTheNonScrollingRegionWithARule) {
  TopicFixture f;
  f.page.Scan.NonScrolling = true;
  f.page.Scan.Bold = true;
  EXPECT_EQ(f.Scan("\\par \\keep \\pard x"), "</h4><hr><b>x");  // an output of exactly "<br>" is dropped
  EXPECT_FALSE(f.page.Scan.NonScrolling);

  f.page.Scan.NonScrolling = true;
  f.page.Scan.Bold = false;
  EXPECT_EQ(f.Scan("Title\\par \\pard body"), "Title<hr>body");  // no break right before the region's end
  f.page.Scan.NonScrolling = true;
  EXPECT_EQ(f.Scan("a\\pard\\b x"), "a<h4>x");  // "pard" without its space does not end the region
  EXPECT_TRUE(f.page.Scan.NonScrolling);
}

TEST(LineScanner, ParagraphBreaks) {
  TopicFixture f;
  EXPECT_EQ(f.Scan("a\\par b\\par}c\\par "), "a<br>b<br>");  // "\par}" is no break: the word runs on to the next backslash
  EXPECT_EQ(f.Scan("x\\par }"), "x");                             // a break before "}" writes nothing
  EXPECT_EQ(f.Scan("\\brdrb \\par t\\par "), "<hr>t<br>");        // the rule takes the place of one break
  EXPECT_EQ(f.Scan("\\brdrt \\brdrs \\par "), "<hr>");
  EXPECT_EQ(f.Scan("\\brdrb\\par "), "<br>");                     // without its space it is no rule
}

TEST(LineScanner, ColourChanges) {
  TopicFixture f;
  f.page.Colors = {0, 0, 0xff0000};
  EXPECT_EQ(f.Scan("\\cf2 red\\cf0 black\\cf1 k"), "<font color=#ff0000>red</font>black<font color=#000000>k");
  EXPECT_EQ(f.Scan("\\cf1 a\\cf1 b\\cf9 c\\cf9 d"), "ab</font>cd");  // same colour: one tag; past the table: none
  EXPECT_EQ(f.page.Scan.CurrentColor, 0u);
  EXPECT_EQ(f.Scan("\\cf2\\cf99999999999999999999 x"), "<font color=#ff0000></font>x");
  f.page.Colors = {0, 0x12345678};
  EXPECT_EQ(f.Scan("\\cf1 z"), "<font color=#12345678>z");
}

TEST(LineScanner, PlainResetsColourAndBoldUnlessItsRunSetsThem) {
  TopicFixture f;
  f.page.Colors = {0, 0, 0xff0000};
  EXPECT_EQ(f.Scan("\\plain\\f1\\fs20\\cf2 x"), "<font color=#ff0000>x");
  f.page.Scan.Bold = true;
  EXPECT_EQ(f.Scan("\\plain\\fs20 y"), "</font></b>y");
  EXPECT_EQ(f.Scan("\\plain\\cf2\\b z"), "<font color=#ff0000><b>z");
  EXPECT_EQ(f.Scan("\\plain\\b\\cf2 w"), "</b>w");  // bold without its own space is not seen in the run
  EXPECT_EQ(f.Scan("\\plain  v"), "</font> v");     // one space ends the run, the next is text
  f.page.Scan.NonScrolling = true;
  EXPECT_EQ(f.Scan("\\plain\\b h\\plain t"), "<h4>h</h4>t");
}

TEST(LineScanner, TablesRowsAndBorders) {
  TopicFixture f;
  EXPECT_EQ(f.Scan("\\intbl a\\cell b\\cell \\row "), "<table><tr><td>a</td><td>b</td></tr>\r\n");
  EXPECT_EQ(f.Scan("\\intbl c\\cell\\row "), "<tr><td>c</tr>\r\n");  // "cell" directly followed by "\" is no cell
  EXPECT_EQ(f.Scan("\\intbl d\\cell \\row e"), "<tr><td>d</td></tr>\r\ne");
  EXPECT_EQ(f.Scan("\\pard \\box \\intbl f\\cell \\row "), "</table><table border=1><tr><td>f</td></tr>\r\n");
  EXPECT_EQ(f.Scan("\\pard \\intbl g"), "</table><table><tr><td>g");  // "\pard " clears the border
  EXPECT_EQ(f.Scan("\\pard\\intbl h"), "<tr><td>h");                   // no "\pard ", no end of the table
}

TEST(LineScanner, ListsOpenAndClose) {
  TopicFixture f;
  EXPECT_EQ(f.Scan("{\\pntext\\f2\\'b7\\tab}one\\par "), "<ul><li>one<br>");
  EXPECT_EQ(f.Scan("{\\pntext\\f2\\'b7\\tab}two\\par \\pard x"), "<li>two<br></ul>x");
  EXPECT_FALSE(f.page.Scan.InList);
  EXPECT_EQ(f.Scan("{\\pntext x} }"), "<ul>");              // no item when "}" follows the bullet group
  EXPECT_EQ(f.Scan("{\\pntext \\{y} z"), "<li>z");          // an escaped brace inside is stepped over
  EXPECT_EQ(f.Scan("\\pard a"), "</ul>a");
}

TEST(LineScanner, IndentedBlocks) {
  TopicFixture f;
  EXPECT_EQ(f.Scan("\\li0 a\\li720 b\\li360 c\\par \\pard d"), "a<menu>bc<br></menu>d");
  EXPECT_EQ(f.Scan("\\li720 e\\pard\\f0 f"), "<menu>ef");
  EXPECT_EQ(f.Scan("\\pard g"), "</menu>g");
  f.page.Scan.InList = true;
  EXPECT_EQ(f.Scan("\\li720 h"), "h");
  f.page.Scan.InList = false;
  f.page.Scan.NonScrolling = true;
  EXPECT_EQ(f.Scan("\\li720 i"), "i");
}

TEST(LineScanner, EscapesGroupsAndPlainBytes) {
  TopicFixture f;
  EXPECT_EQ(f.Scan("\\{a\\}\\\\b"), "{a}\\b");
  EXPECT_EQ(f.Scan("\\{bmx\\} \\{bm"), "{bmx} {bm");
  EXPECT_EQ(f.Scan("x{\\f2 hidden} y{\\*\\bk \\{n} z"), "xyz");
  EXPECT_EQ(f.Scan("& < > \" '"), "&amp; &lt; &gt; &quot; '");
  EXPECT_EQ(f.Scan("a\tb\x13" "c\x14" "d}e"), "abc\x14" "de");
  EXPECT_EQ(f.Scan("\\'8e\\'9F\\'41"), "\x8e\x9f" "A");
  EXPECT_EQ(f.Scan("\\unknown\\word x\\"), "x");
}

TEST(LineScanner, HexEscapeThatIsNotHexStopsWithTheNumberError) {
  TopicFixture f;
  auto message = [&](const std::string& line) { return MessageOf([&] { f.Scan(line); }); };
  EXPECT_EQ(message("a\\'4g"), Sjis("'$4g' は整数ではありません"));
  EXPECT_EQ(message("a\\'4"), Sjis("'$4' は整数ではありません"));
  EXPECT_EQ(message("a\\'"), Sjis("'$' は整数ではありません"));
}

TEST(LineScanner, PictureReferencesAreConsumed) {
  TopicFixture f;
  const std::string picture = kMissingPicture;
  EXPECT_EQ(f.Scan("a\\{bmc logo.bmp\\}b"), "a" + picture + "b");
  EXPECT_EQ(f.Scan("\\{bmlt  x.shg\\} \\{bmr y.bmp"), picture + " " + picture);
}

}  // namespace
}  // namespace quorvex
