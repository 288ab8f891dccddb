#include "shg/shg.h"

#include <gtest/gtest.h>

#include "platform/Canvas.h"
#include "shg/RunLen.h"
#include "support/BmpBuilder.h"
#include "support/ErrorMessage.h"
#include "support/ShgBuilder.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::Bytes;
using test::PadRows;
using test::ShgBuilder;
using test::ShgHotspot;

constexpr char kInvalid[] = "TShg.LoadFromFile: File type is invalid";

class ShgTest : public ::testing::Test {
 protected:
  // Writes `bytes` as `name` and loads it into `shg`.
  void Load(TShg& shg, const Bytes& bytes, const std::string& name = "pic.shg") {
    dir_.Write(name, std::string(bytes.begin(), bytes.end()));
    shg.LoadFromFile(dir_.Engine() + name);
  }
  // The message of the reader's own error for `bytes`.
  std::string LoadError(const Bytes& bytes, const std::string& name = "pic.shg") {
    return test::ErrorMessage<EShgErrorFile>([&] {
      TShg shg;
      Load(shg, bytes, name);
    });
  }
  test::TempDir dir_;
};

// A 3 x 2 picture of 8 bits: bottom row 0 1 2, top row 2 1 0.
ShgBuilder EightBitPicture() {
  ShgBuilder b;
  b.Width = 3;
  b.Height = 2;
  b.Palette = {10, 20, 30, 0, 40, 50, 60, 0, 70, 80, 90, 0};
  b.Data = PadRows({{0, 1, 2}, {2, 1, 0}});
  return b;
}

void ExpectEightBitPicture(const Bitmap& bitmap) {
  ASSERT_EQ(bitmap.Format(), PixelFormat::Bit8);
  ASSERT_EQ(bitmap.Width(), 3);
  ASSERT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.PixelValue(0, 0), 2u);
  EXPECT_EQ(bitmap.PixelValue(0, 1), 0u);
  EXPECT_EQ(bitmap.PixelColor(2, 1), RgbColor(90, 80, 70));
  EXPECT_EQ(bitmap.GetPalette().size(), 3u);
}

TEST_F(ShgTest, BitmapPictureIsHeldAndRenderedThroughABmpImage) {
  ShgBuilder b = EightBitPicture();
  b.LongNumbers = true;
  TShg shg;
  Load(shg, b.Build());
  EXPECT_EQ(shg.FileHeader.Magic, 0x506C);
  EXPECT_EQ(shg.BitmapHeader.PictureType, 6);
  EXPECT_EQ(shg.BitmapHeader.Width, 3);
  EXPECT_EQ(shg.BitmapHeader.ColorsUsed, 3);
  EXPECT_EQ(shg.BitmapHeader.XDpi, 96);
  EXPECT_EQ(shg.BitmapHeader.CompressedSize, 8u);
  EXPECT_EQ(shg.PictureData.Bytes().size(), 12u + 8u);
  EXPECT_EQ(shg.HotSpotCount(), 0);
  Bitmap bitmap;
  shg.RenderToBitmap(bitmap);
  ExpectEightBitPicture(bitmap);
}

TEST_F(ShgTest, LowerCaseMagicUpperCaseExtensionAndPackedDataLoadAlike) {
  ShgBuilder b = EightBitPicture();
  b.Magic = 0x706C;
  b.Packing = 1;
  b.Data = PackRunLen(b.Data);
  TShg shg;
  Load(shg, b.Build(), "Pic.SHG");
  Bitmap bitmap;
  shg.RenderToBitmap(bitmap);
  ExpectEightBitPicture(bitmap);

  // Packed data stops at its stored size even inside a block: the last row is cut short.
  b.Data = {3, 0, 0x86, 1, 2, 0, 2, 1, 0};
  b.CompressedSize = 7;
  Load(shg, b.Build());
  EXPECT_THROW(shg.RenderToBitmap(bitmap), EInvalidGraphic);
}

TEST_F(ShgTest, RefusedFilesRaiseTheReaderError) {
  auto with = [](auto change) {
    ShgBuilder b = EightBitPicture();
    change(b);
    return b.Build();
  };
  EXPECT_EQ(LoadError(with([](ShgBuilder& b) { b.Magic = 0x5050; })), kInvalid);
  EXPECT_EQ(LoadError(with([](ShgBuilder& b) { b.PictureCount = 2; })), kInvalid);
  EXPECT_EQ(LoadError(with([](ShgBuilder& b) { b.Packing = 2; })), kInvalid);
  EXPECT_EQ(LoadError(with([](ShgBuilder& b) { b.PictureType = 5; })), kInvalid);
  EXPECT_EQ(LoadError(EightBitPicture().Build(), "pic.gif"), kInvalid);
  // Multi-resolution bitmaps share the layout and may hold several pictures; the first counts.
  EXPECT_EQ(LoadError(with([](ShgBuilder& b) { b.PictureCount = 2; }), "pic.mrb"), "<no error>");
  // A picture past the end, and every file cut inside its headers, are refused the same way.
  Bytes file = EightBitPicture().Build();
  Bytes farOffset = file;
  farOffset[5] = 0x10;
  EXPECT_EQ(LoadError(farOffset), kInvalid);
  for (std::size_t length = 0; length < 8 + 2 + 26; ++length) {
    EXPECT_EQ(LoadError(Bytes(file.begin(), file.begin() + length)), kInvalid) << length;
  }
}

TEST_F(ShgTest, PaletteOrDataPastTheEndIsAReadError) {
  auto readError = [&](const Bytes& bytes) {
    return test::ErrorMessage<EReadError>([&] {
      TShg shg;
      Load(shg, bytes);
    });
  };
  ShgBuilder b = EightBitPicture();
  b.ColorsUsed = 1000;
  EXPECT_EQ(readError(b.Build()), "Stream read error");
  b = EightBitPicture();
  b.CompressedSize = 9;
  EXPECT_EQ(readError(b.Build()), "Stream read error");
  b.ColorsUsed = 0x7FFFFFFF;  // a huge palette count allocates nothing before the check
  EXPECT_EQ(readError(b.Build()), "Stream read error");
}

TEST_F(ShgTest, HotspotsAreStoredLastFirstWithKindsAndVisibility) {
  ShgBuilder b = EightBitPicture();
  b.Hotspots = {{0xC8, 0, 1, 2, 3, 4, "A", "Macro()"},
                {0xEA, 1, 5, 6, 7, 8, "B", "popup_term"},
                {0x07, 0, 10, 20, 30, 40, "C", "Topic2"}};
  b.MacroData = {9, 9, 9};
  TShg shg;
  Load(shg, b.Build());
  ASSERT_EQ(shg.HotSpotCount(), 3);
  const THotSpot& c = shg.GetHotSpot(0);
  EXPECT_EQ(c.Name, "C");
  EXPECT_EQ(c.Target, "Topic2");
  EXPECT_EQ(c.Kind, 2);
  EXPECT_TRUE(c.Visible);
  EXPECT_EQ(c.Left, 10);
  EXPECT_EQ(c.Height, 40);
  EXPECT_EQ(shg.GetHotSpot(1).Kind, 1);
  EXPECT_FALSE(shg.GetHotSpot(1).Visible);
  EXPECT_EQ(shg.GetHotSpot(1).Target, "popup_term");
  EXPECT_EQ(shg.GetHotSpot(2).Kind, 0);
  EXPECT_EQ(shg.GetHotSpot(2).Target, "Macro()");
  EXPECT_THROW(shg.GetHotSpot(3), EListError);

  b.HotspotSize = 0;  // the section is there but not announced
  Load(shg, b.Build());
  EXPECT_EQ(shg.HotSpotCount(), 0);
  b.HotspotSize.reset();
  b.HotspotOffset = 0;
  Load(shg, b.Build());
  EXPECT_EQ(shg.HotSpotCount(), 0);

  // A name without its zero byte, or more records than the file holds.
  b = EightBitPicture();
  b.Hotspots = {{0xE3, 0, 1, 1, 1, 1, "A", "B"}};
  Bytes file = b.Build();
  file.pop_back();
  EXPECT_EQ(LoadError(file), kInvalid);
  file[file.size() - 23] = 0xFF;  // the count's high byte: 65281 records
  EXPECT_EQ(LoadError(file), kInvalid);
}

TEST_F(ShgTest, MetafilePicturesAreConvertedToPixelsAtNinetySixPerInch) {
  ShgBuilder b;
  b.PictureType = 8;
  b.Packing = 1;
  b.MetricWidth = 2540;
  b.MetricHeight = 1270;
  b.DecompressedSize = 6;
  b.Data = {0x83, 3, 0, 0, 0x81, 0};
  b.Hotspots = {{0xE3, 0, 1270, 2540, 26, 0, "", "topic"}};
  TShg shg;
  Load(shg, b.Build());
  EXPECT_EQ(shg.BitmapHeader.PictureType, 8);
  EXPECT_EQ(shg.MetafileHeader.MetaPictureType, 8);
  EXPECT_EQ(shg.MetafileHeader.MetaPackingMethod, 1);
  EXPECT_EQ(shg.MetafileHeader.MetaWidth, 96u);
  EXPECT_EQ(shg.MetafileHeader.MetaHeight, 48u);
  EXPECT_EQ(shg.MetafileHeader.DecompressedSize, 6);
  EXPECT_EQ(shg.PictureData.Bytes(), b.Data);
  ASSERT_EQ(shg.HotSpotCount(), 1);
  EXPECT_EQ(shg.GetHotSpot(0).Left, 48);
  EXPECT_EQ(shg.GetHotSpot(0).Top, 96);
  EXPECT_EQ(shg.GetHotSpot(0).Width, 1);  // 0.98 rounds up
}

TEST_F(ShgTest, ALaterLoadReplacesDataAndKeepsHeaderFieldsItDoesNotSet) {
  ShgBuilder meta;
  meta.PictureType = 8;
  TShg shg;
  Load(shg, meta.Build());
  ShgBuilder bitmap = EightBitPicture();
  bitmap.Hotspots = {{0xE3, 0, 1, 1, 1, 1, "A", "B"}};
  Load(shg, bitmap.Build());
  EXPECT_EQ(shg.MetafileHeader.MetaPictureType, 8);  // kept, yet the bitmap renders
  Bitmap rendered;
  shg.RenderToBitmap(rendered);
  ExpectEightBitPicture(rendered);

  // A refused file drops data and hotspots of the earlier load.
  EXPECT_THROW(shg.LoadFromFile(dir_.Engine() + "none.txt"), EShgErrorFile);
  EXPECT_EQ(shg.HotSpotCount(), 0);
  EXPECT_EQ(shg.PictureData.Size(), 0);

  // Picture type 7 loads with the bitmap layout and draws nothing.
  ShgBuilder seven = EightBitPicture();
  seven.PictureType = 7;
  TShg fresh;
  Load(fresh, seven.Build());
  Bitmap untouched(5, 5, PixelFormat::Bit24);
  fresh.RenderToBitmap(untouched);
  EXPECT_EQ(untouched.Width(), 5);
}

TEST_F(ShgTest, RenderingRefusesHeldFormsThatMakeNoPicture) {
  ShgBuilder b = EightBitPicture();
  b.Width = 0x7FFFFFFF;  // rows far above the bitmap cap: refused before unpacking
  b.Height = 0x7FFFFFFF;
  TShg shg;
  Load(shg, b.Build());
  Bitmap bitmap;
  EXPECT_EQ(test::ErrorMessage<EInvalidGraphic>([&] { shg.RenderToBitmap(bitmap); }), "Bitmap image is too large");
  b = EightBitPicture();
  b.Data.pop_back();  // a row short
  Load(shg, b.Build());
  EXPECT_EQ(test::ErrorMessage<EInvalidGraphic>([&] { shg.RenderToBitmap(bitmap); }), "Bitmap image is not valid");
}

// Every prefix and single-bit flip of a few files: a held picture, or one of
// the reader's errors; a held picture renders or raises the bitmap's error.
TEST_F(ShgTest, MutatedFilesLoadOrFailCleanly) {
  ShgBuilder packed = EightBitPicture();
  packed.Packing = 1;
  packed.Data = PackRunLen(packed.Data);
  packed.Hotspots = {{0xE2, 0, 1, 2, 3, 4, "n", "t"}, {0xC8, 0, 0, 0, 1, 1, "m", "M()"}};
  ShgBuilder meta;
  meta.PictureType = 8;
  meta.Data = {1, 2, 3, 4};
  meta.Hotspots = {{0xE3, 0, 100, 100, 100, 100, "x", "y"}};
  for (const Bytes& file : {EightBitPicture().Build(), packed.Build(), meta.Build()}) {
    auto tryLoad = [&](const Bytes& candidate) {
      TShg shg;
      try {
        Load(shg, candidate, "m.shg");
        Bitmap bitmap;
        shg.RenderToBitmap(bitmap);
      } catch (const EShgError&) {
      } catch (const EReadError&) {
      } catch (const EInvalidGraphic&) {
      }
    };
    for (std::size_t length = 0; length < file.size(); ++length) tryLoad(Bytes(file.begin(), file.begin() + length));
    for (std::size_t at = 0; at < file.size(); ++at) {
      for (int bit = 0; bit < 8; ++bit) {
        Bytes mutated = file;
        mutated[at] ^= static_cast<std::uint8_t>(1 << bit);
        tryLoad(mutated);
      }
    }
  }
}

}  // namespace
}  // namespace quorvex
