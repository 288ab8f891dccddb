#include "topics/TopicConverter.h"

#include <gtest/gtest.h>

#include <vector>

#include "topics/ColorTable.h"
#include "topics/TopicTestSupport.h"

namespace quorvex {
namespace {

using test::CrLf;
using test::MessageOf;
using test::Sjis;
using test::TopicFixture;

const std::string kMeta = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">";
const std::string kStyle = "<link rel=\"stylesheet\" type=\"text/css\" href=\"help.css\">";

std::string Page(const std::vector<std::string>& head, const std::vector<std::string>& body,
                 const std::string& bodyTag = "<body>") {
  std::string text = CrLf({"<html>", "<head>", kMeta, kStyle});
  for (const std::string& line : head) text += line + "\r\n";
  text += CrLf({"</head>", "", bodyTag});
  for (const std::string& line : body) text += line + "\r\n";
  return text + "</body></html>\r\n";
}

struct Converter : TopicFixture {
  std::string Convert(std::initializer_list<std::string> lines, const std::string& name = "t") {
    WriteTopic(name + ".rtf", lines);
    ConvertTopicFile(job, name + ".rtf");
    return dir.Read("out/html/" + name + ".html");
  }
};

TEST(TopicConverter, ShortFilesGiveTheFrameOnly) {
  Converter c;
  c.job.BodyColorAttr = " bgcolor=#ffffe2";
  EXPECT_EQ(c.Convert({"{\\rtf1 x}"}), Page({}, {}, "<body bgcolor=#ffffe2>"));
  EXPECT_EQ(c.Convert({}), Page({}, {}, "<body bgcolor=#ffffe2>"));  // empty file: no list-index error
  EXPECT_EQ(c.Convert({"{\\rtf1", "{\\colortbl ;}"}), Page({}, {}, "<body bgcolor=#ffffe2>"));
}

TEST(TopicConverter, FootnotesGiveTitlesAndKeywords) {
  Converter c;
  std::string page = c.Convert({"{\\rtf1", Sjis("\\pard #{\\footnote intro}${\\footnote はじめに}K{\\footnote 索引;基本,操作}"
                                                "${\\footnote マ\\'82\\'a0} +{\\footnote b:1}X{\\v gone} body")});
  // "マ" is 0x83 0x7D: its trail byte is no closing brace. Escapes in footnotes are the bytes they stand for.
  EXPECT_EQ(page, Page({Sjis("<title>マあ</title>"), Sjis("<title>はじめに</title>")}, {"body"}));
  EXPECT_EQ(c.job.IndexKeywords, StringList({Sjis("索引"), Sjis("基本"), Sjis("  操作")}));
  EXPECT_EQ(c.job.IndexPages, StringList({"t.html", "", "t.html"}));
}

TEST(TopicConverter, HeaderSetsTheNonScrollingRegionAndBold) {
  Converter c;
  EXPECT_EQ(c.Convert({"{\\rtf1", "\\pard\\keepn \\b #{\\footnote a}Head\\par ", "\\pard \\b0 Body\\par "}),
            Page({}, {"<h4>Head<br>", "</h4><hr><b></b>Body<br>"}));
  EXPECT_EQ(c.Convert({"{\\rtf1", "\\pard\\keepn\\b #{\\footnote a}Head\\par \\pard x"}),
            Page({}, {"<b>Head<br>x"}));  // "\keepn" without its space is not the region
  EXPECT_EQ(c.Convert({"{\\rtf1", "\\pard\\brdrb no footnotes here\\par ", "", "next\\par "}),
            Page({}, {"<b>", "next<br>"}));  // the first line is all header; an empty line writes nothing
}

TEST(TopicConverter, ColourTableOnTheHeaderOrSecondLine) {
  EXPECT_EQ(ReadColorTable("{\\colortbl ;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}"),
            ColorTable({0, 0, 0xff0000}));
  EXPECT_EQ(ReadColorTable("{\\rtf1{\\colortbl\\red1\\green2\\blue3;\\red0\\green0\\blue255;}}"),
            ColorTable({0x010203, 0x0000ff}));
  EXPECT_EQ(ReadColorTable("{\\colortbl;\\red9\\green9\\blue9 ;\\red1;}"), ColorTable({0}));  // stops at a blank
  EXPECT_EQ(ReadColorTable("{\\fonttbl}"), ColorTable());

  Converter c;
  EXPECT_EQ(c.Convert({"{\\rtf1{\\colortbl ;\\red0\\green128\\blue0;}}", "#{\\footnote a}\\cf1 g"}),
            Page({}, {"<font color=#008000>g"}));
  EXPECT_EQ(c.Convert({"{\\rtf1", "{\\colortbl\\red0\\green128\\blue0;\\red1\\green2\\blue3;}", "#{\\footnote a}\\cf1 g"}),
            Page({}, {"<font color=#010203>g"}));
}

TEST(TopicConverter, ViewkindLineJoinedOnce) {
  Converter c;
  EXPECT_EQ(c.Convert({"{\\rtf1", "{\\fonttbl{\\f0 x;}}", "\\viewkind4\\b #{\\footnote a}A", "\\viewkind4 B"}),
            Page({}, {"<b>A", "B"}));
  EXPECT_EQ(c.Convert({"{\\rtf1", "{\\fonttbl x}", "\\viewkind4 #{\\footnote a}A"}),
            Page({}, {"", "#A"}));  // only "}" as the next-to-last byte joins; later footnotes are text
  EXPECT_EQ(c.Convert({"{\\rtf1", "{\\colortbl ;}", "{\\fonttbl{\\f0 x;}}"}),
            Page({}, {""}));  // no next line: nothing joined, no list-index error
}

TEST(TopicConverter, OpenListAndIndentClosedAtTheEnd) {
  Converter c;
  EXPECT_EQ(c.Convert({"{\\rtf1", "#{\\footnote a}\\li720 x", "{\\pntext .}y"}),
            Page({}, {"<menu>x", "<ul><li>y", "</ul>", "</menu>"}));
  c.page.Scan = TopicScanState();
  EXPECT_EQ(c.Convert({"{\\rtf1", "#{\\footnote a}\\intbl x\\b y\\cf1 z"}),
            Page({}, {"<table><tr><td>x<b>yz"}));  // tables, bold and colours stay open
}

TEST(TopicConverter, PopupBlocks) {
  Converter c;
  c.WriteTopic("p.rtf", {"{\\rtf1", "#{\\footnote p}Pop \"text\"\\par "});
  const std::vector<std::string> object = {"<object", "id=popup type=\"application/x-oleobject\"",
                                           "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">", "</object>"};
  const std::string link = "<a href=\"JavaScript:popup.TextPopup(pop1,popfont,9,9,-1,-1)\">a</a>";
  const std::string link2 = "<a href=\"JavaScript:popup.TextPopup(pop2,popfont,9,9,-1,-1)\">b</a>";
  const std::string textLine = "=\"Pop \\\"text\\\"\\n\"";

  std::vector<std::string> head = object;
  head.insert(head.end(), {"<script Language=JavaScript>", Sjis("popfont=\"ＭＳ Ｐゴシック,10\""), "pop1" + textLine,
                           "pop2" + textLine, "</script>", "<title>T</title>"});
  EXPECT_EQ(c.Convert({"{\\rtf1", "#{\\footnote x}${\\footnote T}{\\ul a}{\\v p}{\\ul b}{\\v P}"}),
            Page(head, {link + link2}));

  c.job.CombinePopups = true;
  head = object;
  head.insert(head.end(), {"<script Language=JavaScript", "src=\"popup.js\">", "</script>"});
  EXPECT_EQ(c.Convert({"{\\rtf1", "#{\\footnote x}{\\ul a}{\\v p}"}), Page(head, {link}));
  EXPECT_TRUE(c.job.PageUsesPopupFile);
  EXPECT_EQ(c.Convert({"{\\rtf1", "#{\\footnote x}none"}), Page({}, {"none"}));  // reset for each page
  EXPECT_FALSE(c.job.PageUsesPopupFile);
  EXPECT_EQ(c.job.PopupLines, StringList({"pop1" + textLine}));
}

TEST(TopicConverter, TableBorderDoesNotCarryToTheNextFile) {
  Converter c;
  c.Convert({"{\\rtf1", "#{\\footnote x}\\box "});
  EXPECT_TRUE(c.job.TableBorder);
  EXPECT_EQ(c.Convert({"{\\rtf1", "#{\\footnote x}\\intbl a"}), Page({}, {"<table><tr><td>a"}));
}

TEST(TopicConverter, PathsStatusAndErrors) {
  Converter c;
  c.job.TopicFolders = {"rtf\\"};
  c.job.NameMapKeys.Add("sub\\topic");
  c.job.NameMapValues.Add("Mapped");
  c.dir.Write("rtf/sub/Topic.RTF", CrLf({"{\\rtf1"}));
  struct Sink : StatusSink {
    void SetStatus(const ByteString& text) override { texts.push_back(text); }
    void ProcessPendingEvents() override { ++pumps; }
    std::vector<ByteString> texts;
    int pumps = 0;
  } sink;
  c.job.Status = &sink;
  ConvertTopicFile(c.job, "sub\\Topic.RTF");
  EXPECT_EQ(sink.texts, std::vector<ByteString>{"sub\\Topic.RTF"});
  EXPECT_EQ(sink.pumps, 1);
  EXPECT_EQ(c.dir.Read("out/html/Mapped.html"), Page({}, {}));

  c.job.NameMapKeys.Clear();
  c.job.NameMapValues.Clear();
  EXPECT_EQ(MessageOf([&] { ConvertTopicFile(c.job, "sub\\Topic.RTF"); }),
            Sjis("ファイル " + c.job.OutputFolder + "html\\sub\\topic.html を作成できません"));
  EXPECT_EQ(MessageOf([&] { ConvertTopicFile(c.job, "none.rtf"); }),
            Sjis("ファイル " + c.job.ProjectFolder + "rtf\\none.rtf は開けません"));
  EXPECT_FALSE(c.dir.Exists("out/html/none.html"));
  c.job.Status = nullptr;
}

}  // namespace
}  // namespace quorvex
