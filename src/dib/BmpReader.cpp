#include "dib/BmpReader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "dib/BitFields.h"
#include "dib/DibErrors.h"

namespace quorvex {

namespace {

static_assert(sizeof(RgbQuad) == 4, "colour-table entries are read as they lie in the file");

constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::int64_t kInfoHeaderSize = 40;
constexpr std::int64_t kCoreHeaderSize = 12;
// Header plus colour table plus masks: the most a clipboard block's table gives.
constexpr std::int64_t kMaxHeaderAndTable = kInfoHeaderSize + 4 * kColorTableStorage;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t I32(const std::uint8_t* p) { return static_cast<std::int32_t>(U32(p)); }

// `p` points at the header-size field of a 40-byte header.
BitmapInfoHeader ParseInfoHeader(const std::uint8_t* p) {
  BitmapInfoHeader h;
  h.Size = U32(p);
  h.Width = I32(p + 4);
  h.Height = I32(p + 8);
  h.Planes = U16(p + 12);
  h.BitCount = U16(p + 14);
  h.Compression = U32(p + 16);
  h.SizeImage = U32(p + 20);
  h.XPelsPerMeter = I32(p + 24);
  h.YPelsPerMeter = I32(p + 28);
  h.ClrUsed = U32(p + 32);
  h.ClrImportant = U32(p + 36);
  if (h.XPelsPerMeter == 0) h.XPelsPerMeter = kDefaultResolution;
  if (h.YPelsPerMeter == 0) h.YPelsPerMeter = kDefaultResolution;
  return h;
}

// `p` points at the header-size field of a 12-byte core header. The core
// header becomes a 40-byte one; its bit count must be one the DIB stores.
BitmapInfoHeader ParseCoreHeader(const std::uint8_t* p) {
  BitmapInfoHeader h;
  h.Width = U16(p + 4);
  h.Height = U16(p + 6);
  h.Planes = U16(p + 8);
  h.BitCount = U16(p + 10);
  if (h.BitCount != 1 && h.BitCount != 4 && h.BitCount != 8 && h.BitCount != 24) {
    throw EVxDIBInvalidDIB("TVxInternalDIB.LoadFromStream: Invalid BitCount");
  }
  h.XPelsPerMeter = kDefaultResolution;
  h.YPelsPerMeter = kDefaultResolution;
  h.ClrUsed = ColorsForBitCount(h.BitCount);
  return h;
}

// Core colour tables hold blue, green, red triples.
void StoreTriples(DibRecord& record, const std::uint8_t* triples, std::uint32_t count) {
  for (std::uint32_t i = 0; i < count; ++i) {
    record.Colors[i] = {triples[3 * i], triples[3 * i + 1], triples[3 * i + 2], 0};
  }
}

void CheckSize(const BitmapInfoHeader& h) {
  // The height's magnitude must fit the model's positive 32-bit Height.
  if (h.Width <= 0 || h.Height == 0 || h.Height == std::numeric_limits<std::int32_t>::min()) {
    throw EVxDIBInvalidDIB("TVxInternalDIB.LoadFromStream: Invalid Width or Height");
  }
}

// Bytes between the stream's position and its end.
std::int64_t RemainingIn(Stream& stream) { return std::max<std::int64_t>(stream.Size() - stream.Position(), 0); }

// Moves over bytes the file must hold; a file that ends first is a read error.
void SkipIn(Stream& stream, std::int64_t count) {
  if (count < 0 || count > RemainingIn(stream)) throw EReadError();
  stream.Seek(count, SeekOrigin::Current);
}

// Where the pixel bytes come from; both kinds refuse to give more than they hold.
class PixelSource {
 public:
  virtual ~PixelSource() = default;
  virtual std::int64_t Remaining() const = 0;
  virtual void Read(std::uint8_t* target, std::int64_t count) = 0;
  /// Raises the source's error for bytes it does not hold.
  [[noreturn]] virtual void Missing() const = 0;
};

class StreamSource : public PixelSource {
 public:
  explicit StreamSource(Stream& stream) : stream_(stream) {}
  std::int64_t Remaining() const override { return RemainingIn(stream_); }
  void Read(std::uint8_t* target, std::int64_t count) override { stream_.ReadBuffer(target, count); }
  [[noreturn]] void Missing() const override { throw EReadError(); }

 private:
  Stream& stream_;
};

[[noreturn]] void InvalidClipboardData() {
  throw EVxDIBInvalidDIB("TVxDIB.LoadFromClipboardFormat: Invalid Clipboard Data");
}

class BlockSource : public PixelSource {
 public:
  explicit BlockSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::int64_t Remaining() const override { return static_cast<std::int64_t>(bytes_.size() - used_); }
  void Read(std::uint8_t* target, std::int64_t count) override {
    if (count > Remaining()) Missing();
    std::memcpy(target, bytes_.data() + used_, static_cast<std::size_t>(count));
    used_ += static_cast<std::size_t>(count);
  }
  [[noreturn]] void Missing() const override { InvalidClipboardData(); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t used_ = 0;
};

// Rows claimed by the header that a block of `length` bytes cannot hold.
bool TooFewBytesForRows(std::int64_t length, std::int64_t rowBytes, std::int64_t rows) {
  return rowBytes <= 0 || rows > length / rowBytes;
}

// Fills the record's pixel block from `source`: 1, 4, 8 and 24 bits as they
// are, 16 and 32 bits widened row by row.
void ReadPixels(DibRecord& record, std::int64_t blockLength, PixelSource& source, bool useMapping,
                const char* badBitCount) {
  const int bits = record.Header.BitCount;
  const std::int64_t rows = record.Rows();
  if (bits == 1 || bits == 4 || bits == 8 || bits == 24) {
    if (blockLength < 0) source.Missing();
    // Every later reader of an uncompressed block walks all its rows.
    if (record.Header.Compression == kCompressionNone && TooFewBytesForRows(blockLength, record.RowBytes(), rows)) {
      throw EVxDIBInvalidDIB("TVxInternalDIB.LoadFromStream: Invalid Width or Height");
    }
    if (blockLength > source.Remaining()) source.Missing();
    record.Bits = PixelBlock(blockLength, useMapping);
    source.Read(record.Bits.Data(), blockLength);
    return;
  }
  if (bits == 16 || bits == 32) {
    const BitFieldMasks masks = MasksOf(record);
    const std::int64_t sourceRowBytes = BitFieldRowBytes(record.Header.Width, bits);
    const std::int64_t targetRowBytes = DibRowBytes(record.Header.Width, 24);
    if (TooFewBytesForRows(source.Remaining(), sourceRowBytes, rows)) source.Missing();
    record.Bits = PixelBlock(PixelBlockSize(targetRowBytes, rows), useMapping);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(sourceRowBytes));
    for (std::int64_t y = 0; y < rows; ++y) {
      source.Read(row.data(), sourceRowBytes);
      WidenBitFieldRow(row.data(), bits, record.Header.Width, masks, record.Bits.Data() + y * targetRowBytes,
                       targetRowBytes);
    }
    FinishWidening(record);
    return;
  }
  throw EVxDIBInvalidDIB(badBitCount);
}

}  // namespace

DibRecord ReadBmpFile(Stream& stream, bool useMapping) {
  std::uint8_t fileHeader[kFileHeaderSize];
  stream.ReadBuffer(fileHeader, kFileHeaderSize);
  if (U16(fileHeader) != 0x4D42) throw EVxDIBInvalidDIBFile("TVxInternalDIB.LoadFromFile: File type is invalid");
  const std::int64_t fileSize = U32(fileHeader + 2);
  const std::int64_t pixelOffset = U32(fileHeader + 10);

  std::uint8_t header[kInfoHeaderSize];
  stream.ReadBuffer(header, 4);
  const std::uint32_t headerSize = U32(header);
  DibRecord record;
  std::int64_t tableEnd = 0;  // offset of the first byte after the colour table
  if (headerSize == kInfoHeaderSize) {
    stream.ReadBuffer(header + 4, kInfoHeaderSize - 4);
    record.Header = ParseInfoHeader(header);
    const int bits = record.Header.BitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
      throw EVxDIBInvalidDIB("TVxInternalDIB.LoadFromStream: Invalid BitCout");
    }
    if (record.Header.ClrUsed == 0) record.Header.ClrUsed = ColorsForBitCount(bits);
    const std::int64_t colors = record.Header.ClrUsed;
    const std::int64_t masks = record.Header.Compression == kCompressionBitFields ? 3 : 0;
    // Only the first 256 entries are kept; the rest of a longer table is skipped.
    const std::int64_t stored = std::min<std::int64_t>(colors, kMaxDibColors) + masks;
    stream.ReadBuffer(record.Colors.data(), 4 * stored);
    SkipIn(stream, 4 * (colors + masks - stored));
    tableEnd = kFileHeaderSize + kInfoHeaderSize + 4 * (colors + masks);
    if (pixelOffset < tableEnd) throw EVxDIBInvalidDIB("TVxInternalDIB.LoadFromFile: bfOffBits is too small");
    record.Header.ClrUsed = std::min<std::uint32_t>(record.Header.ClrUsed, kMaxDibColors);
  } else if (headerSize == kCoreHeaderSize) {
    stream.ReadBuffer(header + 4, kCoreHeaderSize - 4);
    record.Header = ParseCoreHeader(header);
    const std::uint32_t colors = record.Header.ClrUsed;
    std::uint8_t triples[3 * kMaxDibColors];
    stream.ReadBuffer(triples, 3 * colors);
    StoreTriples(record, triples, colors);
    tableEnd = kFileHeaderSize + kCoreHeaderSize + 3 * std::int64_t{colors};
    if (pixelOffset < tableEnd) throw EVxDIBInvalidDIB("TVxInternalDIB.LoadFromFile: bfOffBits is too small");
  } else {
    throw EVxDIBInvalidDIB("TVxInternalDIB.LoadFromStream: Invalid Bitmap Header Size");
  }
  SkipIn(stream, pixelOffset - tableEnd);
  CheckSize(record.Header);
  StreamSource source(stream);
  ReadPixels(record, fileSize - pixelOffset, source, useMapping, "TVxInternalDIB.LoadFromStream: Invalid biBitCount");
  return record;
}

DibRecord ReadClipboardDib(std::span<const std::uint8_t> block, bool useMapping) {
  const auto size = static_cast<std::int64_t>(block.size());
  if (size < 4) InvalidClipboardData();
  const std::uint32_t headerSize = U32(block.data());
  DibRecord record;
  std::int64_t tableEnd = 0;
  if (headerSize == kInfoHeaderSize) {
    if (size < kInfoHeaderSize) InvalidClipboardData();
    record.Header = ParseInfoHeader(block.data());
    // Colours used 0 stands for the bit count's colours; the record says so
    // explicitly, as a loaded file's does, so that it saves as a valid file.
    if (record.Header.ClrUsed == 0) record.Header.ClrUsed = ColorsForBitCount(record.Header.BitCount);
    const std::int64_t masks = record.Header.Compression == kCompressionBitFields ? 3 : 0;
    tableEnd = kInfoHeaderSize + 4 * (std::int64_t{record.Header.ClrUsed} + masks);
    if (size < tableEnd) InvalidClipboardData();
    const std::int64_t copied = std::min(tableEnd, kMaxHeaderAndTable) - kInfoHeaderSize;
    std::memcpy(record.Colors.data(), block.data() + kInfoHeaderSize, static_cast<std::size_t>(copied));
    record.Header.ClrUsed = std::min<std::uint32_t>(record.Header.ClrUsed, kMaxDibColors);
  } else if (headerSize == kCoreHeaderSize) {
    if (size < kCoreHeaderSize) InvalidClipboardData();
    record.Header = ParseCoreHeader(block.data());
    tableEnd = kCoreHeaderSize + 3 * std::int64_t{record.Header.ClrUsed};
    if (size < tableEnd) InvalidClipboardData();
    StoreTriples(record, block.data() + kCoreHeaderSize, record.Header.ClrUsed);
  } else {
    InvalidClipboardData();
  }
  CheckSize(record.Header);
  BlockSource source(block.subspan(static_cast<std::size_t>(tableEnd)));
  ReadPixels(record, size - tableEnd, source, useMapping, "TVxInternalDIB.LoadFromClipboardFormat: Invalid biBitCount");
  return record;
}

}  // namespace quorvex
