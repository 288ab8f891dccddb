// Cut and corrupted topic files: the document reader gives a model for any
// bytes, and the pages are written from whatever model it gives.

#include <gtest/gtest.h>

#include "base/Errors.h"
#include "rtf/DocumentForm.h"
#include "rtf/RtfReader.h"
#include "support/HelpProject.h"
#include "support/RtfBuilder.h"

namespace quorvex {
namespace {

std::string RichDocument() {
  using test::WordFootnote;
  return test::WordDocument(
      {WordFootnote('#', "one") + WordFootnote('$', test::WordText("題名")) + WordFootnote('K', "a;b,c") +
           "\\pard\\keepn\\b Title\\par \\pard {\\uldb Next}{\\v two}{\\ul Pop}{\\v %three>win}\\plain\\strike x\\plain\\v four@f.hlp\\plain "
           "\\{bmc pic.bmp\\}{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt a}}\\par "
           "{\\listtext\\f1 \\'b7\\tab}\\li720 item\\par \\pard\\trowd\\clbrdrt\\brdrs\\cellx10\\intbl c\\cell \\row\\pard "
           "{\\pict\\dibitmap0\\picw1\\pich1 2800000001000000010000000100010000000000}\\u8364\\'3f" + WordFootnote('#', "mid"),
       WordFootnote('#', "two") + "{\\uldb !AL(x)}{\\v !AL(x)}" + test::WordText("日本語の文") + "\\par ",
       WordFootnote('#', "three") + "popup \\'83\\'5c\\par "});
}

TEST(RtfMutation, CutAndFlippedFilesGiveAModel) {
  const std::string rtf = RichDocument();
  for (std::size_t length = 0; length <= rtf.size(); ++length) {
    ReadRtfDocument(std::string_view(rtf).substr(0, length), 932);
    IsDocumentForm(std::string_view(rtf).substr(0, length));
  }
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    std::string flipped = rtf;
    flipped[i] = static_cast<char>(flipped[i] ^ (1 << (i % 8)));
    ReadRtfDocument(flipped, 932);
  }
}

TEST(RtfMutation, PagesAreWrittenFromDamagedFiles) {
  const std::string rtf = RichDocument();
  for (std::size_t i = 0; i < rtf.size(); i += 41) {
    std::string damaged = rtf.substr(0, rtf.size() - i / 2);
    damaged[i % damaged.size()] = static_cast<char>(damaged[i % damaged.size()] ^ 0x24);
    test::HelpProject project;
    project.Section("[FILES]", {"doc.rtf"}).File("doc.rtf", damaged);
    test::RunResult run = project.Convert({"--keep-going"});
    EXPECT_TRUE(run.code == 0 || run.err.find("quorvex-convert: ") != std::string::npos) << i << run.err;
  }
}

}  // namespace
}  // namespace quorvex
