#include "png/QelPNGReadStream.h"

#include <gtest/gtest.h>

#include "png/QelPNG.h"
#include "support/BitmapBuilder.h"
#include "support/PngFiles.h"
#include "support/PngOracle.h"
#include "support/TestStreams.h"

namespace quorvex {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::Chunk;
using test::HeaderData;

// The rows of an 8-bit grey image whose pixel (x, y) is x * 16 + y, filter byte 0.
Bytes GreyRows(int width, int height) {
  Bytes raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < width; ++x) raw.push_back(static_cast<std::uint8_t>(x * 16 + y));
  }
  return raw;
}

Bytes GreyIdat(int width = 3, int height = 2) { return Chunk("IDAT", test::Compress(GreyRows(width, height))); }
Bytes GreyHeader(int width = 3, int height = 2) { return Chunk("IHDR", HeaderData(width, height, 8, 0)); }
const Bytes kEnd = Chunk("IEND", {});

// The message a load raises, or "" when it loads.
std::string LoadError(const Bytes& file, TQelPNG* png = nullptr) {
  TQelPNG local;
  MemoryStream stream(file);
  try {
    (png ? *png : local).LoadFromStream(stream);
  } catch (const EQelPNG& e) {
    return e.Message();
  }
  return "";
}

void ExpectGreyPixels(const Bitmap& image, int width, int height) {
  ASSERT_EQ(image.Width(), width);
  ASSERT_EQ(image.Height(), height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) EXPECT_EQ(image.PixelValue(x, y), static_cast<std::uint32_t>(x * 16 + y));
  }
}

TEST(QelPNGReadStream, ErrorsNameWhatIsWrong) {
  auto header = [](int depth, int type, int interlace = 0, int compression = 0, int filter = 0) {
    return test::PngOf({Chunk("IHDR", HeaderData(3, 2, depth, type, interlace, compression, filter)), GreyIdat(), kEnd});
  };
  const Bytes zlibJunk = Chunk("IDAT", {0x78, 0x9C, 0xFF, 0xFF, 0xFF, 0xFF});
  Bytes badFilter = GreyRows(3, 2);
  badFilter[0] = 5;
  Bytes cutData = test::Compress(GreyRows(3, 2));
  cutData.resize(cutData.size() / 2);

  const std::pair<Bytes, std::string> cases[] = {
      {{}, kErrNotPng},
      {{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, kErrNotPng},
      {test::PngOf({GreyHeader(), GreyHeader(), GreyIdat(), kEnd}), kErrTwoIHDR},
      {header(8, 1), kErrColorType},
      {header(8, 5), kErrColorType},
      {header(8, 7), kErrColorType},
      {header(8, 0, 0, 2), kErrCompression},
      {header(8, 0, 0, 0, 2), kErrFilter},
      {header(8, 0, 2), kErrInterlace},
      {header(3, 0), kErrGreyDepth},
      {header(2, 4), kErrAlphaDepth},
      {header(4, 2), kErrColourDepth},
      {header(16, 3), kErrColourDepth},
      {test::PngOf({Chunk("IHDR", HeaderData(0, 2, 8, 0)), GreyIdat(), kEnd}), kErrImageSize},
      {test::PngOf({Chunk("IHDR", HeaderData(3, 0x80000000u, 8, 0)), GreyIdat(), kEnd}), kErrImageSize},
      {test::PngOf({Chunk("IHDR", HeaderData(100000, 100000, 1, 0)), GreyIdat(), kEnd}), kErrImageTooLarge},
      {test::PngOf({GreyHeader(), zlibJunk, kEnd}), kErrReadImage},
      {test::PngOf({GreyHeader(), Chunk("IDAT", test::Compress(badFilter)), kEnd}), kErrReadImage},
      {test::PngOf({GreyHeader(), Chunk("IDAT", cutData), kEnd}), kErrReadImage},
      {test::PngOf({GreyHeader(), Chunk("IDAT", cutData), Chunk("tEXt", {'a', 0, 'b'}), kEnd}), kErrReadImage},
      // Without image data there is no picture, also when the data comes before the header.
      {test::PngOf({GreyHeader(), kEnd}), kErrReadImage},
      {test::PngOf({GreyHeader()}), kErrReadImage},
      {test::PngOf({GreyIdat(), GreyHeader(), kEnd}), kErrReadImage},
  };
  for (const auto& [file, message] : cases) EXPECT_EQ(LoadError(file), message) << message;
}

TEST(QelPNGReadStream, ImageDataOverSeveralChunksAndLateOrMissingChunks) {
  const Bytes data = test::Compress(GreyRows(5, 4));
  std::vector<Bytes> chunks = {GreyHeader(5, 4), Chunk("IDAT", {})};
  for (std::size_t i = 0; i < data.size(); i += 3) {
    chunks.push_back(Chunk("IDAT", Bytes(data.begin() + i, data.begin() + std::min(i + 3, data.size()))));
    chunks.push_back(Chunk("IDAT", {}));
  }
  // Transparency and background after the image data count for nothing; a
  // missing IEND ends the load quietly.
  chunks.push_back(Chunk("tRNS", {0, 1}));
  chunks.push_back(Chunk("bKGD", {0, 2}));
  TQelPNG png;
  ASSERT_EQ(LoadError(test::PngOf(chunks), &png), "");
  ExpectGreyPixels(png.Image(), 5, 4);
  EXPECT_EQ(png.TransparentColor, kNoColor);
  EXPECT_EQ(png.BackgroundColor, kNoColor);
  EXPECT_FALSE(png.Image().Transparent());
}

TEST(QelPNGReadStream, WithoutTargetOnlyTheChunksAreRead) {
  const Bytes file = test::PngOf({GreyHeader(7, 5), Chunk("gAMA", {0, 0, 0xB1, 0x8F}),
                                  Chunk("tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'i'}),
                                  Chunk("IDAT", {1, 2, 3}), Chunk("pHYs", {0, 0, 0, 2, 0, 0, 0, 3, 1}), kEnd});
  TQelPNGReadStream reader;
  MemoryStream stream(file);
  reader.LoadBitmap(nullptr, stream, 0);
  EXPECT_EQ(reader.Width, 7);
  EXPECT_EQ(reader.Height, 5);
  EXPECT_EQ(reader.Gamma, 0.45455);
  EXPECT_EQ(reader.Comment, "hi\r\n");
  EXPECT_EQ(reader.ChunkFlags(), kHeaderRead | kImageDone | kEndRead);
  EXPECT_EQ(reader.ResolutionUnit, 0) << "pHYs after the image data is not taken";
  EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(file.size()));
}

TEST(QelPNGReadStream, AFailedLoadLeavesTheGraphicAsItWas) {
  TQelPNG png;
  ASSERT_EQ(LoadError(test::PngOf({GreyHeader(), Chunk("tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'x'}),
                                   GreyIdat(), kEnd}),
                      &png),
            "");
  int changes = 0;
  png.SetOnChange([&](Graphic&) { ++changes; });
  Bytes cut = test::Compress(GreyRows(4, 4));
  cut.resize(cut.size() - 6);
  EXPECT_EQ(LoadError(test::PngOf({Chunk("IHDR", HeaderData(4, 4, 8, 2)), Chunk("IDAT", cut), kEnd}), &png),
            kErrReadImage);
  ExpectGreyPixels(png.Image(), 3, 2);
  EXPECT_EQ(png.Comment, "x\r\n");
  EXPECT_EQ(changes, 0);
}

TEST(QelPNGReadStream, KeyedRowsGoThroughTheRowHooks) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 9, 6);
  TQelPNG writer;
  writer.Assign(source.get());
  writer.Interlace = 1;
  writer.FilterMode = kFilterPaeth;
  writer.RowKey = "key";
  writer.OnWriteRow = [](TQelPNGWriteStream&, std::uint8_t* row, const ByteString&, std::int32_t index, std::int32_t n) {
    for (std::int32_t i = 0; i < n; ++i) row[i] ^= static_cast<std::uint8_t>(index + 1);
  };
  MemoryStream file;
  writer.SaveToStream(file);

  TQelPNG reader;
  reader.RowKey = "wrong";
  reader.OnRowKey = [](TQelPNGReadStream&, ByteString& key) { key = "key"; };
  reader.OnReadRow = [](TQelPNGReadStream&, std::uint8_t* row, const ByteString& key, std::int32_t index,
                        std::int32_t n) {
    ASSERT_EQ(key, "key");
    for (std::int32_t i = 0; i < n; ++i) row[i] ^= static_cast<std::uint8_t>(index + 1);
  };
  file.SetPosition(0);
  reader.LoadFromStream(file);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 9; ++x) ASSERT_EQ(reader.Image().PixelColor(x, y), source->PixelColor(x, y));
  }
}

TEST(QelPNGReadStream, ReducedRgbKeepsFiveSixFivePixels) {
  for (PixelFormat format : {PixelFormat::Bit16, PixelFormat::Bit15}) {
    auto source = test::NoiseBitmap(format, 6, 3);
    TQelPNG png;
    png.Assign(source.get());
    MemoryStream file;
    png.SaveToStream(file);
    TQelPNG reduced;
    reduced.ReducedRGB = true;
    file.SetPosition(0);
    reduced.LoadFromStream(file);
    ASSERT_EQ(reduced.Image().Format(), PixelFormat::Bit16);
    EXPECT_EQ(reduced.DecoderValue, format == PixelFormat::Bit16 ? 16 : 15);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 6; ++x) {
        Color c = source->PixelColor(x, y);
        std::uint32_t packed = ((c & 0xF8) << 8) | ((c >> 5) & 0x7E0) | ((c >> 19) & 0x1F);
        ASSERT_EQ(reduced.Image().PixelValue(x, y), packed);
      }
    }
  }
}

TEST(QelPNGReadStream, SavingALoadedFileKeepsItsValuesButNotItsTime) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 4, 4);
  TQelPNG first;
  first.Assign(source.get());
  first.Comment = "note";
  first.Gamma = 0.5;
  first.PhysUnit = 1, first.PhysX = 3779, first.PhysY = 2000;
  first.SignificantBits = 0x070605;
  first.BackgroundColor = 0x123456;
  first.TransparentColor = 0x010203;
  first.UseCurrentTime = false;
  first.StoredTime = {1999, 12, 31, 23, 59, 58};
  first.Chromaticity = {31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000};
  first.GifExtension = {1, 2, 3, 4};
  MemoryStream file;
  first.SaveToStream(file);

  TQelPNG loaded;
  file.SetPosition(0);
  loaded.LoadFromStream(file);
  EXPECT_EQ(loaded.Comment, "note\r\n");
  EXPECT_EQ(loaded.Gamma, 0.5);
  EXPECT_EQ(loaded.PhysUnit, 1);
  EXPECT_EQ(loaded.PhysX, 3779);
  EXPECT_EQ(loaded.PhysY, 2000);
  EXPECT_EQ(loaded.SignificantBits, 0x070605);
  EXPECT_EQ(loaded.BackgroundColor, 0x123456);
  EXPECT_EQ(loaded.TransparentColor, 0x010203);
  EXPECT_EQ(loaded.StoredTime, first.StoredTime);
  EXPECT_EQ(loaded.Chromaticity, first.Chromaticity);
  EXPECT_EQ(loaded.GifExtension, first.GifExtension);
  EXPECT_TRUE(loaded.UseCurrentTime);

  MemoryStream again;
  loaded.SaveToStream(again);
  std::vector<test::PngChunk> a = test::ParseChunks(file.Bytes()), b = test::ParseChunks(again.Bytes());
  ASSERT_EQ(test::ChunkTypes(a), test::ChunkTypes(b));
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].Type == "tIME") {
      EXPECT_EQ(test::BE16(b[i].Data, 0), CurrentUtcTime().Year);
    } else if (a[i].Type != "tEXt") {
      EXPECT_EQ(a[i].Data, b[i].Data) << a[i].Type;
    }
  }
}

TEST(QelPNGReadStream, PropertyStreamingAndTheLeadingBlock) {
  auto source = test::NoiseBitmap(PixelFormat::Bit8, 5, 5);
  TQelPNG png;
  png.Assign(source.get());
  MemoryStream data;
  png.WriteData(data);

  // A 128-byte block in front (as Macintosh files have) is passed over.
  Bytes withBlock(128, 0);
  withBlock.insert(withBlock.end(), data.Bytes().begin(), data.Bytes().end());
  TQelPNG loaded;
  Bitmap reference;
  loaded.ImageRef = &reference;
  test::PlainStream stream(withBlock);
  loaded.ReadData(stream);
  EXPECT_EQ(loaded.ImageRef, nullptr);
  EXPECT_TRUE(reference.Empty());
  EXPECT_EQ(loaded.Image().GetPalette(), source->GetPalette());
  EXPECT_EQ(loaded.Image().ScanLine(4)[4], source->ScanLine(4)[4]);

  loaded.SkipHeader = false;
  stream.SetPosition(0);
  EXPECT_THROW(loaded.LoadFromStream(stream), EQelPNG);

  TQelPNG empty;
  MemoryStream nothing;
  empty.WriteData(nothing);
  loaded.ReadData(nothing);
  EXPECT_TRUE(loaded.Empty());
}

// Every bit of a few valid files flipped, and every cut: the reader either
// raises EQelPNG or yields an image of the size its header claims.
TEST(QelPNGReadStream, AnyFlippedBitOrCutEndsInACleanErrorOrAnImage) {
  std::vector<Bytes> files;
  {
    auto source = test::NoiseBitmap(PixelFormat::Bit4, 9, 7);
    TQelPNG png;
    png.Assign(source.get());
    png.Interlace = 1, png.TransparentColor = kPaletteIndexMark + 3, png.BackgroundColor = 0x112233;
    png.Comment = "c";
    MemoryStream out;
    png.SaveToStream(out);
    files.push_back(out.Bytes());
  }
  test::ReferencePng rgba;
  rgba.Width = 5, rgba.Height = 4, rgba.BitDepth = 16, rgba.ColorType = 6, rgba.Interlace = 1, rgba.IdatSize = 32;
  test::FillNoise(rgba, 3);
  files.push_back(test::WriteWithLibpng(rgba));
  test::ReferencePng palette;
  palette.Width = 7, palette.Height = 3, palette.BitDepth = 2, palette.ColorType = 3;
  palette.Plte = test::NoisePalette(3, 5), palette.PaletteAlpha = {9, 255, 200};
  test::FillNoise(palette, 4);
  files.push_back(test::WriteWithLibpng(palette));

  auto decode = [](Stream& stream, const std::string& what) {
    Bitmap image, alpha;
    TQelPNGReadStream reader;
    reader.AlphaTarget = &alpha;
    reader.MaxImageBytes = 1 << 22;
    try {
      reader.LoadBitmap(&image, stream, 0);
      EXPECT_TRUE(image.Width() == reader.Width && image.Height() == reader.Height) << what;
      EXPECT_TRUE(alpha.Empty() || (alpha.Width() == reader.Width && alpha.Height() == reader.Height)) << what;
    } catch (const EQelPNG&) {
    } catch (const std::exception& e) {
      ADD_FAILURE() << what << ": " << e.what();
    }
  };
  for (std::size_t f = 0; f < files.size(); ++f) {
    const Bytes& file = files[f];
    for (std::size_t at = 0; at < file.size(); ++at) {
      for (int bit = 0; bit < 8; ++bit) {
        Bytes mutated = file;
        mutated[at] ^= static_cast<std::uint8_t>(1 << bit);
        MemoryStream stream(mutated);
        decode(stream, "file " + std::to_string(f) + " byte " + std::to_string(at) + " bit " + std::to_string(bit));
      }
      test::PlainStream cut(Bytes(file.begin(), file.begin() + static_cast<long>(at)));
      decode(cut, "file " + std::to_string(f) + " cut at " + std::to_string(at));
    }
  }
}

}  // namespace
}  // namespace quorvex
