#include "topics/Pictures.h"

#include <gtest/gtest.h>

#include "support/BmpBuilder.h"
#include "support/PngOracle.h"
#include "support/ShgBuilder.h"
#include "topics/TopicTestSupport.h"

namespace quorvex {
namespace {

using test::Bytes;
using test::ShgBuilder;
using test::TopicFixture;

struct PictureFixture : TopicFixture {
  PictureFixture() { ForceDirectories(job.OutputFolder + "img"); }
  void WritePicture(const std::string& name, const Bytes& bytes) const {
    dir.Write(name, std::string(bytes.begin(), bytes.end()));
  }
};

// A 5 (or `width`) x 3 bitmap of 8 bits.
Bytes SmallBmp(int width = 5) {
  test::BmpBuilder b;
  b.Width = width;
  b.Height = 3;
  b.Colors = test::GreyColors(4);
  std::vector<std::vector<std::uint8_t>> rows(3, std::vector<std::uint8_t>(static_cast<std::size_t>(width), 1));
  b.Pixels = test::PadRows(rows);
  return b.Build();
}

// A 4 x 2 .shg with the given hotspots.
Bytes SmallShg(std::vector<test::ShgHotspot> hotspots) {
  ShgBuilder b;
  b.Width = 4;
  b.Height = 2;
  b.Palette = {0, 0, 0, 0, 255, 255, 255, 0};
  b.Data = test::PadRows({{0, 1, 0, 1}, {1, 1, 0, 0}});
  b.Hotspots = std::move(hotspots);
  return b.Build();
}

TEST(Pictures, BitmapsBecomeLowerCasedPngsWithTheirSizeAndAlignment) {
  PictureFixture f;
  f.WritePicture("Logo.BMP", SmallBmp());
  EXPECT_EQ(f.Scan("\\{bmc Logo.BMP\\}x"), "<img src=\"../img/logo.png\" width=5 height=3>x");
  const std::string png = f.dir.Read("out/img/logo.png");
  const test::DecodedPng decoded = test::DecodeWithLibpng(Bytes(png.begin(), png.end()));
  ASSERT_TRUE(decoded.Ok) << decoded.Error;
  EXPECT_EQ(decoded.Width, 5u);
  EXPECT_EQ(f.Scan("\\{bml logo.bmp\\}"), "<img src=\"../img/logo.png\" width=5 height=3 align=left>");
  EXPECT_EQ(f.Scan("\\{bmrt  logo.bmp\\}"), "<img src=\"../img/logo.png\" width=5 height=3 align=right>");
  // Missing pictures and pictures of other types read "(画像)" and write nothing.
  f.WritePicture("chart.wmf", {1, 2, 3});
  EXPECT_EQ(f.Scan("\\{bmc none.bmp\\}\\{bmc chart.wmf\\}"), test::Sjis("(画像)(画像)"));
  EXPECT_FALSE(f.dir.Exists("out/img/chart.png"));
}

TEST(Pictures, PicturesAreLookedUpInTheBitmapFoldersThenTheProjectAndWrittenOnlyInsideTheOutput) {
  PictureFixture f;
  f.job.BitmapFolders = {"none\\", "art\\"};
  f.WritePicture("art/a.bmp", SmallBmp());
  f.WritePicture("b.bmp", SmallBmp());
  EXPECT_EQ(f.Scan("\\{bmc b.bmp\\}"), "<img src=\"../img/b.png\" width=5 height=3>");
  EXPECT_EQ(f.Scan("\\{bmc A.bmp\\}"), "<img src=\"../img/a.png\" width=5 height=3>");
  // Whatever folders a reference names, the picture lands in img\ itself;
  // two pictures of one name from different folders stay two pictures.
  f.WritePicture("escape.bmp", SmallBmp(7));
  f.WritePicture("sub/a.bmp", SmallBmp());
  EXPECT_EQ(f.Scan("\\{bmc ../escape.bmp\\}"), "<img src=\"../img/escape.png\" width=7 height=3>");
  EXPECT_EQ(f.Scan("\\{bmc sub/a.bmp\\}\\{bmc a.bmp\\}\\{bmc SUB/A.BMP\\}"),
            "<img src=\"../img/a_2.png\" width=5 height=3><img src=\"../img/a.png\" width=5 height=3>"
            "<img src=\"../img/a_2.png\" width=5 height=3>");
  EXPECT_FALSE(f.dir.Exists("out/escape.png"));
  EXPECT_TRUE(f.dir.Exists("out/img/escape.png"));
  // A path of the author's machine is found by its file name.
  EXPECT_EQ(f.Scan("\\{bmc C:/HELP/ART/B.BMP\\}"), "<img src=\"../img/b.png\" width=5 height=3>");
}

TEST(Pictures, SegmentedPicturesGetImageMapsNumberedPerPage) {
  PictureFixture f;
  f.job.CombinePopups = true;
  f.WriteTopic("term.rtf", {"{\\rtf1", "#{\\footnote term}Text\\par ", "}"});
  f.WritePicture("map.shg", SmallShg({{0xE3, 0, 1, 2, 3, 4, "j", "Next"},
                                      {0xE2, 0, 65000, 0, 1000, 70, "p", "term"},
                                      {0xC8, 0, 0, 0, 4, 2, "m", "Exit()"}}));
  f.WritePicture("plain.shg", SmallShg({}));
  f.WritePicture("macros.shg", SmallShg({{0xCC, 0, 0, 0, 1, 1, "m", "Exit()"}}));
  const std::string map1 =
      "<img src=\"../img/map.png\" usemap=\"#test1\" border=0 width=4 height=2 align=left>\r\n"
      "<map name=\"test1\">\r\n"
      "<area shape=rect coords=\"65000,0,66000,70\" a href=\"JavaScript:popup.TextPopup(pop1,popfont,9,9,-1,-1)\">\r\n"
      "<area shape=rect coords=\"1,2,4,6\" a href=\"next.html\">\r\n"
      "</map>";
  EXPECT_EQ(f.Scan("\\{bml Map.SHG\\}"), map1);
  EXPECT_EQ(f.job.JumpPages, StringList({"next.html"}));
  EXPECT_EQ(f.job.PopupTopics, StringList({"term"}));
  EXPECT_EQ(f.Scan("\\{bmc plain.shg\\}"), "<img src=\"../img/plain.png\" width=4 height=2>");
  EXPECT_EQ(f.page.MapNumber, 2);
  EXPECT_EQ(f.Scan("\\{bmc macros.shg\\}"),
            "<img src=\"../img/macros.png\" usemap=\"#test2\" border=0 width=4 height=2>\r\n"
            "<map name=\"test2\">\r\n</map>");
  EXPECT_EQ(f.page.MapNumber, 3);
}

TEST(Pictures, UnreadablePicturesEndTheConversionWithTheirReadersErrors) {
  PictureFixture f;
  f.WritePicture("bad.bmp", {'B', 'M', 0});
  f.WritePicture("bad.shg", {'l', 'P', 2, 0});
  EXPECT_EQ(test::MessageOf([&] { f.Scan("\\{bmc bad.bmp\\}"); }), "Bitmap image is not valid");
  EXPECT_EQ(test::MessageOf([&] { f.Scan("\\{bmc bad.shg\\}"); }), "TShg.LoadFromFile: File type is invalid");
}

}  // namespace
}  // namespace quorvex
