// Pictures on document pages: embedded pictures of every format, and
// picture references, also inside hotspots.

#include <gtest/gtest.h>

#include <cstdio>

#include "document/DocumentTestSupport.h"
#include "support/BmpBuilder.h"
#include "support/EmfBuilder.h"
#include "support/PngFiles.h"
#include "support/PngOracle.h"
#include "support/WmfBuilder.h"

namespace quorvex {
namespace {

using test::Bytes;

std::string Hex(const Bytes& bytes) {
  std::string hex;
  for (std::uint8_t b : bytes) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", b);
    hex += digits;
  }
  return hex;
}

Bytes TwoByTwoBmp() {
  test::BmpBuilder b;
  b.Width = 2;
  b.Height = 2;
  b.Colors = test::GreyColors(2);
  b.ClrUsed = 2;  // a packed DIB says how many colours it holds
  b.Pixels = test::PadRows({{0, 1}, {1, 0}});
  return b.Build();
}

Bytes Read(const test::DocumentProject& p, const std::string& name) {
  std::string text = p.project.Output(name);
  return Bytes(text.begin(), text.end());
}

TEST(DocumentPictures, EmbeddedPicturesOfEveryFormat) {
  const Bytes bmp = TwoByTwoBmp();
  const Bytes dib(bmp.begin() + 14, bmp.end());
  const Bytes png = test::PngOf({test::Chunk("IHDR", test::HeaderData(3, 2, 8, 2)),
                                 test::Chunk("IDAT", test::Compress(Bytes(2 * 10, 0x80))), test::Chunk("IEND", {})});
  const Bytes wmf = test::WmfBuilder()
                        .SetMapMode(8)
                        .SetWindowExt(100, 100)
                        .CreateBrush(0, 0x0000FF)
                        .SelectObject(0)
                        .Rectangle(0, 0, 100, 100)
                        .Records();
  const Bytes emf = test::EmfBuilder().CreateBrush(1, 0, 0x00FF00).SelectObject(1).Rectangle(0, 0, 20, 10).Build(0, 0, 529, 264);
  test::DocumentProject p;
  p.Document("Doc.rtf", {test::WordFootnote('#', "t") +
                         "{\\pict\\dibitmap0\\picw2\\pich2\\picwgoal600\\pichgoal300 " + Hex(dib) + "}"
                         "{\\pict\\pngblip\\picw3\\pich2 " + Hex(png) + "}"
                         "{\\pict\\jpegblip\\picw4\\pich5\\picscalex50\\picscaley200 ffd8ffd9}"
                         "{\\pict\\wbitmap0\\picw8\\pich2\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes2 f0000f00}"
                         "{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal300\\pichgoal150 " + Hex(wmf) + "}"
                         "{\\pict\\emfblip\\picw529\\pich264 " + Hex(emf) + "}"
                         "{\\pict\\dibitmap0 28000000}\\par "});
  test::RunResult run = p.Convert();
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(p.Body("t.html"),
            "<img src=\"../img/doc_1.png\" width=40 height=20><img src=\"../img/doc_2.png\" width=3 height=2>"
            "<img src=\"../img/doc_3.jpg\" width=2 height=10><img src=\"../img/doc_4.png\" width=8 height=2>"
            "<img src=\"../img/doc_5.png\" width=20 height=10><img src=\"../img/doc_6.png\" width=20 height=10>"
            "(画像)<br>\r\n");
  EXPECT_NE(run.err.find("picture 7 of the file cannot be drawn"), std::string::npos) << run.err;
  EXPECT_EQ(Read(p, "img/doc_2.png"), png);  // PNG and JPEG pictures are written as they are
  EXPECT_EQ(Read(p, "img/doc_3.jpg"), (Bytes{0xFF, 0xD8, 0xFF, 0xD9}));

  test::DecodedPng dibPng = test::DecodeWithLibpng(Read(p, "img/doc_1.png"));
  ASSERT_TRUE(dibPng.Ok) << dibPng.Error;
  EXPECT_EQ(dibPng.Width, 2u);
  test::DecodedPng ddb = test::DecodeWithLibpng(Read(p, "img/doc_4.png"));
  ASSERT_TRUE(ddb.Ok) << ddb.Error;
  EXPECT_EQ(ddb.Width, 8u);  // top row: four black-and-white bits set, then clear
  test::DecodedPng metafile = test::DecodeWithLibpng(Read(p, "img/doc_5.png"));
  ASSERT_TRUE(metafile.Ok) << metafile.Error;
  EXPECT_EQ((std::vector<int>{metafile.Sample(10, 5, 0), metafile.Sample(10, 5, 1), metafile.Sample(10, 5, 2)}),
            (std::vector<int>{255, 0, 0}));  // the red rectangle fills the picture
}

TEST(DocumentPictures, ReferencesTakeTheFirstAlternativeFoundAndMayLink) {
  const Bytes bmp = TwoByTwoBmp();
  test::DocumentProject p;
  p.project.File("art/b.bmp", std::string(bmp.begin(), bmp.end()));
  p.Document("doc.rtf", {test::WordFootnote('#', "t") + "{\\uldb \\{bml a.bmp;b.bmp\\}}{\\v two}\\{bmr gone.wmf\\}\\par ",
                         test::WordFootnote('#', "two") + "x\\par "});
  test::RunResult run = p.Convert({}, {"[OPTIONS]", "BMROOT=art"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(p.Body("t.html"), "<a href=\"two.html\"><img src=\"../img/b.png\" width=2 height=2 align=left></a>(画像)<br>\r\n");
  EXPECT_NE(run.err.find("art/gone.wmf: picture not found"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace quorvex
