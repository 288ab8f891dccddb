#include "png/QelPNGReadStream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace quorvex {

namespace {

constexpr std::uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
// TransparentColor while a palette transparency table waits for SetupBitmap.
constexpr ColorRef kPaletteTransparencyPending = 0x1FFFFFF;
constexpr std::uint32_t kQelSignature = ChunkType("Qel3");
constexpr std::int64_t kMaxChunkLength = 0x7FFFFFFF;

// The seven passes of Adam7: first column, first row, column step, row step.
struct Pass {
  std::int32_t firstColumn, firstRow, columnStep, rowStep;
};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
constexpr Pass kWholeImage = {0, 0, 1, 1};

std::int32_t PassCount(std::int32_t size, std::int32_t first, std::int32_t step) {
  return size > first ? (size - first + step - 1) / step : 0;
}

// The passes that hold pixels: with Adam7 a pass is left out when the image
// is too narrow or too low for its first column or row.
std::vector<Pass> PassesOf(std::int32_t interlace, std::int32_t width, std::int32_t height) {
  if (interlace == 0) return {kWholeImage};
  std::vector<Pass> passes;
  for (const Pass& p : kAdam7) {
    if (PassCount(width, p.firstColumn, p.columnStep) > 0 && PassCount(height, p.firstRow, p.rowStep) > 0) {
      passes.push_back(p);
    }
  }
  return passes;
}

// Bytes of a row of `width` pixels of `bits` each, rounded up to whole bytes.
std::int64_t PackedBytes(std::int64_t width, std::int64_t bits) { return (width * bits + 7) / 8; }

// A grey sample as a colour. Samples of 1, 2 and 4 bits are spread over
// 0..255 as the grey palette of the target spreads them, so the colour
// matches the pixels it stands for; 16-bit samples give their high byte.
ColorRef GreyColour(std::int32_t value, std::int32_t depth) {
  std::int32_t grey = 0;
  if (depth == 1 || depth == 2 || depth == 4) {
    std::int32_t top = (1 << depth) - 1;
    grey = (value & top) * 255 / top;
  } else {
    grey = depth > 8 ? (value >> 8) & 0xFF : value & 0xFF;
  }
  return grey * 0x010101;
}

// Four 2-bit samples of one byte as two bytes of two 4-bit samples each.
constexpr std::array<std::array<std::uint8_t, 2>, 256> kTwoToFour = [] {
  std::array<std::array<std::uint8_t, 2>, 256> table{};
  for (int v = 0; v < 256; ++v) {
    table[v][0] = static_cast<std::uint8_t>(((v >> 6) << 4) | ((v >> 4) & 3));
    table[v][1] = static_cast<std::uint8_t>((((v >> 2) & 3) << 4) | (v & 3));
  }
  return table;
}();

// Copies `n` pixels of `Size` bytes to every `step`th byte from `x` on; the
// fixed size lets the compiler copy each pixel without a call.
template <int Size>
void SpreadPixels(const std::uint8_t* from, std::uint8_t* target, std::int32_t x, std::int32_t step, std::int32_t n) {
  for (std::int32_t k = 0; k < n; ++k, x += step) {
    std::memcpy(target + x, from + static_cast<std::ptrdiff_t>(k) * Size, Size);
  }
}

// Freed on every way out of a decode, also when a row handler or the bitmap raises.
template <typename F>
class AtExit {
 public:
  explicit AtExit(F f) : f_(std::move(f)) {}
  ~AtExit() { f_(); }
  AtExit(const AtExit&) = delete;
  AtExit& operator=(const AtExit&) = delete;

 private:
  F f_;
};

}  // namespace

TQelPNGReadStream::TQelPNGReadStream() {
  rows_.Callback = [this](ZRowStream& rows) { return FillInput(rows); };
}

TQelPNGReadStream::~TQelPNGReadStream() = default;

// ---------------------------------------------------------------- frame

void TQelPNGReadStream::ReadImage() {
  ProgressBegin();
  ProgressStage(0, 0, 30);

  alphaInUse_ = nullptr;
  HasAlpha = GrayScale = paletteAlphaNeeded_ = false;
  Interlace = 0;
  colourType_ = -1;
  rowKeyInUse_.clear();
  BackgroundColor = TransparentColor = kNoColor;
  SignificantBits = 0;
  Gamma = 0;
  paletteAlpha_.fill(255);
  if (StoredTime) *StoredTime = DateTime{};
  if (GifExtension) GifExtension->fill(0);
  if (Chromaticity) Chromaticity->fill(0);
  DecoderValue = 0;

  if (CheckSignature) {
    std::uint8_t signature[8] = {};
    ReadBytes(signature, sizeof signature);
    if (std::memcmp(signature, kSignature, sizeof signature) != 0) throw EQelPNG(kErrNotPng);
  }

  {
    AtExit release([this] {
      ZInflateClose(rows_);
      rowBlock_.reset();
    });
    ReadChunks();
  }

  // A load that found no image data has nothing to show; passing it off as a
  // picture would report a failure as success.
  if (!noBitmap_ && !(chunkFlags_ & kImageDone)) throw EQelPNG(kErrReadImage);

  if (bitmap_ && !readError_ && !stopped_ && !HasAlpha && TransparentColor != kNoColor) {
    bitmap_->SetTransparentColor(TransparentColor);
    bitmap_->SetTransparent(true);
  }
  if (paletteAlphaNeeded_ && alphaInUse_) SpreadPaletteAlpha();
  ProgressEnd();
}

// ---------------------------------------------------------------- chunks

void TQelPNGReadStream::ReadChunks() {
  while (!readError_ && !stopped_ && !(chunkFlags_ & kEndRead)) {
    if (!ReadChunkHeader()) return;
    ReadChunk();
    // Skip(0) would stop the stream, so only a real rest is skipped.
    if (chunkLeft_ > 0) Skip(chunkLeft_);
    chunkLeft_ = 0;
    ReadLongBE();  // the CRC, which is not checked
  }
}

bool TQelPNGReadStream::ReadChunkHeader() {
  std::uint32_t length = ReadLongBE();
  chunkType_ = ReadLongBE();
  if (readError_) return false;
  // Lengths above 2^31 - 1 are not PNG; such a chunk cannot be followed.
  if (length > kMaxChunkLength) {
    readError_ = true;
    return false;
  }
  chunkLeft_ = length;
  return true;
}

bool TQelPNGReadStream::Ancillary() const { return (chunkFlags_ & kHeaderRead) && !(chunkFlags_ & kImageDone); }

void TQelPNGReadStream::ReadChunk() {
  const bool beforePalette = !(chunkFlags_ & kPaletteRead);
  switch (chunkType_) {
    case ChunkType("IHDR"): ReadHeader(); break;
    case ChunkType("PLTE"):
      if (Ancillary() && beforePalette && colourType_ != 0) ReadPalette();
      break;
    case ChunkType("tRNS"):
      if (Ancillary() && !HasAlpha) ReadTransparency();
      break;
    case ChunkType("bKGD"):
      if (Ancillary()) ReadBackground();
      break;
    case ChunkType("gAMA"):
      if (Ancillary() && beforePalette && ChunkHolds(4)) {
        Gamma = static_cast<std::uint32_t>(ReadChunkInteger(4)) / 100000.0;
        ProgressStep(0);
      }
      break;
    case ChunkType("sBIT"):
      if (Ancillary() && beforePalette && (colourType_ == 2 || colourType_ == 3)) ReadSignificantBits();
      break;
    case ChunkType("cHRM"):
      if (Ancillary() && beforePalette && chunkLeft_ == 32 && Chromaticity) ReadChromaticity();
      break;
    case ChunkType("gIFg"):
      if (Ancillary() && beforePalette && chunkLeft_ == 4 && GifExtension) ReadGifExtension();
      break;
    case ChunkType("pHYs"):
      if (Ancillary()) ReadPhysicalSize();
      break;
    case ChunkType("tIME"):
      if (chunkLeft_ == 7 && StoredTime) ReadTime();
      break;
    case ChunkType("tEXt"):
      if (chunkLeft_ > 0) ReadText();
      break;
    case ChunkType("tpNG"):
      if (Ancillary() && !(chunkFlags_ & kQelChunkRead)) ReadQelChunk();
      break;
    case ChunkType("IDAT"): ReadImageData(); break;
    case ChunkType("IEND"): chunkFlags_ |= kEndRead; break;
    default: break;
  }
}

// Reads a big-endian number of 1, 2 or 4 bytes from the current chunk. The
// callers check first that the chunk holds it, so no handler reads into the
// next chunk.
std::int32_t TQelPNGReadStream::ReadChunkInteger(int bytes) {
  chunkLeft_ -= bytes;
  switch (bytes) {
    case 1: return ReadByte();
    case 2: return ReadWordBE();
    default: return static_cast<std::int32_t>(ReadLongBE());
  }
}

void TQelPNGReadStream::ReadHeader() {
  if (chunkFlags_ & kHeaderRead) throw EQelPNG(kErrTwoIHDR);
  // A header too short for its fields is no header; the image data then
  // finds none and the load fails.
  if (!ChunkHolds(13)) return;
  auto width = static_cast<std::uint32_t>(ReadChunkInteger(4));
  auto height = static_cast<std::uint32_t>(ReadChunkInteger(4));
  DecoderValue = ReadChunkInteger(1);
  std::int32_t type = ReadChunkInteger(1);
  std::int32_t compression = ReadChunkInteger(1);
  std::int32_t filter = ReadChunkInteger(1);
  std::int32_t interlace = ReadChunkInteger(1);
  if (readError_) return;

  std::int32_t base = type % 8;
  if (base == 1 || base == 5 || base == 7) throw EQelPNG(kErrColorType);
  if (type & 4) {
    HasAlpha = true;
    colourType_ = type % 4;
  } else {
    colourType_ = base;
  }
  if (colourType_ == 0) GrayScale = true;
  if (compression >= 2) throw EQelPNG(kErrCompression);
  if (filter >= 2) throw EQelPNG(kErrFilter);
  if (interlace >= 2) throw EQelPNG(kErrInterlace);
  Interlace = interlace;
  // Sizes are 1 to 2^31 - 1 in PNG; others would turn negative or empty.
  constexpr auto kMaxSize = static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());
  if (width == 0 || height == 0 || width > kMaxSize || height > kMaxSize) throw EQelPNG(kErrImageSize);
  Width = static_cast<std::int32_t>(width);
  Height = static_cast<std::int32_t>(height);
  chunkFlags_ |= kHeaderRead;
  ProgressStep(0);
}

void TQelPNGReadStream::ReadPalette() {
  std::int64_t count = std::min<std::int64_t>(chunkLeft_ / 3, kMaxPaletteEntries);
  QuadTable& quads = PaletteBuffer();
  for (std::int64_t i = 0; i < count; ++i) {
    auto red = static_cast<std::uint8_t>(ReadChunkInteger(1));
    auto green = static_cast<std::uint8_t>(ReadChunkInteger(1));
    auto blue = static_cast<std::uint8_t>(ReadChunkInteger(1));
    quads[static_cast<std::size_t>(i)] = {blue, green, red, 0};
  }
  PaletteCount = static_cast<std::int32_t>(count);
  chunkFlags_ |= kPaletteRead;
  ProgressStep(0);
}

ColorRef TQelPNGReadStream::ReadColour() {
  std::int32_t samples[3];
  for (std::int32_t& s : samples) {
    std::int32_t value = ReadChunkInteger(2);
    s = DecoderValue > 8 ? (value >> 8) & 0xFF : value & 0xFF;
  }
  return samples[0] + samples[1] * 256 + samples[2] * 65536;
}

void TQelPNGReadStream::ReadTransparency() {
  if (colourType_ == 0) {
    if (!ChunkHolds(2)) return;
    TransparentColor = GreyColour(ReadChunkInteger(2), DecoderValue);
  } else if (colourType_ == 2) {
    if (!ChunkHolds(6)) return;
    TransparentColor = ReadColour();
  } else {
    std::int64_t count = std::min<std::int64_t>(chunkLeft_, PaletteCount);
    for (std::int64_t i = 0; i < count; ++i) paletteAlpha_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(ReadChunkInteger(1));
    TransparentColor = kPaletteTransparencyPending;
  }
  ProgressStep(0);
}

void TQelPNGReadStream::ReadBackground() {
  if (colourType_ == 0) {
    if (!ChunkHolds(2)) return;
    BackgroundColor = GreyColour(ReadChunkInteger(2), DecoderValue);
  } else if (colourType_ == 2) {
    if (!ChunkHolds(6)) return;
    BackgroundColor = ReadColour();
  } else {
    if (!ChunkHolds(1)) return;
    BackgroundColor = kPaletteIndexMark + ReadChunkInteger(1);
  }
  ProgressStep(0);
}

void TQelPNGReadStream::ReadSignificantBits() {
  const int count = HasAlpha ? 4 : 3;
  if (!ChunkHolds(count)) return;
  std::uint32_t bits = 0;
  for (int i = 0; i < count; ++i) bits |= static_cast<std::uint32_t>(ReadChunkInteger(1)) << (8 * i);
  SignificantBits = static_cast<std::int32_t>(bits);
  ProgressStep(0);
}

void TQelPNGReadStream::ReadChromaticity() {
  for (std::uint32_t& value : *Chromaticity) value = static_cast<std::uint32_t>(ReadChunkInteger(4));
  ProgressStep(0);
}

void TQelPNGReadStream::ReadGifExtension() {
  for (std::uint8_t& byte : *GifExtension) byte = static_cast<std::uint8_t>(ReadChunkInteger(1));
  ProgressStep(0);
}

void TQelPNGReadStream::ReadPhysicalSize() {
  if (!ChunkHolds(9)) return;
  ResolutionX = ReadChunkInteger(4);
  ResolutionY = ReadChunkInteger(4);
  ResolutionUnit = static_cast<std::uint8_t>(ReadChunkInteger(1));
  ProgressStep(0);
}

void TQelPNGReadStream::ReadTime() {
  DateTime time;
  time.Year = static_cast<std::uint16_t>(ReadChunkInteger(2));
  time.Month = static_cast<std::uint8_t>(ReadChunkInteger(1));
  time.Day = static_cast<std::uint8_t>(ReadChunkInteger(1));
  time.Hour = static_cast<std::uint8_t>(ReadChunkInteger(1));
  time.Minute = static_cast<std::uint8_t>(ReadChunkInteger(1));
  time.Second = static_cast<std::uint8_t>(ReadChunkInteger(1));
  *StoredTime = time;
  ProgressStep(0);
}

void TQelPNGReadStream::ReadText() {
  // The text is read whole; a length beyond the data is a cut file, found
  // before anything is allocated for it.
  if (chunkLeft_ > Limit() - Consumed()) {
    readError_ = true;
    return;
  }
  std::string data(static_cast<std::size_t>(chunkLeft_), '\0');
  ReadBytes(data.data(), chunkLeft_);
  chunkLeft_ = 0;
  if (readError_) return;
  std::size_t end = data.find('\0');
  if (end != std::string::npos && data.compare(0, end, "Comment") == 0 && end + 1 < data.size()) {
    // Each text ends in CR LF, which also separates it from the next one.
    Comment.append(data, end + 1, std::string::npos);
    Comment += "\r\n";
  }
  ProgressStep(0);
}

void TQelPNGReadStream::ReadQelChunk() {
  chunkFlags_ |= kQelChunkRead;
  if (!ChunkHolds(4)) return;
  auto signature = static_cast<std::uint32_t>(ReadChunkInteger(4));
  if (signature != kQelSignature || chunkLeft_ <= 0) return;
  if (ReadChunkInteger(1) != 0) {
    rowKeyInUse_ = RowKey;
    if (OnRowKey) OnRowKey(*this, rowKeyInUse_);
  }
  if (chunkLeft_ > 0) ReadChunkInteger(1);  // a second flag, without meaning
  ProgressStep(0);
}

// ---------------------------------------------------------------- image data

void TQelPNGReadStream::ReadImageData() {
  // Image data ahead of the header has no format to decode to; it is skipped.
  if (!(chunkFlags_ & kHeaderRead) || (chunkFlags_ & kImageDone)) return;
  ChooseTarget();
  if (noBitmap_) {
    chunkFlags_ |= kImageDone;
    return;
  }
  CheckImageSize();
  if (ZInflateOpen(rows_) < 0) throw EQelPNG(kErrZlib);
  SetupBitmap();
  // DibRowStride computed in 64 bits, like the size checks above.
  targetRowLength_ = static_cast<std::int32_t>(ScanLineBytes(Width, Bits));

  const std::int64_t rowBytes = ScanLineBytes(Width, bitsPerPixel_) + 4;
  const std::int64_t convertedBytes = targetRowLength_ + 4;
  const std::int64_t alphaBytes = ScanLineBytes(Width, 8);
  rowBlock_ = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(2 * rowBytes + convertedBytes + alphaBytes));
  rows_.CurrentRow = rowBlock_.get();
  rows_.PreviousRow = rows_.CurrentRow + rowBytes;
  convertedRow_ = rows_.PreviousRow + rowBytes;
  alphaRow_ = convertedRow_ + convertedBytes;
  rows_.BitsPerPixel = bitsPerPixel_;

  {
    AtExit release([this] {
      ZInflateReset(rows_);
      ZInflateClose(rows_);
      rowBlock_.reset();
      ProgressStage(0, 0, 0);
    });
    DecodeRows();
  }
  chunkFlags_ |= kImageDone;
}

void TQelPNGReadStream::ChooseTarget() {
  const std::int32_t depth = DecoderValue;
  switch (colourType_) {
    case 0:
      if (HasAlpha && (depth == 1 || depth == 2 || depth == 4)) throw EQelPNG(kErrAlphaDepth);
      if (depth == 1 || depth == 4) {
        Bits = depth, bitsPerPixel_ = depth, conversion_ = RowConversion::Copy;
      } else if (depth == 2) {
        Bits = 4, bitsPerPixel_ = 2, conversion_ = RowConversion::TwoToFour;
      } else if (depth == 8 || depth == 16) {
        Bits = 8;
        bitsPerPixel_ = depth * (HasAlpha ? 2 : 1);
        conversion_ = (depth == 8 && !HasAlpha) ? RowConversion::Copy : RowConversion::Grey;
      } else {
        throw EQelPNG(kErrGreyDepth);
      }
      return;
    case 2: {
      if (depth != 8 && depth != 16) throw EQelPNG(kErrColourDepth);
      const std::int32_t significant = SignificantBits & 0xFFFFFF;
      bitsPerPixel_ = depth * (HasAlpha ? 4 : 3);
      if (ReducedRGB && (significant == 0x050505 || significant == 0x050605)) {
        Bits = 16;
        DecoderValue = significant == 0x050505 ? 15 : 16;
        conversion_ = RowConversion::Rgb565;
      } else {
        Bits = 24;
        DecoderValue = depth == 8 ? 24 : 48;
        conversion_ = RowConversion::Rgb;
      }
      return;
    }
    default:
      if (depth == 1 || depth == 4 || depth == 8) {
        Bits = depth, bitsPerPixel_ = depth, conversion_ = RowConversion::Copy;
      } else if (depth == 2) {
        Bits = 4, bitsPerPixel_ = 2, conversion_ = RowConversion::TwoToFour;
      } else {
        throw EQelPNG(kErrColourDepth);
      }
      return;
  }
}

// Everything the decode allocates is measured before any of it is: the
// target, the transparency bitmap, the row buffers and the inflater's output
// block (the longest row and a block ahead).
void TQelPNGReadStream::CheckImageSize() const {
  const std::int64_t limit = std::min(MaxImageBytes, kMaxBitmapBytes);
  auto fits = [&](std::int64_t rowBytes, std::int64_t rows) { return rowBytes <= limit / rows; };
  const bool alpha = AlphaTarget && (HasAlpha || TransparentColor == kPaletteTransparencyPending);
  const std::int64_t pngRow = ScanLineBytes(Width, bitsPerPixel_) + 4;
  const std::int64_t rowBlock = 2 * pngRow + ScanLineBytes(Width, Bits) + 4 + ScanLineBytes(Width, 8) + pngRow +
                                kInflateAheadSize;
  if (!fits(ScanLineBytes(Width, Bits), Height) || (alpha && !fits(ScanLineBytes(Width, 8), Height)) ||
      rowBlock > limit) {
    throw EQelPNG(kErrImageTooLarge);
  }
}

void TQelPNGReadStream::SetupBitmap() {
  if (colourType_ == 0 && Bits <= 8) PaletteCount = MakeGrayQuads(PaletteBuffer(), DecoderValue);
  if (TransparentColor == kPaletteTransparencyPending) {
    // One fully transparent index and all others opaque is a transparent
    // colour; anything else needs a transparency bitmap.
    int clear = 0, opaque = 0, clearIndex = 0;
    for (int i = 0; i < 256; ++i) {
      if (paletteAlpha_[i] == 0) clear++, clearIndex = i;
      if (paletteAlpha_[i] == 255) opaque++;
    }
    if (clear == 1 && opaque == 255) {
      TransparentColor = kPaletteIndexMark + clearIndex;
    } else {
      TransparentColor = kNoColor;
      paletteAlphaNeeded_ = true;
    }
  }
  TQelCustomGraphicReadStream::SetupBitmap();
  if ((HasAlpha || paletteAlphaNeeded_) && AlphaTarget) {
    AlphaTarget->Clear();
    AlphaTarget->SetTransparent(false);
    AlphaTarget->SetFormat(PixelFormat::Bit8);
    AlphaTarget->SetSize(Width, Height);
    QuadTable grey;
    AlphaTarget->SetPalette(QuadsToPalette(grey, MakeGrayQuads(grey, 8)));
    alphaInUse_ = AlphaTarget;
  }
}

void TQelPNGReadStream::DecodeRows() {
  const std::int32_t width = bitmap_->Width(), height = bitmap_->Height();
  const std::vector<Pass> passes = PassesOf(Interlace, width, height);
  std::int64_t totalRows = 0;
  for (const Pass& p : passes) totalRows += PassCount(height, p.firstRow, p.rowStep);
  ProgressStage(1, static_cast<std::int32_t>(totalRows), 98);

  const std::int32_t pixelBytes = Bits >= 8 ? Bits / 8 : 1;
  std::int32_t counter = 1;
  for (const Pass& pass : passes) {
    passWidth_ = PassCount(width, pass.firstColumn, pass.columnStep);
    const std::int32_t unit = Bits >= 8 ? pixelBytes : 1;
    passStart_ = pass.firstColumn * unit;
    passStep_ = pass.columnStep * unit;
    alphaStart_ = pass.firstColumn;
    alphaStep_ = pass.columnStep;
    rows_.RowLength = static_cast<std::int32_t>(PackedBytes(passWidth_, bitsPerPixel_)) + 1;
    std::memset(rows_.PreviousRow, 0, static_cast<std::size_t>(rows_.RowLength));
    for (std::int32_t y = pass.firstRow; y < height; y += pass.rowStep, ++counter) {
      DecodeRow(bitmap_->ScanLine(y), alphaInUse_ ? alphaInUse_->ScanLine(y) : nullptr, counter);
      if (counter % 4 == 2 || height < 4) ProgressStep(counter);
      if (stopped_) break;
    }
    if (stopped_ || readError_) break;
  }
}

void TQelPNGReadStream::DecodeRow(std::uint8_t* target, std::uint8_t* alpha, std::int32_t counter) {
  if (ZInflateRow(rows_) < 0) throw EQelPNG(kErrReadImage);
  // The row above for unfiltering is always the row as inflated: with a hook,
  // that row is kept aside before the hook may change CurrentRow.
  const bool hook = !rowKeyInUse_.empty() && OnReadRow;
  if (hook) {
    std::memcpy(rows_.PreviousRow, rows_.CurrentRow, static_cast<std::size_t>(rows_.RowLength));
    OnReadRow(*this, rows_.CurrentRow + 1, rowKeyInUse_, counter - 1, rows_.RowLength - 1);
  }
  // Without interlacing a converted row is the target row itself.
  std::uint8_t* out = Interlace == 0 ? target : convertedRow_;
  const std::uint8_t* converted = ConvertRow(out);
  if (converted != target) PlaceRow(converted, target);
  if (alpha) PlaceAlpha(alpha);
  if (!hook) std::swap(rows_.CurrentRow, rows_.PreviousRow);
}

// Turns the inflated PNG row into target pixels in `out` (and transparency
// bytes into alphaRow_); returns where the target pixels are, which is the
// inflated row itself when it needs no change.
const std::uint8_t* TQelPNGReadStream::ConvertRow(std::uint8_t* out) {
  const std::uint8_t* src = rows_.CurrentRow + 1;
  const std::int32_t n = passWidth_;
  switch (conversion_) {
    case RowConversion::Copy: return src;
    case RowConversion::TwoToFour: {
      const std::int32_t whole = n / 4;
      for (std::int32_t i = 0; i < whole; ++i) {
        out[2 * i] = kTwoToFour[src[i]][0];
        out[2 * i + 1] = kTwoToFour[src[i]][1];
      }
      // The samples of a last, partly used byte: the padding bits are not
      // samples and give 0.
      for (std::int32_t k = 4 * whole; k < n; k += 2) {
        std::uint8_t pair = static_cast<std::uint8_t>(src[k >> 2] << (2 * (k & 3)));
        out[k >> 1] = static_cast<std::uint8_t>(((pair >> 6) << 4) | (k + 1 < n ? (pair >> 4) & 3 : 0));
      }
      return out;
    }
    case RowConversion::Grey: {
      const int channels = HasAlpha ? 2 : 1;
      const int sampleBytes = bitsPerPixel_ / (8 * channels);
      for (std::int32_t k = 0; k < n; ++k) {
        const std::uint8_t* p = src + static_cast<std::ptrdiff_t>(k) * channels * sampleBytes;
        out[k] = p[0];
        if (HasAlpha) alphaRow_[k] = static_cast<std::uint8_t>(255 - p[sampleBytes]);
      }
      return out;
    }
    case RowConversion::Rgb:
    case RowConversion::Rgb565: {
      const int channels = HasAlpha ? 4 : 3;
      const int sampleBytes = bitsPerPixel_ / (8 * channels);
      if (conversion_ == RowConversion::Rgb && bitsPerPixel_ == 24) {
        // The common case on its own: red and blue change places.
        for (std::int32_t k = 0; k < 3 * n; k += 3) out[k] = src[k + 2], out[k + 1] = src[k + 1], out[k + 2] = src[k];
        return out;
      }
      // With 16-bit samples the high byte of each sample is the one taken.
      for (std::int32_t k = 0; k < n; ++k) {
        const std::uint8_t* p = src + static_cast<std::ptrdiff_t>(k) * channels * sampleBytes;
        std::uint8_t red = p[0], green = p[sampleBytes], blue = p[2 * sampleBytes];
        if (conversion_ == RowConversion::Rgb) {
          out[3 * k] = blue, out[3 * k + 1] = green, out[3 * k + 2] = red;
        } else {
          auto word = static_cast<std::uint16_t>(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
          out[2 * k] = static_cast<std::uint8_t>(word), out[2 * k + 1] = static_cast<std::uint8_t>(word >> 8);
        }
        if (HasAlpha) alphaRow_[k] = static_cast<std::uint8_t>(255 - p[3 * sampleBytes]);
      }
      return out;
    }
  }
  return src;
}

void TQelPNGReadStream::PlaceRow(const std::uint8_t* converted, std::uint8_t* target) const {
  const std::int32_t n = passWidth_;
  if (Interlace == 0) {
    std::memcpy(target, converted, static_cast<std::size_t>(PackedBytes(n, Bits)));
    return;
  }
  std::int32_t x = passStart_;
  if (Bits == 1) {
    for (std::int32_t k = 0; k < n; ++k, x += passStep_) {
      auto mask = static_cast<std::uint8_t>(0x80 >> (x & 7));
      bool set = (converted[k >> 3] >> (7 - (k & 7))) & 1;
      target[x >> 3] = static_cast<std::uint8_t>(set ? target[x >> 3] | mask : target[x >> 3] & ~mask);
    }
  } else if (Bits == 4) {
    for (std::int32_t k = 0; k < n; ++k, x += passStep_) {
      std::uint8_t v = (k & 1) ? converted[k >> 1] & 0x0F : converted[k >> 1] >> 4;
      std::uint8_t& b = target[x >> 1];
      b = static_cast<std::uint8_t>((x & 1) ? (b & 0xF0) | v : (b & 0x0F) | (v << 4));
    }
  } else if (Bits == 8) {
    SpreadPixels<1>(converted, target, x, passStep_, n);
  } else if (Bits == 16) {
    SpreadPixels<2>(converted, target, x, passStep_, n);
  } else {
    SpreadPixels<3>(converted, target, x, passStep_, n);
  }
}

void TQelPNGReadStream::PlaceAlpha(std::uint8_t* alpha) const {
  if (Interlace == 0) {
    std::memcpy(alpha, alphaRow_, static_cast<std::size_t>(passWidth_));
    return;
  }
  std::int32_t x = alphaStart_;
  for (std::int32_t k = 0; k < passWidth_; ++k, x += alphaStep_) alpha[x] = alphaRow_[k];
}

void TQelPNGReadStream::SpreadPaletteAlpha() {
  const std::int32_t width = bitmap_->Width(), height = bitmap_->Height();
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* row = bitmap_->ScanLine(y);
    std::uint8_t* alpha = alphaInUse_->ScanLine(y);
    for (std::int32_t x = 0; x < width; ++x) {
      std::uint8_t index = Bits == 1   ? (row[x >> 3] >> (7 - (x & 7))) & 1
                           : Bits == 4 ? ((x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4)
                                       : row[x];
      alpha[x] = static_cast<std::uint8_t>(255 - paletteAlpha_[index]);
    }
  }
  HasAlpha = true;
}

// Feeds the inflater from the IDAT chunks: when one is used up, the next
// chunk must be IDAT too. Empty IDAT chunks are passed over (reading zero
// bytes would stop the stream).
std::int32_t TQelPNGReadStream::FillInput(ZRowStream& rows) {
  while (chunkLeft_ <= 0) {
    ReadLongBE();  // the CRC of the chunk just used up
    if (!ReadChunkHeader() || chunkType_ != ChunkType("IDAT")) return -1;
  }
  const std::int64_t count = std::min<std::int64_t>(chunkLeft_, rows.ChunkBufferSize);
  ReadBytes(rows.ChunkBuffer, count);
  chunkLeft_ -= count;
  if (readError_) return -1;
  rows.ZSetInput(static_cast<std::int32_t>(count));
  return 0;
}

}  // namespace quorvex
