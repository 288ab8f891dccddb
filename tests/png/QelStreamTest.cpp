#include "png/QelStream.h"

#include <gtest/gtest.h>

#include <numeric>
#include <stdexcept>

#include "support/TestStreams.h"

namespace quorvex {
namespace {

using test::FailingStream;
using test::PlainStream;

std::vector<std::uint8_t> Counting(std::size_t n) {
  std::vector<std::uint8_t> bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  return bytes;
}

// ---------------------------------------------------------------- reader

TEST(QelReadStream, BigEndianValuesStraddlingTheBufferEnd) {
  std::vector<std::uint8_t> bytes(70000, 0);
  bytes[65534] = 0x11, bytes[65535] = 0x22, bytes[65536] = 0x33, bytes[65537] = 0x44;
  bytes[69998] = 0xAB, bytes[69999] = 0xCD;
  PlainStream source(bytes);
  TQelCustomReadStream reader;
  reader.BeginRead(source, 0);
  reader.Skip(65534);
  EXPECT_EQ(reader.ReadLongBE(), 0x11223344u);
  reader.Skip(69998 - 65538);
  EXPECT_EQ(reader.ReadWordBE(), 0xABCDu);
  EXPECT_FALSE(reader.ReadError());
  EXPECT_EQ(reader.ReadByte(), 0);  // past the end
  EXPECT_TRUE(reader.ReadError());

  PlainStream again(bytes);
  reader.BeginRead(again, 0);
  reader.Skip(65535);
  EXPECT_EQ(reader.ReadWordBE(), 0x2233u);
}

TEST(QelReadStream, LongReadsMatchTheSourceInMemoryAndFromAStream) {
  std::vector<std::uint8_t> bytes = Counting(300000);
  for (bool inMemory : {true, false}) {
    MemoryStream memory(bytes);
    PlainStream plain(bytes);
    Stream& source = inMemory ? static_cast<Stream&>(memory) : plain;
    TQelCustomReadStream reader;
    reader.BeginRead(source, 0);
    std::vector<std::uint8_t> out(300000);
    ASSERT_EQ(reader.ReadBytes(out.data(), 3), 3);
    ASSERT_EQ(reader.ReadBytes(out.data() + 3, 150000), 150000);
    reader.Skip(70000);  // more than is buffered: the source is sought
    ASSERT_EQ(reader.ReadBytes(out.data() + 220003, 79997), 79997);
    EXPECT_FALSE(reader.ReadError());
    std::fill(out.begin() + 150003, out.begin() + 220003, 0);
    std::vector<std::uint8_t> expected = bytes;
    std::fill(expected.begin() + 150003, expected.begin() + 220003, 0);
    EXPECT_EQ(out, expected) << inMemory;
    EXPECT_EQ(reader.ReadBytes(out.data(), 0), 0);
    EXPECT_TRUE(reader.Stopped());
  }
  PlainStream plain(bytes);
  TQelCustomReadStream reader;
  reader.BeginRead(plain, 0);
  reader.Skip(100000);
  EXPECT_EQ(reader.ReadByte(), bytes[100000]);
  EXPECT_EQ(reader.ReadLongBE(), (std::uint32_t{bytes[100001]} << 24) | (bytes[100002] << 16) |
                                     (bytes[100003] << 8) | bytes[100004]);
}

TEST(QelReadStream, ReadsStopAtTheLimitAndStayStopped) {
  std::vector<std::uint8_t> bytes = Counting(100);
  MemoryStream source(bytes);
  source.SetPosition(5);
  TQelCustomReadStream reader;
  reader.BeginRead(source, 10);
  EXPECT_EQ(reader.Limit(), 10);
  std::uint8_t out[16] = {};
  EXPECT_EQ(reader.ReadBytes(out, 8), 8);
  EXPECT_EQ(out[0], bytes[5]);
  EXPECT_EQ(reader.ReadLongBE(), 0u);  // 4 more would pass the limit
  EXPECT_TRUE(reader.ReadError());
  EXPECT_EQ(reader.ReadByte(), 0);  // a byte is left, but the error is sticky
  EXPECT_EQ(reader.Consumed(), 8);
  reader.EndRead();
  EXPECT_EQ(source.Position(), 13);

  MemoryStream small(Counting(4));
  reader.BeginRead(small, 1000);  // a size past the end is cut to it
  EXPECT_EQ(reader.Limit(), 4);
  MemoryStream empty;
  reader.BeginRead(empty, 0);
  EXPECT_TRUE(reader.ReadError());
}

TEST(QelReadStream, ZeroLengthRequestsStopAndNegativeSkipsFail) {
  MemoryStream source(Counting(50));
  TQelCustomReadStream reader;
  reader.BeginRead(source, 0);
  reader.Skip(0);
  EXPECT_TRUE(reader.Stopped());
  EXPECT_EQ(reader.ReadByte(), 0);
  EXPECT_EQ(reader.Consumed(), 0);

  reader.BeginRead(source, 0);  // a new run clears both flags
  EXPECT_FALSE(reader.Stopped());
  reader.Skip(-3);
  EXPECT_TRUE(reader.ReadError());
  EXPECT_EQ(reader.Consumed(), 0);
}

TEST(QelReadStream, SkipHeaderDropsAZeroBlockOfLongerSources) {
  TQelCustomReadStream reader;
  reader.SkipHeader = true;

  std::vector<std::uint8_t> withHeader(200, 1);
  withHeader[0] = withHeader[74] = 0;
  withHeader[128] = 0x42;
  PlainStream plain(withHeader);
  reader.BeginRead(plain, 0);
  EXPECT_TRUE(reader.HeaderSkipped());
  EXPECT_EQ(reader.ReadByte(), 0x42);
  reader.EndRead();
  EXPECT_EQ(plain.Position(), 129);  // the skipped block counts as used

  MemoryStream exactly128(std::vector<std::uint8_t>(128, 0));
  reader.BeginRead(exactly128, 0);
  EXPECT_FALSE(reader.HeaderSkipped());

  std::vector<std::uint8_t> png(200, 0);
  png[0] = 0x89;
  MemoryStream pngSource(png);
  reader.BeginRead(pngSource, 0);
  EXPECT_FALSE(reader.HeaderSkipped());
  EXPECT_EQ(reader.ReadByte(), 0x89);

  reader.SkipHeader = false;
  MemoryStream zeros(std::vector<std::uint8_t>(200, 0));
  reader.BeginRead(zeros, 0);
  EXPECT_FALSE(reader.HeaderSkipped());
}

class RecordingReader : public TQelCustomReadStream {
 public:
  bool Progress(std::int32_t percent) override {
    seen.push_back(percent);
    return percent >= stopAt;
  }
  std::vector<std::int32_t> seen;
  std::int32_t stopAt = 1000;
};

TEST(QelReadStream, ProgressByStepsAndByBytesConsumed) {
  MemoryStream source(Counting(1000));
  RecordingReader reader;
  reader.BeginRead(source, 0);
  reader.ProgressBegin();
  reader.ProgressStage(1, 10, 30);  // 29 of the 99 per cent left
  reader.ProgressStep(5);
  reader.ProgressStep(5);  // no change, no report
  reader.ProgressStep(50);  // beyond the units: the whole span
  reader.ProgressStage(0, 0, 50);  // half of the 70 left, measured by bytes
  reader.Skip(500);
  reader.ProgressStep(0);
  reader.ProgressEnd();
  EXPECT_EQ(reader.seen, (std::vector<std::int32_t>{0, 14, 29, 29 + 17, 100}));

  RecordingReader stopping;
  stopping.stopAt = 10;
  stopping.BeginRead(source, 0);
  stopping.ProgressBegin();
  stopping.ProgressStage(1, 10, 0);
  stopping.ProgressStep(2);  // 19: asks to stop
  EXPECT_TRUE(stopping.Stopped());
  EXPECT_EQ(stopping.ReadByte(), 0);
  stopping.ProgressEnd();
  EXPECT_TRUE(stopping.Stopped());
}

// ---------------------------------------------------------------- writer

TEST(QelWriteStream, WritesOf65520BytesOrMoreBypassTheBuffer) {
  MemoryStream dest;
  TQelCustomWriteStream writer;
  writer.BeginWrite(dest);
  std::vector<std::uint8_t> big = Counting(70000);
  writer.WriteBytes(big.data(), 1);
  writer.WriteBytes(big.data(), 65519);
  EXPECT_EQ(dest.Size(), 0);  // 65520 bytes wait in the buffer
  EXPECT_EQ(writer.Fill(), 65520);
  writer.WriteBytes(big.data(), 65520);
  EXPECT_EQ(dest.Size(), 131040);
  EXPECT_EQ(writer.Fill(), 0);
  EXPECT_EQ(writer.Written(), 131040);

  writer.WriteBytes(big.data(), 65530);  // buffered
  writer.WriteBytes(big.data(), 6);      // 65530 + 6 would fill the buffer: flush first
  EXPECT_EQ(dest.Size(), 131040 + 65530);
  writer.WriteBytes(big.data(), 65526);
  writer.WriteLongBE(0x01020304);  // 65532 + 4 would fill it: flush first
  EXPECT_EQ(dest.Size(), 131040 + 65530 + 65532);
  writer.Flush();
  const std::vector<std::uint8_t>& out = dest.Bytes();
  EXPECT_EQ(std::vector<std::uint8_t>(out.end() - 4, out.end()), (std::vector<std::uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(writer.Written(), 131040 + 65530 + 65532 + 4);
}

TEST(QelWriteStream, AZeroLengthWriteEndsAllWriting) {
  MemoryStream dest;
  TQelCustomWriteStream writer;
  writer.BeginWrite(dest);
  writer.WriteLongBE(7);
  std::uint8_t byte = 1;
  writer.WriteBytes(&byte, 0);
  EXPECT_TRUE(writer.Stopped());
  writer.WriteLongBE(8);
  writer.WriteBytes(&byte, 1);
  writer.Flush();
  EXPECT_EQ(dest.Bytes(), (std::vector<std::uint8_t>{0, 0, 0, 7}));
}

class RecordingWriter : public TQelCustomWriteStream {
 public:
  bool Progress(std::int32_t percent) override {
    seen.push_back(percent);
    return false;
  }
  std::vector<std::int32_t> seen;
};

TEST(QelWriteStream, ProgressWorksInSteps) {
  RecordingWriter writer;
  writer.ProgressBegin();
  writer.ProgressStage(0, 10, 30);  // the mode is always steps
  writer.ProgressStep(10);
  writer.ProgressStage(1, 3, 0);
  writer.ProgressStep(1);
  writer.ProgressStep(2);
  writer.ProgressEnd();
  EXPECT_EQ(writer.seen, (std::vector<std::int32_t>{0, 29, 29 + 23, 29 + 46, 100}));
}

// ---------------------------------------------------------------- graphic frames

class ByteWriter : public TQelCustomGraphicWriteStream {
 public:
  bool fail = false;

 protected:
  void WriteImage() override {
    ProgressBegin();
    WriteLongBE(static_cast<std::uint32_t>(bitmap_->Width()));
    if (fail) throw std::runtime_error("encoder failed");
    ProgressStage(1, 2, 0);
    ProgressStep(1);
    ProgressEnd();
  }
};

TEST(QelGraphicWriteStream, SaveBitmapFlushesAndForwardsProgressToTheBitmap) {
  Bitmap bitmap(9, 1, PixelFormat::Bit24);
  std::vector<std::pair<ProgressStage, int>> seen;
  bitmap.SetOnProgress([&](Graphic& sender, ProgressStage stage, std::uint8_t percent, bool redraw, const Rect& r,
                           const ByteString&) {
    EXPECT_EQ(&sender, &bitmap);
    EXPECT_FALSE(redraw);
    EXPECT_EQ(r, Rect{});
    seen.emplace_back(stage, percent);
  });
  MemoryStream dest;
  ByteWriter writer;
  writer.SaveBitmap(bitmap, dest);
  EXPECT_EQ(dest.Bytes(), (std::vector<std::uint8_t>{0, 0, 0, 9}));
  EXPECT_EQ(seen, (std::vector<std::pair<ProgressStage, int>>{
                      {ProgressStage::Starting, 0}, {ProgressStage::Running, 49}, {ProgressStage::Ending, 100}}));

  MemoryStream failed;
  ByteWriter failing;
  failing.fail = true;
  EXPECT_THROW(failing.SaveBitmap(bitmap, failed), std::runtime_error);
  EXPECT_EQ(failed.Size(), 0);  // the buffered rest is not written
}

TEST(QelGraphicWriteStream, DestinationErrorsPassThrough) {
  Bitmap bitmap(1, 1, PixelFormat::Bit24);
  FailingStream dest(2);
  ByteWriter writer;
  EXPECT_THROW(writer.SaveBitmap(bitmap, dest), EWriteError);
}

class HeaderReader : public TQelCustomGraphicReadStream {
 public:
  bool fail = false;
  int changesSeenDuringDecode = 0;

 protected:
  void ReadImage() override {
    Width = ReadByte();
    Height = ReadByte();
    Bits = ReadByte();
    PaletteCount = ReadByte();
    QuadTable& quads = PaletteBuffer();
    for (int i = 0; i < PaletteCount; ++i) quads[i] = {ReadByte(), ReadByte(), ReadByte(), 0};
    ResolutionX = 77;
    if (fail) throw std::runtime_error("decoder failed");
    SetupBitmap();
  }
};

TEST(QelGraphicReadStream, LoadBitmapShapesTheTargetWithoutChangeEvents) {
  std::vector<std::uint8_t> data = {3, 2, 8, 2, 10, 20, 30, 40, 50, 60, 0xEE};
  PlainStream source(data);
  Bitmap bitmap(1, 1, PixelFormat::Bit24);
  bitmap.SetTransparent(true);
  int changes = 0;
  bitmap.SetOnChange([&](Graphic&) { ++changes; });
  HeaderReader reader;
  reader.SkipHeader = false;
  reader.LoadBitmap(&bitmap, source, 0);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bit8);
  EXPECT_FALSE(bitmap.Transparent());
  EXPECT_EQ(bitmap.GetPalette(), (Palette{{30, 20, 10, 0}, {60, 50, 40, 0}}));
  EXPECT_EQ(source.Position(), 10);  // right after the bytes used
  bitmap.SetWidth(4);
  EXPECT_EQ(changes, 1);  // the handler is back

  // The next decode starts from zeroed header values, also when it fails.
  PlainStream second(data);
  reader.fail = true;
  EXPECT_THROW(reader.LoadBitmap(&bitmap, second, 0), std::runtime_error);
  EXPECT_EQ(second.Position(), 10);
  bitmap.SetWidth(5);
  EXPECT_EQ(changes, 2);

  PlainStream third(data);
  reader.fail = false;
  reader.LoadBitmap(nullptr, third, 0);  // no target: nothing to shape
  EXPECT_EQ(reader.ResolutionX, 77);
}

}  // namespace
}  // namespace quorvex
