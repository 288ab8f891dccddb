// Converts examples/sample and compares every page with the page worked out by
// hand from the conversion rules, in both popup modes.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "convert/Driver.h"
#include "base/Files.h"
#include "support/PngOracle.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::Sjis;
using test::TempDir;

class Host : public ConversionHost {
 public:
  explicit Host(bool combine) : combine_(combine) {}
  bool CombinePopupsChecked() override { return combine_; }
  void SetStatus(const ByteString& text) override { statuses.push_back(text); }
  std::vector<ByteString> statuses;

 private:
  bool combine_;
};

// Lines are written in UTF-8 here and compared as the Shift-JIS the pages hold.
std::string SjisLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += Sjis(line) + "\r\n";
  return text;
}

const std::vector<std::string> kObject = {"<object", "id=popup type=\"application/x-oleobject\"",
                                          "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">", "</object>"};
const std::vector<std::string> kPopupFileScript = {"<script Language=JavaScript", "src=\"popup.js\">", "</script>"};
const std::string kFontLine = "popfont=\"ＭＳ Ｐゴシック,10\"";
const std::string kTermText = "トピックはひとつの説明の単位です。\\n「引用」は \\\"quoted\\\" を含みます。";
const std::string kShortcutText = "Ctrl+S で保存します。\\nF1キーでヘルプを開きます。\\n";
const std::string kNoteText = "出力先は変換の前に選びます。\\n";
const std::string kHintText = "ポップアップは1つのファイルにまとめられます。\\n";  // bold is not shown in popups

std::string Href(int n) {
  return "JavaScript:popup.TextPopup(pop" + std::to_string(n) + ",popfont,9,9,-1,-1)";
}

std::vector<std::string> PagePopups(const std::vector<std::string>& popLines) {
  std::vector<std::string> block = kObject;
  block.push_back("<script Language=JavaScript>");
  block.push_back(kFontLine);
  block.insert(block.end(), popLines.begin(), popLines.end());
  block.push_back("</script>");
  return block;
}

std::vector<std::string> FilePopups() {
  std::vector<std::string> block = kObject;
  block.insert(block.end(), kPopupFileScript.begin(), kPopupFileScript.end());
  return block;
}

std::string Page(const std::vector<std::string>& popupBlock, const std::string& title,
                 const std::vector<std::string>& body) {
  std::vector<std::string> lines = {"<html>", "<head>",
                                    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">",
                                    "<link rel=\"stylesheet\" type=\"text/css\" href=\"help.css\">"};
  lines.insert(lines.end(), popupBlock.begin(), popupBlock.end());
  lines.push_back("<title>" + title + "</title>");
  lines.push_back("</head>");
  lines.push_back("");
  lines.push_back("<body bgcolor=#ffffe2>");
  lines.insert(lines.end(), body.begin(), body.end());
  lines.push_back("</body></html>");
  return SjisLines(lines);
}

// The image map of toolbar.shg: its hotspots are stored last first, so the
// macro (no area) comes first, then the popup of "term", then the jump to "FAQ".
std::vector<std::string> ToolbarMap(int number, int popup) {
  return {"<map name=\"test" + std::to_string(number) + "\">",
          "<area shape=rect coords=\"16,0,32,16\" a href=\"" + Href(popup) + "\">",
          "<area shape=rect coords=\"0,0,16,16\" a href=\"faq.html\">"};
}

std::vector<std::string> Lines(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> lines;
  for (const auto& part : parts) lines.insert(lines.end(), part.begin(), part.end());
  return lines;
}

std::string IntroPage(const std::vector<std::string>& popupBlock, int mapPopup) {
  return Page(popupBlock, "はじめに",
              Lines({{"<h4>はじめに<br>",
                      "</h4><hr><b></b>このヘルプは<font color=#ff0000>サンプル</font>の説明です。<br>",
                      "<b>注意</b>: 記号 &amp; &lt;tag&gt; &quot;q&quot;<br>",
                      "次は<a href=\"usage.html\">使い方</a>、<a href=\"config.html\">設定</a>を読んでください。<br>",
                      "用語<a href=\"" + Href(1) + "\">トピック</a>を参照。<br>",
                      "<hr>以上<img src=\"../img/toolbar.png\" usemap=\"#test1\" border=0 width=48 height=16>"},
                     ToolbarMap(1, mapPopup),
                     {"</map>", ""}}));
}

std::string UsagePage(const std::vector<std::string>& popupBlock, int buttonPopup, int mapPopup1, int mapPopup2) {
  return Page(popupBlock, "使い方",
              Lines({{"<b>使い方</b><br>", "次の手順で操作します。<br>", "<ul><li>プロジェクトを開く<br>",
                      "<li>出力先を選ぶ<br>", "<li>変換する<br></ul>",
                      "ここでも<a href=\"" + Href(1) + "\">トピック</a>と<a href=\"" + Href(2) +
                          "\">ショートカット</a>を使います。<br>",
                      "<a href=\"config.html\">設定を開く</a> <a href=\"" + Href(buttonPopup) +
                          "\">一覧</a> <a href=\"readme.txt\">説明書</a><br>",
                      "<font color=#800000><b>注意</font></b>画面<img src=\"../img/screen.png\" width=32 height=24><br>",
                      "画面<img src=\"../img/screen.png\" width=32 height=24 align=left>"
                      "<img src=\"../img/toolbar.png\" usemap=\"#test1\" border=0 width=48 height=16>"},
                     ToolbarMap(1, mapPopup1),
                     {"</map> <img src=\"../img/toolbar.png\" usemap=\"#test2\" border=0 width=48 height=16 align=right>"},
                     ToolbarMap(2, mapPopup2),
                     {"</map><br>", "なし(画像)<br>", ""}}));
}

std::string ConfigPage() {
  return Page({}, "設定",
              {"設定の説明です。<br>", "<menu>字下げされた段落<br></menu>", "おわり<br>", "<menu>段落の続き<br>", "",
               "</menu>"});
}

std::string TablesPage(const std::vector<std::string>& popupBlock, int keyPopup) {
  // Each table row ends with CR LF inside its output line, so a blank line follows it.
  return Page(popupBlock, "表",
              {"表の例です。<br>", "<table><tr><td>名前</td><td>値</td></tr>", "",
               "<tr><td>A &amp; B</td><td>1 &lt; 2</tr>", "", "</table><br>",
               "<table border=1><tr><td>枠</td></tr>", "",
               "</table>記号{bmx} {括弧} C:\\temp <a href=\"" + Href(keyPopup) + "\">キー</a><br>",
               "表示<font color=#0000ff>青"});
}

struct Conversion {
  TempDir dir;
  ConversionJob job;

  explicit Conversion(bool combine) {
    Host host(combine);
    ChooseProject(job, EnginePath(std::string(QUORVEX_SOURCE_DIR) + "/examples/sample/sample.hpj"));
    ChooseOutputFolder(job, dir.Engine() + "out");
    RunConversion(job, host);
  }
  std::string Read(const std::string& file) const { return dir.Read("out/" + file); }
};

TEST(SampleConversion, CombinedPopupsPagesAndPopupFile) {
  Conversion run(true);
  EXPECT_EQ(run.Read("html/intro.html"), IntroPage(FilePopups(), 1));
  EXPECT_EQ(run.Read("html/usage.html"), UsagePage(FilePopups(), 2, 1, 1));
  EXPECT_EQ(run.Read("html/config.html"), ConfigPage());
  EXPECT_EQ(run.Read("html/tables.html"), TablesPage(FilePopups(), 2));
  EXPECT_EQ(run.Read("html/popup.js"),
            SjisLines({kFontLine, "pop1=\"" + kTermText + "\"", "pop2=\"" + kShortcutText + "\"",
                       "pop3=\"" + kNoteText + "\"", "pop4=\"" + kHintText + "\""}));
  EXPECT_NE(run.Read("sample.hhp").find("html/popup.js\r\n"), std::string::npos);
}

TEST(SampleConversion, PopupsInEachPage) {
  Conversion run(false);
  const std::string term = "pop1=\"" + kTermText + "\"";
  // Without combining, every area is a popup link of its own with its own line.
  EXPECT_EQ(run.Read("html/intro.html"), IntroPage(PagePopups({term, "pop2=\"" + kTermText + "\""}), 2));
  EXPECT_EQ(run.Read("html/usage.html"),
            UsagePage(PagePopups({term, "pop2=\"" + kShortcutText + "\"", "pop3=\"" + kShortcutText + "\"",
                                  "pop4=\"" + kTermText + "\"", "pop5=\"" + kTermText + "\""}),
                      3, 4, 5));
  EXPECT_EQ(run.Read("html/config.html"), ConfigPage());
  EXPECT_EQ(run.Read("html/tables.html"), TablesPage(PagePopups({"pop1=\"" + kShortcutText + "\""}), 1));
  EXPECT_FALSE(run.dir.Exists("out/html/popup.js"));
  EXPECT_EQ(run.Read("sample.hhp").find("popup.js"), std::string::npos);
}

TEST(SampleConversion, IndexJumpAndPopupLists) {
  Conversion run(true);
  auto sjis = [](std::initializer_list<std::string> items) {
    StringList list;
    for (const std::string& item : items) list.Add(Sjis(item));
    return list;
  };
  EXPECT_EQ(run.job.IndexKeywords, sjis({"概要", "操作", "  質問", "  設定", "  手順", "  基本", "使い方", "設定", "表",
                                         "  枠なし", "  枠付き", "質問", "設定", "用語"}));
  EXPECT_EQ(run.job.IndexPages, sjis({"intro.html", "", "faq.html", "config.html", "usage.html", "intro.html",
                                      "usage.html", "config.html", "", "tables.html", "tables.html", "faq.html",
                                      "faq.html", "term.html"}));
  // faq.html comes from the jump area of the picture on the intro page.
  EXPECT_EQ(run.job.JumpPages, sjis({"usage.html", "config.html", "faq.html", "hint.html", "intro.html"}));
  // What is left after the contents, the index and the jumps took theirs: the
  // page of the topic used only as a popup, deleted at the end.
  EXPECT_EQ(run.job.PopupPages, sjis({"note.html"}));
  EXPECT_EQ(run.job.PopupTopics, sjis({"term", "shortcut", "note", "hint"}));
}

// The sample's pictures as drawn: an 8-colour palette, a 32 x 24 window with a
// navy title bar, three blue lines and a grey button, and a 48 x 16 toolbar of
// three framed grey buttons with a red, a yellow and a green square.
struct Rgb {
  int Red, Green, Blue;
  bool operator==(const Rgb&) const = default;
};
const Rgb kSampleColors[] = {{255, 255, 255}, {0, 0, 0},   {192, 192, 192}, {0, 0, 128},
                             {255, 0, 0},     {0, 160, 0}, {0, 0, 255},     {255, 255, 0}};

int ScreenColor(int x, int y) {
  if (x == 0 || x == 31 || y == 0 || y == 23) return 1;
  if (y < 5) return 3;
  if (x >= 20 && x < 28 && y >= 16 && y < 20) return 2;
  if (x >= 4 && x < 16 && (y == 8 || y == 11 || y == 14)) return 6;
  return 0;
}

int ToolbarColor(int x, int y) {
  const int inner = x % 16;
  if (inner == 0 || inner == 15 || y == 0 || y == 15) return 1;
  if (inner >= 4 && inner < 12 && y >= 4 && y < 12) return (x < 16) ? 4 : (x < 32) ? 7 : 5;
  return 2;
}

Rgb PngColor(const test::DecodedPng& png, int x, int y) {
  if (png.ColorType == 3) {
    const PaletteEntry& e = png.Plte.at(static_cast<std::size_t>(png.Sample(x, y, 0)));
    return {e.Red, e.Green, e.Blue};
  }
  if (png.ColorType == 2) return {png.Sample(x, y, 0), png.Sample(x, y, 1), png.Sample(x, y, 2)};
  ADD_FAILURE() << "colour type " << png.ColorType;
  return {};
}

TEST(SampleConversion, PicturesBecomePngsOfTheirSourcePixels) {
  Conversion run(true);
  struct Picture {
    const char* File;
    int Width, Height;
    int (*Color)(int, int);
  };
  for (const Picture& picture : {Picture{"screen.png", 32, 24, ScreenColor}, Picture{"toolbar.png", 48, 16, ToolbarColor}}) {
    const std::string bytes = run.Read(std::string("img/") + picture.File);
    const test::DecodedPng png = test::DecodeWithLibpng(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    ASSERT_TRUE(png.Ok) << picture.File << ": " << png.Error;
    ASSERT_EQ(png.Width, static_cast<std::uint32_t>(picture.Width)) << picture.File;
    ASSERT_EQ(png.Height, static_cast<std::uint32_t>(picture.Height)) << picture.File;
    for (int y = 0; y < picture.Height; ++y) {
      for (int x = 0; x < picture.Width; ++x) {
        ASSERT_EQ(PngColor(png, x, y), kSampleColors[picture.Color(x, y)]) << picture.File << " " << x << "," << y;
      }
    }
  }
  // The missing picture leaves no file behind.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(run.dir.Native() + "/out/img")) ++files;
  EXPECT_EQ(files, 2);
}

}  // namespace
}  // namespace quorvex
