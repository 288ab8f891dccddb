// Several helps converted together: folders of their own, references between
// them, a help that fails while the others go on.

#include <gtest/gtest.h>

#include "base/Files.h"
#include "convert/ConversionCancelled.h"
#include "convert/HelpRun.h"
#include "support/HelpProject.h"
#include "support/RtfBuilder.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::WordDocument;
using test::WordFootnote;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string Topic(const std::string& context, const std::string& body) {
  return WordFootnote('#', context) + WordFootnote('$', context) + body + "\\par ";
}

// A project `name`.hpj in `folder` of `dir` with one document and a .cnt.
void WriteHelp(test::TempDir& dir, const std::string& folder, const std::string& name, const std::string& rtf,
               const std::string& cnt) {
  dir.Write(folder + "/" + name + ".rtf", rtf);
  dir.Write(folder + "/" + name + ".cnt", cnt);
  dir.Write(folder + "/" + name + ".hpj", "[OPTIONS]\r\nTITLE=" + name + " help\r\n[FILES]\r\n" + name + ".rtf\r\n");
}

TEST(HelpRun, HelpsOfOneRunLinkIntoEachOther) {
  test::TempDir dir;
  WriteHelp(dir, "main", "a",
            WordDocument({Topic("main", "{\\uldb Term}{\\v term@B.HLP} {\\uldb Id}{\\v !JI(`b.hlp>w',`term')} "
                                        "{\\ul Pop}{\\v term@b.hlp} {\\uldb Far}{\\v x@c.hlp}")}),
            "1 Term=term@b.hlp\r\n1 Far=x@c.hlp\r\n");
  WriteHelp(dir, "gloss", "b", WordDocument({Topic("term", "{\\uldb Back}{\\v main@a.hlp}")}), "1 Main=main@a.hlp\r\n");
  WriteHelp(dir, "other", "a", WordDocument({Topic("second", "s")}), "");
  test::RunResult run = test::RunConverter({dir.Native() + "/main/a.hpj", dir.Native() + "/gloss/b.hpj",
                                            dir.Native() + "/gone.hpj", dir.Native() + "/other/a.hpj",
                                            dir.Native() + "/out", "--web"});
  EXPECT_EQ(run.code, 1) << run.err;  // gone.hpj fails; the others convert
  EXPECT_TRUE(Has(run.err, "1 of 4 helps failed: gone.hpj")) << run.err;
  EXPECT_EQ(run.out, dir.Native() + "/out/a/a.hhp\n" + dir.Native() + "/out/a/web/index.html\n" + dir.Native() +
                         "/out/b/b.hhp\n" + dir.Native() + "/out/b/web/index.html\n" + dir.Native() +
                         "/out/a_2/a.hhp\n" + dir.Native() + "/out/a_2/web/index.html\n" + dir.Native() +
                         "/out/index.html\n");

  const std::string page = dir.Read("out/a/html/main.html");
  EXPECT_TRUE(Has(page, "<a href=\"ms-its:b.chm::/html/term.html\">Term</a> <a href=\"ms-its:b.chm::/html/term.html\">Id</a> "
                        "<a href=\"ms-its:b.chm::/html/term.html\">Pop</a> <a href=\"ms-its:c.chm::/html/x.html\">Far</a>"))
      << page;
  EXPECT_TRUE(Has(dir.Read("out/b/html/term.html"), "<a href=\"ms-its:a.chm::/html/main.html\">Back</a>"));
  EXPECT_TRUE(Has(dir.Read("out/a/a.hhc"), "<param name=\"Local\" value=\"b.chm::/html/term.html\">"));
  EXPECT_TRUE(Has(dir.Read("out/a/a.hhc"), "<param name=\"Local\" value=\"c.chm::/html/x.html\">"));
  EXPECT_TRUE(Has(run.err, "link to x@c.hlp leads into c.chm, a help this run does not convert")) << run.err;
  EXPECT_TRUE(Has(run.err, "the entry Far leads into c.chm, a help this run does not convert")) << run.err;
  EXPECT_FALSE(Has(run.err, "b.chm")) << run.err;  // every reference into b finds its topic
  // The browser helps link into each other; a help outside the run is text there.
  const std::string webPage = dir.Read("out/a/web/html/main.html");
  EXPECT_TRUE(Has(webPage, "<a href=\"../../../b/web/index.html#term.html\" target=\"_top\">Term</a>")) << webPage;
  EXPECT_TRUE(Has(webPage, "<a >Far</a>")) << webPage;
  EXPECT_TRUE(Has(dir.Read("out/a/web/webhelp/help-data.js"), "\"e\":[\"../../b/web/index.html#term.html\"]"));
  EXPECT_TRUE(Has(run.err, "the browser help shows the link to ms-its:c.chm::/html/x.html as text")) << run.err;
  const std::string index = dir.Read("out/index.html");
  EXPECT_TRUE(Has(index, "<a href=\"a/web/index.html\">a help</a>")) << index;
  EXPECT_TRUE(Has(index, "<a href=\"a_2/web/index.html\">a help</a>")) << index;
}

// Cancels at the first page written.
class CancellingHost : public ConversionHost {
 public:
  bool CombinePopupsChecked() override { return true; }
  void SetStatus(const ByteString&) override {}
  void Progress(long, long) override {
    ++calls;
    throw EConversionCancelled();
  }
  int calls = 0;
};

TEST(HelpRun, ACancelEndsTheWholeRunNotJustOneHelp) {
  test::TempDir dir;
  WriteHelp(dir, "one", "a", WordDocument({Topic("a", "A")}), "");
  WriteHelp(dir, "two", "b", WordDocument({Topic("b", "B")}), "");
  auto helps = PlanRun({dir.Engine() + "one\\a.hpj", dir.Engine() + "two\\b.hpj"}, dir.Engine() + "out");
  CancellingHost host;
  EXPECT_THROW(ConvertRun(helps, host), EConversionCancelled);
  EXPECT_EQ(host.calls, 1);
  EXPECT_FALSE(dir.Exists("out/b")) << "the second help was written after the cancel";
  EXPECT_EQ(helps[0]->Job.Status, nullptr);  // the host is not kept past the run
}

}  // namespace
}  // namespace quorvex
