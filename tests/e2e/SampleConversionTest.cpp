// Converts examples/sample and compares every page with the page worked out by
// hand from the conversion rules, in both popup modes.

#include <gtest/gtest.h>

#include <vector>

#include "app/Driver.h"
#include "base/Files.h"
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

std::string IntroPage(const std::vector<std::string>& popupBlock) {
  return Page(popupBlock, "はじめに",
              {"<h4>はじめに<br>",
               "</h4><hr><b></b>このヘルプは<font color=#ff0000>サンプル</font>の説明です。<br>",
               "<b>注意</b>: 記号 &amp; &lt;tag&gt; &quot;q&quot;<br>",
               "次は<a href=\"usage.html\">使い方</a>、<a href=\"config.html\">設定</a>を読んでください。<br>",
               "用語<a href=\"" + Href(1) + "\">トピック</a>を参照。<br>", "<hr>以上", ""});
}

std::string UsagePage(const std::vector<std::string>& popupBlock, int buttonPopup) {
  return Page(popupBlock, "使い方",
              {"<b>使い方</b><br>", "次の手順で操作します。<br>", "<ul><li>プロジェクトを開く<br>",
               "<li>出力先を選ぶ<br>", "<li>変換する<br></ul>",
               "ここでも<a href=\"" + Href(1) + "\">トピック</a>と<a href=\"" + Href(2) +
                   "\">ショートカット</a>を使います。<br>",
               "<a href=\"config.html\">設定を開く</a> <a href=\"" + Href(buttonPopup) +
                   "\">一覧</a> <a href=\"readme.txt\">説明書</a><br>",
               "<font color=#800000><b>注意</font></b>画面(画像)<br>", ""});
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
  EXPECT_EQ(run.Read("html/intro.html"), IntroPage(FilePopups()));
  EXPECT_EQ(run.Read("html/usage.html"), UsagePage(FilePopups(), 2));
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
  EXPECT_EQ(run.Read("html/intro.html"), IntroPage(PagePopups({term})));
  EXPECT_EQ(run.Read("html/usage.html"),
            UsagePage(PagePopups({term, "pop2=\"" + kShortcutText + "\"", "pop3=\"" + kShortcutText + "\""}), 3));
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
                                         "  枠なし", "  枠付き", "質問", "用語"}));
  EXPECT_EQ(run.job.IndexPages, sjis({"intro.html", "", "faq.html", "config.html", "usage.html", "intro.html",
                                      "usage.html", "config.html", "", "tables.html", "tables.html", "faq.html",
                                      "term.html"}));
  EXPECT_EQ(run.job.JumpPages, sjis({"usage.html", "config.html", "hint.html", "intro.html"}));
  // What is left after the contents, the index and the jumps took theirs: the
  // page of the topic used only as a popup, deleted at the end.
  EXPECT_EQ(run.job.PopupPages, sjis({"note.html"}));
  EXPECT_EQ(run.job.PopupTopics, sjis({"term", "shortcut", "note", "hint"}));
}

}  // namespace
}  // namespace quorvex
