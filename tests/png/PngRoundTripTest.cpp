// Every source format, grey or colour, interlaced or not, with every filter
// mode and odd sizes: the written PNG passes pngcheck and libpng decodes it
// to exactly the source's pixels.

#include <gtest/gtest.h>

#include <sstream>

#include "png/QelPNGStream.h"
#include "support/BitmapBuilder.h"
#include "support/PngOracle.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::DecodedPng;

int Luma(Color c) { return ((c & 0xFF) * 77 + ((c >> 8) & 0xFF) * 150 + ((c >> 16) & 0xFF) * 29) >> 8; }

Color EntryColor(const Palette& p, std::uint32_t i) { return p[i].Red | (p[i].Green << 8) | (p[i].Blue << 16); }

struct Options {
  bool grey = false;
  int interlace = 0;
  int filter = kFilterNone;
  const Bitmap* alpha = nullptr;
};

Bytes Encode(Bitmap& source, const Options& o) {
  TQelPNGWriteStream writer;
  writer.GrayScale = o.grey;
  writer.Interlace = o.interlace;
  writer.FilterMode = o.filter;
  writer.AlphaBitmap = o.alpha;
  MemoryStream out;
  writer.SaveBitmap(source, out);
  return out.Bytes();
}

// The samples a pixel of `source` must decode to, channel by channel.
std::vector<int> ExpectedSamples(const Bitmap& source, const Options& o, bool alphaUsed, int x, int y) {
  std::vector<int> samples;
  const int bits = PixelFormatToBits(source.Format());
  const std::uint32_t value = source.PixelValue(x, y);
  if (bits <= 8) {
    Palette p = source.GetPalette();
    if (p.empty()) p = GreyRampPalette(bits);
    if (!o.grey) {
      samples.push_back(static_cast<int>(value));
    } else if (bits == 1) {
      bool invert = Luma(EntryColor(p, 0)) > Luma(EntryColor(p, 1));
      samples.push_back(static_cast<int>(value) ^ (invert ? 1 : 0));
    } else {
      int level = Luma(EntryColor(p, value));
      samples.push_back(bits == 4 ? level >> 4 : level);
    }
  } else {
    Color c = source.PixelColor(x, y);
    if (o.grey) {
      samples.push_back(Luma(c));
    } else {
      samples.insert(samples.end(), {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF});
    }
  }
  if (alphaUsed) samples.push_back(255 - static_cast<int>(o.alpha->PixelValue(x, y)));
  return samples;
}

// Checks one encoded image against its source; returns a failure text or "".
std::string Compare(const Bitmap& source, const Options& o, const Bytes& png) {
  DecodedPng d = test::DecodeWithLibpng(png);
  if (!d.Ok) return "libpng: " + d.Error;
  const int bits = PixelFormatToBits(source.Format());
  const bool alphaUsed = o.alpha != nullptr && (bits > 8 || (o.grey && bits == 8));
  int colourType = o.grey ? (alphaUsed ? 4 : 0) : bits <= 8 ? 3 : (alphaUsed ? 6 : 2);
  int depth = bits <= 8 ? bits : 8;
  std::ostringstream error;
  if (d.Width != static_cast<std::uint32_t>(source.Width()) || d.Height != static_cast<std::uint32_t>(source.Height()) ||
      d.ColorType != colourType || d.BitDepth != depth || d.Interlace != o.interlace) {
    error << "header " << d.Width << "x" << d.Height << " type " << d.ColorType << " depth " << d.BitDepth;
    return error.str();
  }
  if (colourType == 3) {
    Palette expected = source.GetPalette();
    if (expected.empty()) expected = GreyRampPalette(bits);
    if (d.Plte != expected) return "PLTE differs";
  }
  for (int y = 0; y < source.Height(); ++y) {
    for (int x = 0; x < source.Width(); ++x) {
      std::vector<int> want = ExpectedSamples(source, o, alphaUsed, x, y);
      for (std::size_t c = 0; c < want.size(); ++c) {
        int got = d.Sample(x, y, static_cast<int>(c));
        if (got != want[c]) {
          error << "pixel " << x << "," << y << " channel " << c << ": " << got << " instead of " << want[c];
          return error.str();
        }
      }
    }
  }
  return "";
}

// Encodes, compares and keeps the file for one pngcheck run over all of them.
class RoundTrip {
 public:
  void Check(Bitmap& source, const Options& o, const std::string& name) {
    Bytes png = Encode(source, o);
    std::string failure = Compare(source, o, png);
    EXPECT_EQ(failure, "") << name;
    std::string file = name + ".png";
    dir_.Write(file, std::string(png.begin(), png.end()));
    paths_.push_back(dir_.Native() + "/" + file);
  }
  ~RoundTrip() {
    if (paths_.empty()) return;
    test::ToolResult check = test::RunPngcheck(paths_);
    EXPECT_EQ(check.Status, 0) << check.Output.substr(0, 4000);
  }

 private:
  test::TempDir dir_;
  std::vector<std::string> paths_;
};

std::string CaseName(PixelFormat f, int w, int h, const Options& o) {
  std::ostringstream name;
  name << "f" << test::FormatName(f) << "_" << w << "x" << h << (o.grey ? "_grey" : "_colour") << "_i" << o.interlace
       << "_m" << o.filter << (o.alpha ? "_alpha" : "");
  return name.str();
}

TEST(PngRoundTrip, EveryFormatGreyInterlaceAndFilterMode) {
  RoundTrip roundTrip;
  std::uint32_t seed = 1;
  for (PixelFormat format : test::kAllPixelFormats) {
    auto source = test::NoiseBitmap(format, 13, 11, seed++);
    for (bool grey : {false, true}) {
      for (int interlace : {0, 1}) {
        for (int filter = 0; filter <= 5; ++filter) {
          Options o{grey, interlace, filter, nullptr};
          roundTrip.Check(*source, o, CaseName(format, 13, 11, o));
        }
      }
    }
  }
}

TEST(PngRoundTrip, OddSizes) {
  RoundTrip roundTrip;
  const std::pair<int, int> sizes[] = {{1, 1}, {1, 9}, {9, 1}, {3, 5}, {17, 3}, {6, 6}, {31, 2}};
  std::uint32_t seed = 100;
  for (auto [w, h] : sizes) {
    for (PixelFormat format : test::kAllPixelFormats) {
      auto source = test::NoiseBitmap(format, w, h, seed++);
      for (bool grey : {false, true}) {
        for (int interlace : {0, 1}) {
          for (int filter : {0, 1, 5}) {
            Options o{grey, interlace, filter, nullptr};
            roundTrip.Check(*source, o, CaseName(format, w, h, o));
          }
        }
      }
    }
  }
}

TEST(PngRoundTrip, AlphaBitmapGivesTransparency) {
  RoundTrip roundTrip;
  auto alpha = test::NoiseBitmap(PixelFormat::Bit8, 11, 7, 55);
  std::uint32_t seed = 300;
  for (PixelFormat format : test::kAllPixelFormats) {
    auto source = test::NoiseBitmap(format, 11, 7, seed++);
    for (bool grey : {false, true}) {
      for (int interlace : {0, 1}) {
        Options o{grey, interlace, kFilterAdaptive, alpha.get()};
        roundTrip.Check(*source, o, CaseName(format, 11, 7, o));
      }
    }
  }
}

TEST(PngRoundTrip, PaletteBitmapsWithoutPaletteEntriesGetAGreyRamp) {
  RoundTrip roundTrip;
  for (PixelFormat format : {PixelFormat::Bit1, PixelFormat::Bit4, PixelFormat::Bit8}) {
    auto source = test::NoiseBitmap(format, 9, 4, 7);
    source->SetPalette({});
    for (bool grey : {false, true}) {
      Options o{grey, 0, kFilterNone, nullptr};
      roundTrip.Check(*source, o, CaseName(format, 9, 4, o) + "_noplte");
    }
    Bytes png = Encode(*source, {});
    std::vector<test::PngChunk> chunks = test::ParseChunks(png);
    const test::PngChunk* plte = test::FindChunk(chunks, "PLTE");
    ASSERT_NE(plte, nullptr);
    int entries = 1 << PixelFormatToBits(format);
    EXPECT_EQ(plte->Data.size(), static_cast<std::size_t>(3 * entries));
    EXPECT_EQ(plte->Data[3 * entries - 1], 255);
  }
}

}  // namespace
}  // namespace quorvex
