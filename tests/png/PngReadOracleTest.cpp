// Files libpng writes in every colour type and bit depth, interlaced or not,
// with odd sizes, short palettes and every kind of transparency: TQelPNG
// loads each to exactly the samples libpng was given, and saving through our
// writer and loading again keeps pixels and colours.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "png/QelPNG.h"
#include "support/BitmapBuilder.h"
#include "support/PngFiles.h"
#include "support/PngOracle.h"

namespace quorvex {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::ReferencePng;

std::unique_ptr<TQelPNG> Load(const Bytes& file) {
  auto png = std::make_unique<TQelPNG>();
  MemoryStream stream(file);
  png->LoadFromStream(stream);
  return png;
}

// A sample as the 8-bit value the target shows: low depths spread over
// 0..255, 16 bits cut to their high byte.
int Level(int sample, int depth) {
  if (depth < 8) return sample * 255 / ((1 << depth) - 1);
  return depth == 16 ? sample >> 8 : sample;
}

Color Grey(int level) { return level * 0x010101; }

PixelFormat ExpectedFormat(int colorType, int depth) {
  if (colorType == 2 || colorType == 6) return PixelFormat::Bit24;
  if (depth == 1) return PixelFormat::Bit1;
  return depth <= 4 ? PixelFormat::Bit4 : PixelFormat::Bit8;
}

// Compares the loaded graphic with the reference; returns what differs, or "".
std::string Compare(const ReferencePng& ref, const TQelPNG& png) {
  std::ostringstream error;
  const Bitmap& image = png.Image();
  if (image.Width() != static_cast<int>(ref.Width) || image.Height() != static_cast<int>(ref.Height) ||
      image.Format() != ExpectedFormat(ref.ColorType, ref.BitDepth)) {
    return "size or format";
  }
  const bool alphaChannel = ref.ColorType & 4;
  const bool partialPalette = !ref.PaletteAlpha.empty() && png.TransparentColor == kNoColor;
  if (png.HasAlpha != (alphaChannel || partialPalette) || png.Alpha().Empty() == png.HasAlpha) return "alpha presence";
  if (ref.ColorType == 3) {
    Palette expected = ref.Plte;
    if (expected.size() > (1u << image.BitsPerPixel())) expected.resize(1u << image.BitsPerPixel());
    if (image.GetPalette() != expected) return "palette";
  }
  for (int y = 0; y < static_cast<int>(ref.Height); ++y) {
    for (int x = 0; x < static_cast<int>(ref.Width); ++x) {
      int s0 = test::SampleAt(ref, x, y, 0), d = ref.BitDepth;
      bool ok = true;
      int alpha = 255;
      if (ref.ColorType == 3) {
        ok = image.PixelValue(x, y) == static_cast<std::uint32_t>(s0);
        if (static_cast<std::size_t>(s0) < ref.PaletteAlpha.size()) alpha = ref.PaletteAlpha[s0];
      } else if (ref.ColorType == 0 || ref.ColorType == 4) {
        ok = image.PixelColor(x, y) == Grey(Level(s0, d));
        if (alphaChannel) alpha = Level(test::SampleAt(ref, x, y, 1), d);
      } else {
        Color rgb = Level(s0, d) | Level(test::SampleAt(ref, x, y, 1), d) << 8 |
                    Level(test::SampleAt(ref, x, y, 2), d) << 16;
        ok = image.PixelColor(x, y) == rgb;
        if (alphaChannel) alpha = Level(test::SampleAt(ref, x, y, 3), d);
      }
      if (ok && png.HasAlpha) ok = png.Alpha().PixelValue(x, y) == static_cast<std::uint32_t>(255 - alpha);
      if (!ok) {
        error << "pixel " << x << "," << y;
        return error.str();
      }
    }
  }
  return "";
}

struct TypeAndDepth {
  int colorType, depth;
};

constexpr TypeAndDepth kEveryKind[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                                       {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

// The reference for one kind, size and transparency variant (0 none, 1 a
// tRNS colour or a single clear palette index, 2 partial palette alphas).
ReferencePng Reference(TypeAndDepth kind, int interlace, std::uint32_t width, std::uint32_t height, int variant,
                       std::uint32_t seed) {
  ReferencePng ref;
  ref.Width = width, ref.Height = height, ref.BitDepth = kind.depth, ref.ColorType = kind.colorType;
  ref.Interlace = interlace;
  const int top = (1 << kind.depth) - 1;
  if (kind.colorType == 3) {
    // Fewer entries than the depth can index, except where that leaves one.
    ref.Plte = test::NoisePalette(kind.depth == 1 ? 2 : (top + 1) * 3 / 4, seed);
    if (variant == 1) ref.PaletteAlpha = {255, 0};
    if (variant == 2) ref.PaletteAlpha = {40, 255, 0, 128};
    if (ref.PaletteAlpha.size() > ref.Plte.size()) ref.PaletteAlpha.resize(ref.Plte.size());
    ref.BackgroundIndex = 1;
  } else if (kind.colorType == 0) {
    if (variant) ref.TransparentGrey = top / 3;
    ref.BackgroundGrey = top;
  } else if (kind.colorType == 2) {
    if (variant) ref.TransparentRgb[0] = top / 2, ref.TransparentRgb[1] = top / 3, ref.TransparentRgb[2] = top;
    ref.BackgroundRgb[0] = top / 5, ref.BackgroundRgb[1] = top, ref.BackgroundRgb[2] = 0;
  }
  test::FillNoise(ref, seed);
  return ref;
}

TEST(PngReadOracle, EveryColourTypeDepthInterlaceAndTransparency) {
  const std::uint32_t sizes[][2] = {{1, 1}, {5, 3}, {17, 9}};
  std::uint32_t seed = 1;
  for (TypeAndDepth kind : kEveryKind) {
    for (int interlace : {0, 1}) {
      for (const auto& size : sizes) {
        for (int variant : {0, 1, 2}) {
          if (variant == 2 && kind.colorType != 3) continue;
          ReferencePng ref = Reference(kind, interlace, size[0], size[1], variant, ++seed);
          std::ostringstream name;
          name << "type " << kind.colorType << " depth " << kind.depth << " interlace " << interlace << " "
               << size[0] << "x" << size[1] << " variant " << variant;
          auto png = Load(test::WriteWithLibpng(ref));
          ASSERT_EQ(Compare(ref, *png), "") << name.str();
          EXPECT_EQ(png->Interlace, interlace) << name.str();
          EXPECT_EQ(png->GrayScale, kind.colorType == 0 || kind.colorType == 4) << name.str();

          const int top = (1 << kind.depth) - 1, d = kind.depth;
          ColorRef background = kind.colorType == 3   ? kPaletteIndexMark + 1
                                : kind.colorType == 0 ? Grey(Level(top, d))
                                : kind.colorType == 2 ? Level(top / 5, d) | Level(top, d) << 8
                                                      : kNoColor;
          EXPECT_EQ(png->BackgroundColor, background) << name.str();
          ColorRef transparent = kNoColor;
          if (variant == 1 && kind.colorType == 3) transparent = kPaletteIndexMark + 1;
          if (variant == 1 && kind.colorType == 0) transparent = Grey(Level(top / 3, d));
          if (variant == 1 && kind.colorType == 2) {
            transparent = Level(top / 2, d) | Level(top / 3, d) << 8 | Level(top, d) << 16;
          }
          EXPECT_EQ(png->TransparentColor, transparent) << name.str();
          EXPECT_EQ(png->Image().Transparent(), transparent != kNoColor) << name.str();
          if (transparent != kNoColor) {
            EXPECT_EQ(png->Image().TransparentColor(), transparent) << name.str();
          }

          // Our writer and reader keep what was loaded.
          MemoryStream saved;
          png->SaveToStream(saved);
          auto again = Load(saved.Bytes());
          EXPECT_EQ(again->Image().Format(), png->Image().Format()) << name.str();
          EXPECT_EQ(again->TransparentColor, png->TransparentColor) << name.str();
          EXPECT_EQ(again->BackgroundColor, png->BackgroundColor) << name.str();
          for (int y = 0; y < png->Height(); ++y) {
            for (int x = 0; x < png->Width(); ++x) {
              ASSERT_EQ(again->Image().PixelColor(x, y), png->Image().PixelColor(x, y)) << name.str();
              if (kind.colorType & 4) {
                ASSERT_EQ(again->Alpha().PixelValue(x, y), png->Alpha().PixelValue(x, y));
              }
            }
          }
        }
      }
    }
  }
}

TEST(PngReadOracle, ImageDataInManySmallChunksAndComments) {
  ReferencePng ref = Reference({2, 8}, 1, 33, 21, 0, 77);
  ref.IdatSize = 64;
  ref.Comments = {"first", "second"};
  Bytes file = test::WriteWithLibpng(ref);
  std::vector<std::string> types = test::ChunkTypes(test::ParseChunks(file));
  ASSERT_GT(std::count(types.begin(), types.end(), "IDAT"), 5);
  auto png = Load(file);
  EXPECT_EQ(Compare(ref, *png), "");
  EXPECT_EQ(png->Comment, "first\r\nsecond\r\n");
}

}  // namespace
}  // namespace quorvex
