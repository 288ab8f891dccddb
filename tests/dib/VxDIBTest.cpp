// TVxDIB: the operations of the graphic, sharing and copy on write, palettes,
// exchange with platform bitmaps, the clipboard and files, registration.

#include "dib/VxDIB.h"

#include <gtest/gtest.h>

#include "base/Files.h"
#include "platform/PictureFormats.h"
#include "support/DibProbe.h"
#include "support/ErrorMessage.h"
#include "support/ForeignGraphic.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::Bytes;
using test::ErrorMessage;
using test::Rgb3;

std::unique_ptr<TVxDIB> EightBitDib() {
  return test::LoadDib(test::BmpOf(8, 3, 2, {{10, 0, 0}, {0, 20, 0}, {0, 0, 30}}, {0, 1, 2, 2, 1, 0}));
}

using test::ForeignGraphic;

TEST(VxDIB, ANewDibIsOneBlackEightBitPixelWith256Colours) {
  TVxDIB dib;
  EXPECT_FALSE(dib.Empty());
  EXPECT_EQ(dib.Width(), 1);
  EXPECT_EQ(dib.Height(), 1);
  EXPECT_EQ(dib.BitCount(), 8);
  EXPECT_EQ(dib.GetPixelFormat(), DibPixelFormat::Bit8);
  EXPECT_EQ(dib.GetPalette(), Palette(256));
  EXPECT_TRUE(dib.UseFMO());
  EXPECT_TRUE(dib.PaletteModified());
  EXPECT_EQ(dib.MaskColor(), 0xFFFFFF);
  EXPECT_EQ(dib.ReductionQuality(), 0);
  EXPECT_EQ(dib.HalftoneMode(), 0);
  EXPECT_EQ(dib.InternalDIB().Dib().BitsSize(), 4u);
  EXPECT_EQ(dib.InternalDIB().Dib().Header.XPelsPerMeter, 3780);
  EXPECT_EQ(dib.GetClipboardFormat(), 8);

  SetDefaultUseFMO(false);
  TVxDIB heap;
  SetDefaultUseFMO(true);
  EXPECT_FALSE(heap.UseFMO());
}

TEST(VxDIB, NewSizesAndBitCountsGiveBlankPictures) {
  auto dib = EightBitDib();
  dib->SetWidth(3);  // unchanged: the picture stays
  EXPECT_EQ(test::IndexOf(*dib, 1, 0), 1);

  int changes = 0;
  dib->SetOnChange([&](Graphic&) { ++changes; });
  dib->SetWidth(5);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(dib->Width(), 5);
  EXPECT_EQ(dib->Height(), 2);
  EXPECT_EQ(dib->BitCount(), 8);
  EXPECT_EQ(dib->GetPalette(), Palette(3));  // same number of colours, all black
  EXPECT_EQ(test::IndexOf(*dib, 1, 0), 0);

  dib->SetHeight(-4);
  EXPECT_EQ(dib->Height(), 4);
  EXPECT_EQ(dib->InternalDIB().Dib().Header.Height, -4);
  dib->SetWidth(6);  // a top-down picture becomes bottom-up
  EXPECT_EQ(dib->InternalDIB().Dib().Header.Height, 4);

  dib->SetBitCount(1);
  EXPECT_EQ(dib->GetPalette().size(), 2u);
  EXPECT_EQ(dib->InternalDIB().Dib().BitsSize(), 16u);
  dib->SetBitCount(24);
  EXPECT_TRUE(dib->GetPalette().empty());
  EXPECT_EQ(dib->GetPixelFormat(), DibPixelFormat::Bit24);
}

TEST(VxDIB, InvalidSizesAndBitCountsAreRefused) {
  TVxDIB dib;
  EXPECT_EQ(ErrorMessage<EVxDIBInvalidDIBPara>([&] { dib.SetWidth(0); }), "TVxDIB.SetWidth: Invalid Width");
  EXPECT_EQ(ErrorMessage<EVxDIBInvalidDIBPara>([&] { dib.SetWidth(-3); }), "TVxDIB.SetWidth: Invalid Width");
  EXPECT_EQ(ErrorMessage<EVxDIBInvalidDIBPara>([&] { dib.SetHeight(0); }), "TVxDIB.SetWidth: Invalid Height");
  EXPECT_EQ(ErrorMessage<EVxDIBInvalidDIBPara>([&] { dib.SetBitCount(16); }), "TVxDIB.SetBitCount: Invalid BitCount");
  EXPECT_EQ(ErrorMessage<EVxDIBInvalidDIBPara>([&] { dib.InternalDIB().CreateDIB(1, 1, 257, 8); }),
            "TVxInternalDIB.CreateDIB: Invalid Parameters");
  // A pixel block past the cap is out of resources, and the DIB stays as it was.
  EXPECT_THROW(dib.SetWidth(0x7FFFFFFF), EOutOfResources);
  EXPECT_EQ(dib.Width(), 1);
}

TEST(VxDIB, AssignSharesAndEveryInPlaceChangeCopiesFirst) {
  auto a = EightBitDib();
  a->SetMaskColor(0x0000FF);
  a->SetReductionQuality(1);
  a->SetHalftoneMode(2);
  TVxDIB b;
  b.Assign(a.get());
  EXPECT_EQ(&a->InternalDIB(), &b.InternalDIB());
  EXPECT_EQ(a->InternalDIB().RefCount(), 2u);
  EXPECT_EQ(b.MaskColor(), 0x0000FF);
  EXPECT_EQ(b.ReductionQuality(), 1);
  EXPECT_EQ(b.HalftoneMode(), 2);
  a->SetHalftoneMode(0);
  b.SetHalftoneMode(0);

  b.SetPalette({{1, 2, 3, 0}});
  EXPECT_NE(&a->InternalDIB(), &b.InternalDIB());
  EXPECT_EQ(a->InternalDIB().RefCount(), 1u);
  EXPECT_EQ(a->GetPalette().size(), 3u);
  EXPECT_EQ(a->GetPalette()[0], (PaletteEntry{10, 0, 0, 0}));
  EXPECT_EQ(b.GetPalette(), (Palette{{1, 2, 3, 0}}));
  EXPECT_EQ(test::IndexOf(b, 2, 0), 2);  // the pixels came along

  TVxDIB c;
  c.Assign(a.get());
  c.SetPixelFormat(DibPixelFormat::Bit24);
  EXPECT_EQ(a->GetPixelFormat(), DibPixelFormat::Bit8);
  EXPECT_EQ(test::ColorOf(c, 2, 0), RgbColor(0, 0, 30));

  TVxDIB d;
  d.Assign(a.get());
  MemoryStream other(test::BmpOf(1, 1, 1, test::GreyColors(2), {1}));
  d.LoadFromStream(other);
  EXPECT_EQ(a->Width(), 3);
  EXPECT_EQ(a->InternalDIB().RefCount(), 1u);

  d.Assign(&d);  // itself: nothing
  EXPECT_EQ(d.BitCount(), 1);
  d.Assign(nullptr);
  EXPECT_EQ(d.Width(), 1);
  EXPECT_EQ(d.BitCount(), 8);
  EXPECT_EQ(d.GetPalette(), Palette(256));
}

TEST(VxDIB, HalftoneModesReadTheSharedPalettes) {
  auto dib = EightBitDib();
  dib->SetHalftoneMode(1);
  Palette halftone = dib->GetPalette();
  ASSERT_EQ(halftone.size(), 215u);
  EXPECT_EQ(halftone[0], (PaletteEntry{0, 0, 0, 0}));
  EXPECT_EQ(halftone[3 * 35 + 2 * 5 + 4], (PaletteEntry{153, 85, 255, 0}));
  EXPECT_EQ(halftone[209], (PaletteEntry{255, 255, 255, 0}));
  EXPECT_EQ(halftone[210], (PaletteEntry{128, 0, 0, 0}));
  EXPECT_EQ(halftone[213], (PaletteEntry{192, 192, 192, 0}));
  EXPECT_EQ(halftone[214], (PaletteEntry{128, 128, 128, 0}));
  dib->SetHalftoneMode(2);
  EXPECT_EQ(dib->GetPalette(), (Palette{{0, 0, 0, 0}, {255, 255, 255, 0}}));
  dib->SetHalftoneMode(0);
  EXPECT_EQ(dib->GetPalette().size(), 3u);
}

TEST(VxDIB, SettingThePaletteFillsTheColourTable) {
  auto dib = EightBitDib();
  dib->SetPaletteModified(false);
  Palette big(300, PaletteEntry{7, 8, 9, 0});
  big[255] = {1, 1, 1, 0};
  dib->SetPalette(big);
  EXPECT_TRUE(dib->PaletteModified());
  EXPECT_EQ(dib->InternalDIB().Dib().Header.ClrUsed, 256u);
  EXPECT_EQ(dib->InternalDIB().Dib().Colors[255], (RgbQuad{1, 1, 1, 0}));
  Bytes saved = test::SaveDib(*dib);
  EXPECT_EQ(saved.size(), 14u + 40u + 1024u + 8u);

  dib->SetPalette({});
  EXPECT_EQ(dib->InternalDIB().Dib().Header.ClrUsed, 0u);
  EXPECT_TRUE(dib->GetPalette().empty());
}

TEST(VxDIB, BitmapsAreCopiedRowForRowWithTheirPalettes) {
  Bitmap eight(3, 2, PixelFormat::Bit8);
  eight.SetPalette({{1, 2, 3, 0}, {4, 5, 6, 0}});
  eight.SetPixelValue(2, 0, 1);  // top right
  TVxDIB dib;
  dib.Assign(&eight);
  EXPECT_EQ(dib.BitCount(), 8);
  EXPECT_EQ(dib.InternalDIB().Dib().Header.Height, 2);
  EXPECT_EQ(dib.InternalDIB().Dib().Header.ClrUsed, 256u);
  EXPECT_EQ(test::ColorOf(dib, 2, 0), RgbColor(4, 5, 6));
  EXPECT_EQ(test::ColorOf(dib, 0, 1), RgbColor(1, 2, 3));

  Bitmap grey(2, 1, PixelFormat::Bit1);  // no palette: shown as black and white
  grey.SetPixelValue(1, 0, 1);
  dib.Assign(&grey);
  EXPECT_EQ(test::ColorOf(dib, 1, 0), RgbColor(255, 255, 255));

  for (PixelFormat format : {PixelFormat::Bit15, PixelFormat::Bit16, PixelFormat::Bit32, PixelFormat::Bit24}) {
    Bitmap colour(2, 2, format);
    colour.SetPixelColor(1, 0, RgbColor(255, 0, 255));
    dib.Assign(&colour);
    EXPECT_EQ(dib.BitCount(), 24);
    EXPECT_EQ(dib.InternalDIB().Dib().Header.ClrUsed, 0u);
    EXPECT_EQ(test::ColorOf(dib, 1, 0), RgbColor(255, 0, 255)) << static_cast<int>(format);
    EXPECT_EQ(test::ColorOf(dib, 0, 1), 0);
  }

  Bitmap empty;
  EXPECT_THROW(dib.Assign(&empty), EVxDIBInvalidDIBPara);
  EXPECT_EQ(dib.BitCount(), 24);
}

TEST(VxDIB, BitmapsTakeEveryPixelFormatBack) {
  auto source = test::LoadDib(test::BmpOf(4, 3, 2, {{0, 0, 0}, {200, 100, 50}}, {0, 1, 0, 1, 1, 0}));
  for (DibPixelFormat format : {DibPixelFormat::Bit1, DibPixelFormat::Bit4, DibPixelFormat::Bit8, DibPixelFormat::Bit24}) {
    TVxDIB dib;
    dib.Assign(source.get());
    dib.SetMaskColor(RgbColor(200, 100, 50));
    if (format != DibPixelFormat::Bit4) dib.SetPixelFormat(format);
    Bitmap bitmap;
    bitmap.Assign(&dib);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 2);
    const Color bright = format == DibPixelFormat::Bit1 ? RgbColor(255, 255, 255) : RgbColor(200, 100, 50);
    EXPECT_EQ(bitmap.PixelColor(1, 0), bright) << static_cast<int>(format);
    EXPECT_EQ(bitmap.PixelColor(2, 0), 0);
    EXPECT_EQ(bitmap.PixelColor(0, 1), bright);
  }

  // Run-length pictures are decoded on the way.
  test::BmpBuilder rle;
  rle.Width = 4;
  rle.Height = 2;
  rle.Compression = 1;
  rle.Colors = test::GreyColors(256);
  rle.Pixels = {0x04, 0x07, 0x00, 0x00, 0x04, 0x09, 0x00, 0x01};
  auto encoded = test::LoadDib(rle.Build());
  Bitmap bitmap;
  bitmap.Assign(encoded.get());
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bit8);
  EXPECT_EQ(bitmap.PixelValue(0, 0), 9u);
  EXPECT_EQ(bitmap.PixelValue(3, 1), 7u);
}

TEST(VxDIB, ForeignGraphicsCannotBeAssigned) {
  TVxDIB dib;
  ForeignGraphic foreign;
  EXPECT_EQ(ErrorMessage<EAssignError>([&] { dib.Assign(&foreign); }), "Cannot assign a TForeign to a TVxDIB");
  EXPECT_EQ(ErrorMessage<EAssignError>([&] { foreign.Assign(&dib); }), "Cannot assign a TVxDIB to a TForeign");
}

TEST(VxDIB, ClipboardBlocksCarryHeaderTableAndPixels) {
  auto dib = EightBitDib();
  std::uint16_t format = 0;
  MemoryBlock block;
  Palette palette{{1, 1, 1, 0}};
  dib->SaveToClipboardFormat(format, block, palette);
  EXPECT_EQ(format, CF_DIB);
  EXPECT_TRUE(palette.empty());
  EXPECT_EQ(block.size(), 40u + 12u + 8u);

  TVxDIB back;
  back.LoadFromClipboardFormat(CF_DIB, &block, {});
  EXPECT_EQ(test::SaveDib(back), test::SaveDib(*dib));

  EXPECT_EQ(ErrorMessage<EInvalidGraphic>([&] { back.LoadFromClipboardFormat(2, &block, {}); }),
            "TVxDIB.LoadFromClipboardFormat: Invalid Clipboard Format or No Data");
  EXPECT_EQ(ErrorMessage<EInvalidGraphic>([&] { back.LoadFromClipboardFormat(CF_DIB, nullptr, {}); }),
            "TVxDIB.LoadFromClipboardFormat: Invalid Clipboard Format or No Data");
}

TEST(VxDIB, ClipboardBlocksAreCheckedLikeFiles) {
  // An 8-bit block with colours used 0 holds the whole table and says so afterwards.
  Bytes file = test::BmpOf(8, 2, 1, test::GreyColors(256), {5, 250});
  file[14 + 33] = 0;  // colours used 256 becomes 0, the full table still behind it
  MemoryBlock block(file.begin() + 14, file.end());
  TVxDIB dib;
  dib.LoadFromClipboardFormat(CF_DIB, &block, {});
  EXPECT_EQ(dib.InternalDIB().Dib().Header.ClrUsed, 256u);
  EXPECT_EQ(test::ColorOf(dib, 1, 0), RgbColor(250, 250, 250));
  EXPECT_EQ(test::LoadDib(test::SaveDib(dib))->Width(), 2);

  auto refuse = [&](MemoryBlock bad) {
    return ErrorMessage<Exception>([&] { dib.LoadFromClipboardFormat(CF_DIB, &bad, {}); });
  };
  EXPECT_EQ(refuse(MemoryBlock(block.begin(), block.begin() + 3)), "TVxDIB.LoadFromClipboardFormat: Invalid Clipboard Data");
  EXPECT_EQ(refuse(MemoryBlock(block.begin(), block.begin() + 500)), "TVxDIB.LoadFromClipboardFormat: Invalid Clipboard Data");
  EXPECT_EQ(refuse(MemoryBlock(block.begin(), block.end() - 1)), "TVxInternalDIB.LoadFromStream: Invalid Width or Height");
  MemoryBlock wrongSize = block;
  wrongSize[0] = 108;
  EXPECT_EQ(refuse(wrongSize), "TVxDIB.LoadFromClipboardFormat: Invalid Clipboard Data");
  MemoryBlock twoBits = block;
  twoBits[14] = 2;
  EXPECT_EQ(refuse(twoBits), "TVxInternalDIB.LoadFromClipboardFormat: Invalid biBitCount");
  MemoryBlock noWidth = block;
  noWidth[4] = 0;
  EXPECT_EQ(refuse(noWidth), "TVxInternalDIB.LoadFromStream: Invalid Width or Height");
  EXPECT_EQ(dib.Width(), 2);

  // A core header and 16-bit pixels.
  MemoryBlock core = {12, 0, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 9, 8, 7, 0x80, 0, 0, 0};
  dib.LoadFromClipboardFormat(CF_DIB, &core, {});
  EXPECT_EQ(test::ColorOf(dib, 0, 0), RgbColor(7, 8, 9));
  MemoryBlock sixteen(40, 0);
  sixteen[0] = 40, sixteen[4] = 1, sixteen[8] = 1, sixteen[12] = 1, sixteen[14] = 16;
  sixteen.insert(sixteen.end(), {0xE0, 0x03, 0, 0});
  dib.LoadFromClipboardFormat(CF_DIB, &sixteen, {});
  EXPECT_EQ(test::ColorOf(dib, 0, 0), RgbColor(0, 255, 0));
}

TEST(VxDIB, ClipboardMutationsFailCleanly) {
  SetDefaultUseFMO(false);
  Bytes file = test::BmpOf(4, 5, 3, test::GreyColors(16), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
  const MemoryBlock block(file.begin() + 14, file.end());
  auto tryLoad = [](const MemoryBlock& candidate) {
    TVxDIB dib;
    try {
      dib.LoadFromClipboardFormat(CF_DIB, &candidate, {});
      test::SaveDib(dib);
    } catch (const EVxDIBError&) {
    } catch (const EOutOfMemory&) {
    }
  };
  for (std::size_t length = 0; length < block.size(); ++length) tryLoad(MemoryBlock(block.begin(), block.begin() + length));
  for (std::size_t at = 0; at < block.size(); ++at) {
    for (int bit = 0; bit < 8; ++bit) {
      MemoryBlock mutated = block;
      mutated[at] ^= static_cast<std::uint8_t>(1 << bit);
      tryLoad(mutated);
    }
  }
  SetDefaultUseFMO(true);
}

TEST(VxDIB, TheClipboardIsAnAssignmentSourceAndTarget) {
  auto dib = EightBitDib();
  Clipboard& clipboard = TheClipboard();
  clipboard.Assign(dib.get());
  EXPECT_TRUE(clipboard.HasFormat(CF_DIB));
  EXPECT_EQ(ClipboardFormatClass(CF_DIB), "TVxDIB");

  TVxDIB copy;
  copy.Assign(&clipboard);
  EXPECT_EQ(test::SaveDib(copy), test::SaveDib(*dib));
  EXPECT_FALSE(clipboard.IsOpen());

  clipboard.Clear();
  EXPECT_THROW(copy.Assign(&clipboard), EInvalidGraphic);
  EXPECT_FALSE(clipboard.IsOpen());  // closed on failure too
  EXPECT_EQ(copy.Width(), 3);
}

TEST(VxDIB, RegisteredForDibFiles) {
  std::optional<PictureFormat> format = FindPictureFormat(".DIB");
  ASSERT_TRUE(format.has_value());
  EXPECT_EQ(format->Extension, "dib");
  EXPECT_EQ(format->Description, "Device Independent Bitmap");
  EXPECT_EQ(format->ClassName, "TVxDIB");
  std::unique_ptr<Graphic> graphic = CreateGraphicForFile("picture.dib");
  ASSERT_NE(graphic, nullptr);
  EXPECT_STREQ(graphic->ClassName(), "TVxDIB");
  EXPECT_NE(CreateGraphicForClipboardFormat(CF_DIB), nullptr);
}

TEST(VxDIB, FilesAreReadAndWrittenThroughStreams) {
  test::TempDir dir;
  auto dib = EightBitDib();
  const ByteString path = dir.Engine() + "out\\a.bmp";
  ForceDirectories(dir.Engine() + "out");
  dib->SaveToFile(path, dir.Engine());
  TVxDIB back;
  back.LoadFromFile(path);
  EXPECT_EQ(test::SaveDib(back), test::SaveDib(*dib));
  EXPECT_THROW(back.LoadFromFile(dir.Engine() + "missing.bmp"), EFOpenError);
  EXPECT_THROW(dib->SaveToFile(dir.Engine() + "b.bmp", dir.Engine() + "out\\"), EFCreateError);
}

}  // namespace
}  // namespace quorvex
