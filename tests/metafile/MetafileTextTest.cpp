#include <gtest/gtest.h>

#include "metafile/Metafile.h"
#include "platform/Canvas.h"
#include "metafile/WmfPlayer.h"
#include "support/MetafileProbe.h"
#include "support/TempDir.h"
#include "support/WmfBuilder.h"

namespace quorvex {
namespace {

using test::InkPixels;
using test::PlayOnWhite;
using test::Sjis;
using test::WmfBuilder;

constexpr int kShiftJis = 128;
constexpr int kAnsi = 0;

// The ink's bounding box: left, top, right, bottom (right and bottom outside).
struct InkBox {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
};
InkBox BoxOfInk(const Bitmap& b) {
  InkBox box;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      if (b.PixelColor(x, y) == 0xFFFFFF) continue;
      box.Left = std::min(box.Left, x), box.Top = std::min(box.Top, y);
      box.Right = std::max(box.Right, x + 1), box.Bottom = std::max(box.Bottom, y + 1);
    }
  }
  return box;
}

// UTF-8 text split into characters, as a decoded text record hands them over.
std::vector<TextChar> Characters(const std::string& utf8) {
  std::vector<TextChar> out;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = n == 1 ? lead : lead & (0x3F >> (n - 1));
    for (std::size_t k = 1; k < n; ++k) code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out.push_back({utf8.substr(i, n), 1, code});
    i += n;
  }
  return out;
}

std::unique_ptr<Bitmap> PlayText(int charset, const std::string& face, const std::string& bytes, int align = 0) {
  WmfBuilder b;
  b.CreateFont(-16, charset, face).SelectObject(0).SetTextAlign(align);
  b.TextOut(4, 4, bytes);
  return PlayOnWhite(b.Placeable(0, 0, 160, 28, 96));
}

TEST(MetafileText, JapaneseAndAsciiTextDrawInk) {
  const auto japanese = PlayText(kShiftJis, Sjis("ＭＳ Ｐゴシック"), Sjis("日本語のヘルプ"));
  EXPECT_GT(InkPixels(*japanese, 0, 0, 160, 28), 150);
  const auto ascii = PlayText(kAnsi, "Arial", "Hello, help");
  EXPECT_GT(InkPixels(*ascii, 0, 0, 160, 28), 60);
  // Top-aligned at y = 4 with a 16-pixel em: the ink stays in the line.
  const InkBox box = BoxOfInk(*ascii);
  EXPECT_GE(box.Top, 4);
  EXPECT_LE(box.Bottom, 4 + 20);
  EXPECT_GE(box.Left, 4);
}

TEST(MetafileText, ShiftJisCharsetDrawsWhatTheSameTextFromUtf8Draws) {
  const std::string text = "日本語テキスト（ＳＨＧ）";
  const auto fromRecord = PlayText(kShiftJis, Sjis("ＭＳ ゴシック"), Sjis(text));

  Raster raster(160, 28);
  WmfPlacement placement;
  placement.WindowWidth = placement.Width = 160;
  placement.WindowHeight = placement.Height = 28;
  WmfPlayer player(raster, placement);
  player.State().Font.Height = -16;
  player.State().Font.Charset = kShiftJis;
  player.State().Font.FaceName = Sjis("ＭＳ ゴシック");
  player.DrawDecodedText(4, 4, Characters(text), nullptr, 0, std::nullopt);

  int ink = 0, differences = 0;
  for (int y = 0; y < 28; ++y) {
    for (int x = 0; x < 160; ++x) {
      const Rgb expected = raster.At(x, y);
      const Color c = fromRecord->PixelColor(x, y);
      const Rgb got = MakeRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
      ink += expected != kWhite;
      differences += expected != got;
    }
  }
  EXPECT_GT(ink, 200);
  EXPECT_EQ(differences, 0);

  // The same bytes under the ANSI character set are other characters.
  const auto ansi = PlayText(kAnsi, Sjis("ＭＳ ゴシック"), Sjis(text));
  int changed = 0;
  for (int y = 0; y < 28; ++y) {
    for (int x = 0; x < 160; ++x) changed += ansi->PixelColor(x, y) != fromRecord->PixelColor(x, y);
  }
  EXPECT_GT(changed, 100);
}

TEST(MetafileText, AlignmentPlacesTheTextAroundItsReferencePoint) {
  auto play = [](int align, int x, int y) {
    WmfBuilder b;
    b.CreateFont(-20, kAnsi, "Arial").SelectObject(0).SetTextAlign(align);
    b.TextOut(x, y, "HH");
    return BoxOfInk(*PlayOnWhite(b.Placeable(0, 0, 120, 60, 96)));
  };
  const InkBox top = play(0, 60, 20);
  EXPECT_GE(top.Top, 20);
  EXPECT_GE(top.Left, 60);
  const InkBox baseline = play(24, 60, 40);  // TA_BASELINE: capitals sit on y = 40
  EXPECT_EQ(baseline.Bottom, 40);
  EXPECT_LT(baseline.Top, 40 - 10);
  const InkBox bottom = play(8, 60, 40);  // TA_BOTTOM: the descent lies above y = 40
  EXPECT_LT(bottom.Bottom, 40);
  const InkBox right = play(2, 60, 20);
  EXPECT_LE(right.Right, 60);
  EXPECT_GT(right.Left, 60 - 40);
  const InkBox centre = play(6, 60, 20);
  EXPECT_LT(centre.Left, 60);
  EXPECT_GT(centre.Right, 60);
}

TEST(MetafileText, AdvancesOfADoubleByteCharacterAreSummedOverItsBytes) {
  auto play = [](const std::vector<int>& dx) {
    WmfBuilder b;
    b.CreateFont(-16, kShiftJis, Sjis("ＭＳ ゴシック")).SelectObject(0);
    b.ExtTextOut(2, 2, 0, Sjis("日本"), dx);
    return PlayOnWhite(b.Placeable(0, 0, 100, 24, 96));
  };
  const auto whole = play({40, 0, 40, 0});
  const auto halves = play({20, 20, 20, 20});
  EXPECT_EQ(test::Picture(*whole), test::Picture(*halves));
  const InkBox spread = BoxOfInk(*whole);
  EXPECT_GT(spread.Right - spread.Left, 40 + 10);  // the second character starts 40 pixels on
  const auto natural = play({});
  const InkBox close = BoxOfInk(*natural);
  EXPECT_LT(close.Right - close.Left, 34);
}

TEST(MetafileText, OpaqueRectangleAndClipping) {
  WmfBuilder b;
  b.CreateFont(-16, kAnsi, "Arial").SelectObject(0).SetBkMode(1).SetBkColor(0x0000FF);
  // ETO_OPAQUE | ETO_CLIPPED with the rectangle 0, 0, 30, 20: the rectangle turns red, no ink beyond x = 30.
  test::Bytes params;
  for (int v : {2, 2, 6, 6, 0, 0, 30, 20}) params.push_back(v & 0xFF), params.push_back((v >> 8) & 0xFF);
  for (char c : std::string("WWWWWW")) params.push_back(static_cast<std::uint8_t>(c));
  b.RecordBytes(0x0A32, params);
  const auto bitmap = PlayOnWhite(b.Placeable(0, 0, 80, 24, 96));
  EXPECT_EQ(bitmap->PixelColor(0, 0), RgbColor(255, 0, 0));
  EXPECT_EQ(bitmap->PixelColor(29, 19), RgbColor(255, 0, 0));
  EXPECT_EQ(bitmap->PixelColor(30, 19), RgbColor(255, 255, 255));
  EXPECT_EQ(InkPixels(*bitmap, 30, 0, 80, 24), 0);
  EXPECT_GT(InkPixels(*bitmap, 0, 0, 30, 20), 100);

  // Without characters the record only paints its rectangle, even in a
  // font too small to draw (a tenth of a pixel here).
  WmfBuilder box;
  box.SetWindowExt(40, 30).CreateFont(-1, kAnsi, "").SelectObject(0).SetBkColor(0x00FF00);
  box.RecordBytes(0x0A32, {10, 0, 10, 0, 0, 0, 2, 0, 10, 0, 10, 0, 30, 0, 20, 0});  // rect 10, 10, 30, 20
  EXPECT_EQ(test::Picture(*PlayOnWhite(box.Placeable(0, 0, 4, 3, 96))),
            "....\n"
            ".gg.\n"
            "....\n");
}

TEST(MetafileText, APositiveHeightIsTheCellANegativeOneTheEm) {
  auto capitalHeight = [](int height) {
    WmfBuilder b;
    b.CreateFont(height, kAnsi, "Arial").SelectObject(0).SetTextAlign(24);
    b.TextOut(4, 50, "H");
    const InkBox box = BoxOfInk(*PlayOnWhite(b.Placeable(0, 0, 60, 60, 96)));
    return box.Bottom - box.Top;
  };
  const int em = capitalHeight(-40);
  const int cell = capitalHeight(40);
  EXPECT_GT(em, 25);  // a capital is about seven tenths of the em
  EXPECT_LT(em, 32);
  EXPECT_LT(cell, em - 2);  // the same number as a cell leaves room for ascent and descent
}

TEST(MetafileText, EscapementTurnsTheLine) {
  WmfBuilder b;
  b.CreateFont(-16, kAnsi, "Arial", 400, 900).SelectObject(0);  // 90 degrees
  b.TextOut(20, 90, "HHHHHH");
  const InkBox box = BoxOfInk(*PlayOnWhite(b.Placeable(0, 0, 100, 100, 96)));
  EXPECT_GT(box.Bottom - box.Top, 2 * (box.Right - box.Left));
  EXPECT_LE(box.Bottom, 90);  // written upwards from the reference point
}

}  // namespace
}  // namespace quorvex
