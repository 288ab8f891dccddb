// Files libpng writes in every colour type and bit depth, interlaced or not,
// with odd sizes, short palettes and every kind of transparency: TQelPNG
// loads each to exactly the samples libpng was given, and saving through our
// writer and loading again keeps pixels and colours.

#include <gtest/gtest.h>

#include <sstream>

#include "png/QelPNG.h"
#include "support/BitmapBuilder.h"
#include "support/PngFiles.h"

namespace quorvex {
namespace {

std::unique_ptr<TQelPNG> Load(const std::vector<std::uint8_t>& file) {
  auto png = std::make_unique<TQelPNG>();
  MemoryStream stream(file);
  png->LoadFromStream(stream);
  return png;
}

// A sample as the 8-bit level the target shows: low depths spread over 0..255, 16 bits cut to the high byte.
int Level(int sample, int depth) { return depth < 8 ? sample * 255 / ((1 << depth) - 1) : sample >> (depth - 8); }

// What the loaded graphic should hold for pixel (x, y): its colour (palette
// images: its index) and its transparency byte (255 - alpha).
std::pair<std::uint32_t, int> Expected(const test::ReferencePng& ref, int x, int y) {
  const int d = ref.BitDepth, s = ref.Sample(x, y, 0);
  if (ref.ColorType == 3) {
    int alpha = static_cast<std::size_t>(s) < ref.Transparency.size() ? ref.Transparency[s] : 255;
    return {static_cast<std::uint32_t>(s), 255 - alpha};
  }
  if (ref.ColorType == 0 || ref.ColorType == 4) {
    return {Level(s, d) * 0x010101u, ref.ColorType == 4 ? 255 - Level(ref.Sample(x, y, 1), d) : 0};
  }
  std::uint32_t rgb = Level(s, d) | Level(ref.Sample(x, y, 1), d) << 8 | Level(ref.Sample(x, y, 2), d) << 16;
  return {rgb, ref.ColorType == 6 ? 255 - Level(ref.Sample(x, y, 3), d) : 0};
}

// Compares the loaded graphic with the reference; returns what differs, or "".
std::string Compare(const test::ReferencePng& ref, const TQelPNG& png) {
  const Bitmap& image = png.Image();
  const int d = ref.BitDepth;
  PixelFormat format = ref.ColorType == 2 || ref.ColorType == 6 ? PixelFormat::Bit24
                       : d == 1                                 ? PixelFormat::Bit1
                       : d <= 4                                 ? PixelFormat::Bit4
                                                                : PixelFormat::Bit8;
  if (image.Width() != static_cast<int>(ref.Width) || image.Height() != static_cast<int>(ref.Height) ||
      image.Format() != format || png.Interlace != ref.Interlace) {
    return "header";
  }
  const bool partialPalette = ref.ColorType == 3 && !ref.Transparency.empty() && png.TransparentColor == kNoColor;
  if (png.HasAlpha != ((ref.ColorType & 4) || partialPalette) || png.Alpha().Empty() == png.HasAlpha) return "alpha";
  if (ref.ColorType == 3 && image.GetPalette() != ref.Plte) return "palette";
  for (int y = 0; y < static_cast<int>(ref.Height); ++y) {
    for (int x = 0; x < static_cast<int>(ref.Width); ++x) {
      auto [value, alpha] = Expected(ref, x, y);
      bool ok = (ref.ColorType == 3 ? image.PixelValue(x, y) : static_cast<std::uint32_t>(image.PixelColor(x, y))) == value;
      if (!ok || (png.HasAlpha && png.Alpha().PixelValue(x, y) != static_cast<std::uint32_t>(alpha))) {
        std::ostringstream error;
        error << "pixel " << x << "," << y;
        return error.str();
      }
    }
  }
  return "";
}

TEST(PngReadOracle, EveryColourTypeDepthInterlaceAndTransparency) {
  const int kinds[][2] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                          {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
  const std::uint32_t sizes[][2] = {{1, 1}, {5, 3}, {17, 9}};
  std::uint32_t seed = 1;
  for (const auto& [type, depth] : kinds) {
    for (int interlace : {0, 1}) {
      for (const auto& size : sizes) {
        // Transparency: none; a tRNS colour or a single clear palette index; partial palette alphas.
        for (int variant = 0; variant < (type == 3 ? 3 : (type & 4) ? 1 : 2); ++variant) {
          const int top = (1 << depth) - 1;
          // Palettes shorter than the depth could index, except for 1 bit.
          Palette plte = type == 3 ? test::NoisePalette(depth == 1 ? 2 : (top + 1) * 3 / 4, seed) : Palette{};
          test::ReferencePng ref(size[0], size[1], depth, type, interlace, ++seed, plte);
          if (variant == 1) ref.Transparency = type == 3 ? std::vector<int>{255, 0} : std::vector<int>{top / 3, top, top / 2};
          if (variant == 1 && type == 0) ref.Transparency.resize(1);
          if (variant == 2) ref.Transparency = {40, 255};

          std::ostringstream name;
          name << "type " << type << " depth " << depth << " interlace " << interlace << " " << size[0] << "x"
               << size[1] << " variant " << variant;
          auto png = Load(ref.Write());
          ASSERT_EQ(Compare(ref, *png), "") << name.str();
          EXPECT_EQ(png->GrayScale, type == 0 || type == 4) << name.str();
          ColorRef transparent = kNoColor;
          if (variant == 1) {
            transparent = type == 3   ? kPaletteIndexMark + 1
                          : type == 0 ? Level(top / 3, depth) * 0x010101
                                      : Level(top / 3, depth) | Level(top, depth) << 8 | Level(top / 2, depth) << 16;
          }
          EXPECT_EQ(png->TransparentColor, transparent) << name.str();
          EXPECT_EQ(png->Image().Transparent(), transparent != kNoColor) << name.str();
          if (transparent != kNoColor) {
            EXPECT_EQ(png->Image().TransparentColor(), transparent) << name.str();
          }

          MemoryStream saved;
          png->SaveToStream(saved);
          auto again = Load(saved.Bytes());
          EXPECT_EQ(again->TransparentColor, png->TransparentColor) << name.str();
          for (int y = 0; y < png->Height(); ++y) {
            for (int x = 0; x < png->Width(); ++x) {
              ASSERT_EQ(again->Image().PixelColor(x, y), png->Image().PixelColor(x, y)) << name.str();
              if (type & 4) {
                ASSERT_EQ(again->Alpha().PixelValue(x, y), png->Alpha().PixelValue(x, y)) << name.str();
              }
            }
          }
        }
      }
    }
  }
}

// Pictures whose rows run across the inflater's 32 KiB block ahead, with
// their image data in chunks of down to 6 bytes: still the samples libpng
// was given.
TEST(PngReadOracle, LargePicturesInTinyImageDataChunks) {
  struct Kind {
    int type, depth, interlace;
    std::uint32_t width, height;
  };
  const Kind kinds[] = {{0, 2, 0, 1601, 150}, {2, 8, 1, 1111, 30}, {6, 16, 0, 301, 40}};
  std::uint32_t seed = 100;
  for (const Kind& k : kinds) {
    test::ReferencePng ref(k.width, k.height, k.depth, k.type, k.interlace, ++seed);
    for (std::size_t chunk : {6, 777}) {
      ref.ImageDataChunk = chunk;
      ASSERT_EQ(Compare(ref, *Load(ref.Write())), "")
          << "type " << k.type << " depth " << k.depth << " chunks of " << chunk;
    }
  }
}

}  // namespace
}  // namespace quorvex
