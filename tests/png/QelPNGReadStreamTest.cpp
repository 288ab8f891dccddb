#include "png/QelPNGReadStream.h"

#include <gtest/gtest.h>

#include "png/QelPNG.h"
#include "support/BitmapBuilder.h"
#include "support/PngFiles.h"
#include "support/TestStreams.h"

namespace quorvex {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::Chunk;
using test::HeaderData;
using test::PngOf;

// An 8-bit grey image whose pixel (x, y) is x * 16 + y: its rows with filter
// byte 0, compressed; and its header.
Bytes GreyData(int width, int height) {
  Bytes raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < width; ++x) raw.push_back(static_cast<std::uint8_t>(x * 16 + y));
  }
  return test::Compress(raw);
}
const Bytes kHeader = Chunk("IHDR", HeaderData(3, 2, 8, 0));
const Bytes kData = Chunk("IDAT", GreyData(3, 2));
const Bytes kEnd = Chunk("IEND", {});
Bytes Text(const std::string& s) { return Chunk("tEXt", Bytes(s.begin(), s.end())); }

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
    return PngOf({Chunk("IHDR", HeaderData(3, 2, depth, type, interlace, compression, filter)), kData, kEnd});
  };
  auto sized = [](std::uint32_t width, std::uint32_t height, int depth) {
    return PngOf({Chunk("IHDR", HeaderData(width, height, depth, 0)), kData, kEnd});
  };
  Bytes cut = GreyData(3, 2);
  cut.resize(cut.size() / 2);
  const std::pair<Bytes, std::string> cases[] = {
      {{}, kErrNotPng},
      {{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, kErrNotPng},
      {PngOf({kHeader, kHeader, kData, kEnd}), kErrTwoIHDR},
      {header(8, 1), kErrColorType},
      {header(8, 7), kErrColorType},
      {header(8, 0, 0, 2), kErrCompression},
      {header(8, 0, 0, 0, 2), kErrFilter},
      {header(8, 0, 2), kErrInterlace},
      {header(3, 0), kErrGreyDepth},
      {header(2, 4), kErrAlphaDepth},
      {header(4, 2), kErrColourDepth},
      {header(16, 3), kErrColourDepth},
      {sized(0, 2, 8), kErrImageSize},
      {sized(3, 0x80000000u, 8), kErrImageSize},
      {sized(100000, 100000, 1), kErrImageTooLarge},
      {PngOf({kHeader, Chunk("IDAT", {0x78, 0x9C, 0xFF, 0xFF, 0xFF}), kEnd}), kErrReadImage},
      {PngOf({kHeader, Chunk("IDAT", test::Compress({5, 1, 2, 3, 0, 1, 2, 3})), kEnd}), kErrReadImage},
      {PngOf({kHeader, Chunk("IDAT", cut), kEnd}), kErrReadImage},
      {PngOf({kHeader, Chunk("IDAT", cut), Text("a"), Chunk("IDAT", Bytes(kData.begin() + 8 + cut.size(), kData.end() - 4)), kEnd}), kErrReadImage},
      // No image data is no picture, also when the data comes before the header.
      {PngOf({kHeader, kEnd}), kErrReadImage},
      {PngOf({kData, kHeader, kEnd}), kErrReadImage},
  };
  for (const auto& [file, message] : cases) EXPECT_EQ(LoadError(file), message) << message;
}

TEST(QelPNGReadStream, ImageDataOverSeveralChunksAndLateOrMissingChunks) {
  const Bytes data = GreyData(5, 4);
  std::vector<Bytes> chunks = {Chunk("IHDR", HeaderData(5, 4, 8, 0)), Chunk("IDAT", {})};
  for (std::size_t i = 0; i < data.size(); i += 3) {
    chunks.push_back(Chunk("IDAT", Bytes(data.begin() + i, data.begin() + std::min(i + 3, data.size()))));
    chunks.push_back(Chunk("IDAT", {}));
  }
  // Transparency and background after the image data count for nothing; a
  // missing IEND ends the load quietly.
  chunks.push_back(Chunk("tRNS", {0, 1}));
  chunks.push_back(Chunk("bKGD", {0, 2}));
  TQelPNG png;
  ASSERT_EQ(LoadError(PngOf(chunks), &png), "");
  ExpectGreyPixels(png.Image(), 5, 4);
  EXPECT_EQ(png.TransparentColor, kNoColor);
  EXPECT_EQ(png.BackgroundColor, kNoColor);
}

TEST(QelPNGReadStream, WithoutTargetOnlyTheChunksAreRead) {
  const Bytes file = PngOf({kHeader, Chunk("gAMA", {0, 0, 0xB1, 0x8F}), Text(std::string("Comment\0a", 9)),
                            Text(std::string("Comment\0b", 9)), Chunk("IDAT", {1, 2, 3}),
                            Chunk("pHYs", {0, 0, 0, 2, 0, 0, 0, 3, 1}), kEnd});
  TQelPNGReadStream reader;
  MemoryStream stream(file);
  reader.LoadBitmap(nullptr, stream, 0);
  EXPECT_EQ(reader.Width, 3);
  EXPECT_EQ(reader.Gamma, 0.45455);
  EXPECT_EQ(reader.Comment, "a\r\nb\r\n");
  EXPECT_EQ(reader.ChunkFlags(), kHeaderRead | kImageDone | kEndRead);
  EXPECT_EQ(reader.ResolutionUnit, 0) << "pHYs after the image data is not taken";
  EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(file.size()));
}

TEST(QelPNGReadStream, AFailedLoadLeavesTheGraphicAsItWas) {
  TQelPNG png;
  ASSERT_EQ(LoadError(PngOf({kHeader, Text(std::string("Comment\0x", 9)), kData, kEnd}), &png), "");
  int changes = 0;
  png.SetOnChange([&](Graphic&) { ++changes; });
  EXPECT_EQ(LoadError(PngOf({Chunk("IHDR", HeaderData(3, 2, 8, 2)), kData, kEnd}), &png), kErrReadImage);
  ExpectGreyPixels(png.Image(), 3, 2);
  EXPECT_EQ(png.Comment, "x\r\n");
  EXPECT_EQ(changes, 0);
}

// Keyed rows: the reader's hook undoes the writer's, while unfiltering works
// on the rows as stored (Paeth looks at the row above and to the left).
TEST(QelPNGReadStream, KeyedRowsGoThroughTheRowHooks) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 9, 6);
  auto scramble = [](std::uint8_t* row, std::int32_t index, std::int32_t n) {
    for (std::int32_t i = 0; i < n; ++i) row[i] ^= static_cast<std::uint8_t>(index + 1);
  };
  TQelPNG writer;
  writer.Assign(source.get());
  writer.Interlace = 1, writer.FilterMode = kFilterPaeth, writer.RowKey = "key";
  writer.OnWriteRow = [&](TQelPNGWriteStream&, std::uint8_t* row, const ByteString&, std::int32_t index,
                          std::int32_t n) { scramble(row, index, n); };
  MemoryStream file;
  writer.SaveToStream(file);

  TQelPNG reader;
  reader.RowKey = "wrong";
  reader.OnRowKey = [](TQelPNGReadStream&, ByteString& key) { key = "key"; };
  reader.OnReadRow = [&](TQelPNGReadStream&, std::uint8_t* row, const ByteString& key, std::int32_t index,
                         std::int32_t n) {
    EXPECT_EQ(key, "key");
    scramble(row, index, n);
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
    png.ReducedRGB = true;
    file.SetPosition(0);
    png.LoadFromStream(file);
    ASSERT_EQ(png.Image().Format(), PixelFormat::Bit16);
    EXPECT_EQ(png.DecoderValue, format == PixelFormat::Bit16 ? 16 : 15);
    Color c = source->PixelColor(5, 2);
    EXPECT_EQ(png.Image().PixelValue(5, 2), ((c & 0xF8) << 8) | ((c >> 5) & 0x7E0) | ((c >> 19) & 0x1F));
  }
}

TEST(QelPNGReadStream, SavingALoadedFileKeepsItsValuesButNotItsTime) {
  auto source = test::NoiseBitmap(PixelFormat::Bit24, 4, 4);
  TQelPNG first;
  first.Assign(source.get());
  first.Comment = "note", first.Gamma = 0.5, first.SignificantBits = 0x070605;
  first.PhysUnit = 1, first.PhysX = 3779, first.PhysY = 2000;
  first.BackgroundColor = 0x123456, first.TransparentColor = 0x010203;
  first.UseCurrentTime = false, first.StoredTime = {1999, 12, 31, 23, 59, 58};
  first.Chromaticity = {31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000};
  first.GifExtension = {1, 2, 3, 4};
  MemoryStream file;
  first.SaveToStream(file);
  TQelPNG loaded;
  file.SetPosition(0);
  loaded.LoadFromStream(file);
  EXPECT_EQ(loaded.Comment, "note\r\n");
  EXPECT_EQ(loaded.StoredTime, first.StoredTime);
  EXPECT_EQ(loaded.Chromaticity, first.Chromaticity);
  EXPECT_EQ(loaded.GifExtension, first.GifExtension);

  // Saved again, every chunk but the time and the comment's line end is the same.
  MemoryStream again;
  loaded.Comment = "note";
  loaded.SaveToStream(again);
  Bytes expected = file.Bytes(), actual = again.Bytes();
  ASSERT_EQ(actual.size(), expected.size());
  const std::size_t time = 8 + 25 + 8;  // signature, IHDR chunk, tIME length and type
  EXPECT_EQ(Bytes(actual.begin(), actual.begin() + time), Bytes(expected.begin(), expected.begin() + time));
  EXPECT_EQ(Bytes(actual.begin() + time + 11, actual.end()), Bytes(expected.begin() + time + 11, expected.end()));
  EXPECT_EQ((actual[time] << 8) | actual[time + 1], CurrentUtcTime().Year);
}

TEST(QelPNGReadStream, PropertyStreamingReadsWhatWriteDataWrote) {
  auto source = test::NoiseBitmap(PixelFormat::Bit8, 5, 5);
  TQelPNG png;
  png.Assign(source.get());
  MemoryStream data;
  png.WriteData(data);
  TQelPNG loaded;
  Bitmap reference;
  loaded.ImageRef = &reference;
  data.SetPosition(0);
  loaded.ReadData(data);
  EXPECT_EQ(loaded.ImageRef, nullptr);
  EXPECT_EQ(loaded.Image().GetPalette(), source->GetPalette());
  EXPECT_EQ(loaded.Image().ScanLine(4)[4], source->ScanLine(4)[4]);

  MemoryStream nothing;  // what WriteData writes for an empty graphic
  loaded.ReadData(nothing);
  EXPECT_TRUE(loaded.Empty());
}

// Every bit of a few valid files flipped, and every cut: the reader either
// raises EQelPNG or yields an image of the size its header claims.
TEST(QelPNGReadStream, AnyFlippedBitOrCutEndsInACleanErrorOrAnImage) {
  auto source = test::NoiseBitmap(PixelFormat::Bit4, 9, 7);
  TQelPNG ours;
  ours.Assign(source.get());
  ours.Interlace = 1, ours.TransparentColor = kPaletteIndexMark + 3, ours.BackgroundColor = 0x112233;
  MemoryStream oursFile;
  ours.SaveToStream(oursFile);
  test::ReferencePng rgba(5, 4, 16, 6, 1, 3);
  test::ReferencePng palette(7, 3, 2, 3, 0, 4, test::NoisePalette(3, 5));
  palette.Transparency = {9, 255, 200};
  const Bytes files[] = {oursFile.Bytes(), rgba.Write(), palette.Write()};

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
  for (const Bytes& file : files) {
    for (std::size_t at = 0; at < file.size(); ++at) {
      for (int bit = 0; bit < 8; ++bit) {
        Bytes mutated = file;
        mutated[at] ^= static_cast<std::uint8_t>(1 << bit);
        MemoryStream stream(mutated);
        decode(stream, "byte " + std::to_string(at) + " bit " + std::to_string(bit));
      }
      test::PlainStream cut(Bytes(file.begin(), file.begin() + static_cast<long>(at)));
      decode(cut, "cut at " + std::to_string(at));
    }
  }
}

}  // namespace
}  // namespace quorvex
