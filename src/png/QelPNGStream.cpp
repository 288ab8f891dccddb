#include "png/QelPNGStream.h"

#include <zlib.h>

#include <cstring>
#include <vector>

namespace quorvex {

namespace {

constexpr std::uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr char kSoftware[] = "QelPNG ver 3.4";
constexpr std::int32_t kMinIDATSize = 256;
constexpr std::int32_t kMaxIDATSize = 100000;

// The seven passes of Adam7: first column, first row, column step, row step.
constexpr std::int32_t kAdam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                       {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

std::int32_t Luma(std::int32_t red, std::int32_t green, std::int32_t blue) {
  return (red * 77 + green * 150 + blue * 29) >> 8;
}

std::uint8_t Widen5(std::uint32_t v) { return static_cast<std::uint8_t>(v * 8 + (v >> 2)); }
std::uint8_t Widen6(std::uint32_t v) { return static_cast<std::uint8_t>(v * 4 + (v >> 4)); }

void PutBE32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 24));
  out.push_back(static_cast<std::uint8_t>(v >> 16));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

void PutBE16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

bool ValidTime(const DateTime& t) {
  return t.Year >= 1 && t.Month >= 1 && t.Month <= 12 && t.Day >= 1 && t.Day <= 31 && t.Hour <= 23 &&
         t.Minute <= 59 && t.Second <= 60;
}

std::int32_t PassCount(std::int32_t size, std::int32_t first, std::int32_t step) {
  return size > first ? (size - first + step - 1) / step : 0;
}

}  // namespace

TQelPNGWriteStream::TQelPNGWriteStream() {
  rows_.Callback = [this](ZRowStream& rows) {
    WriteChunk(ChunkType("IDAT"), rows.ChunkBuffer, rows.ChunkFilled());
    return 0;
  };
}

TQelPNGWriteStream::~TQelPNGWriteStream() = default;

void TQelPNGWriteStream::SetIDATSize(std::int32_t size) {
  if (size < kMinIDATSize || size > kMaxIDATSize) throw EQelPNG(kErrIDATSize);
  idatSize_ = size;
}

void TQelPNGWriteStream::WriteChunk(std::uint32_t type, const std::uint8_t* data, std::int32_t length) {
  std::uint8_t typeBytes[4] = {static_cast<std::uint8_t>(type >> 24), static_cast<std::uint8_t>(type >> 16),
                               static_cast<std::uint8_t>(type >> 8), static_cast<std::uint8_t>(type)};
  WriteLongBE(static_cast<std::uint32_t>(length));
  WriteLongBE(type);
  uLong crc = crc32(0, typeBytes, 4);
  if (data && length > 0) {
    WriteBytes(data, length);
    crc = crc32(crc, data, static_cast<uInt>(length));
  }
  WriteLongBE(static_cast<std::uint32_t>(crc));
}

void TQelPNGWriteStream::WriteImage() {
  Bitmap& source = *bitmap_;
  acceptedAlpha_ = nullptr;
  hasAlpha_ = grayOutput_ = false;
  srcBits_ = PixelFormatToBits(source.Format());
  outBits_ = (srcBits_ == 15 || srcBits_ == 16) ? 24 : srcBits_;
  // A PNG has at least one pixel; an empty bitmap would give an invalid file.
  if (source.Empty()) throw EQelPNG(kErrEmptyImage);
  const Bitmap* alpha = AlphaBitmap;
  if (alpha && alpha != &source && !alpha->Empty() && alpha->Width() == source.Width() &&
      alpha->Height() == source.Height() && alpha->Format() == PixelFormat::Bit8) {
    acceptedAlpha_ = alpha;
  }
  // A palette bitmap without palette entries is written with the grey ramp its
  // indexes stand for: colour type 3 needs a PLTE chunk.
  palette_ = source.GetPalette();
  if (srcBits_ <= 8 && palette_.empty()) palette_ = GreyRampPalette(srcBits_);

  try {
    ProgressBegin();
    ProgressStage(1, 10, 30);
    if (WriteSignature) WriteBytes(kSignature, sizeof kSignature);
    WriteHeaderChunks();
    ProgressStep(10);
    if (!stopped_) {
      WriteImageData();
      if (!stopped_) {
        WriteChunk(ChunkType("IEND"), nullptr, 0);
        ProgressEnd();
      }
    }
  } catch (...) {
    ZDeflateClose(rows_);
    rowBlock_.reset();
    throw;
  }
  ZDeflateClose(rows_);
  rowBlock_.reset();
}

void TQelPNGWriteStream::DecideOutput() {
  grayOutput_ = GrayScale;
  if (srcBits_ <= 8) {
    bitsPerPixel_ = srcBits_;
    if (GrayScale && srcBits_ == 8 && acceptedAlpha_) {
      bitsPerPixel_ = 16;
      hasAlpha_ = true;
    }
  } else if (!GrayScale) {
    bitsPerPixel_ = acceptedAlpha_ ? 32 : 24;
    hasAlpha_ = acceptedAlpha_ != nullptr;
  } else {
    outBits_ = 8;
    bitsPerPixel_ = acceptedAlpha_ ? 16 : 8;
    hasAlpha_ = acceptedAlpha_ != nullptr;
  }
}

void TQelPNGWriteStream::WriteHeaderChunks() {
  const Bitmap& source = *bitmap_;
  DecideOutput();
  std::uint8_t depth = static_cast<std::uint8_t>(srcBits_ <= 8 ? srcBits_ : 8);
  std::uint8_t colourType = 0;
  if (!GrayScale) colourType = srcBits_ <= 8 ? 3 : (hasAlpha_ ? 6 : 2);
  else colourType = hasAlpha_ ? 4 : 0;

  std::vector<std::uint8_t> data;
  PutBE32(data, static_cast<std::uint32_t>(source.Width()));
  PutBE32(data, static_cast<std::uint32_t>(source.Height()));
  // Only Adam7 (1) is an interlace method; any other value writes rows in order.
  data.insert(data.end(), {depth, colourType, 0, 0, static_cast<std::uint8_t>(Interlace == 1 ? 1 : 0)});
  WriteChunk(ChunkType("IHDR"), data.data(), static_cast<std::int32_t>(data.size()));
  srcStride_ = DibRowStride(source.Width(), outBits_);
  rows_.DepthClass = outBits_;

  const DateTime now = UseCurrentTime ? CurrentUtcTime() : DateTime{};
  const DateTime* time = UseCurrentTime ? &now : StoredTime;
  if (time && ValidTime(*time)) {
    data.clear();
    PutBE16(data, time->Year);
    data.insert(data.end(), {time->Month, time->Day, time->Hour, time->Minute, time->Second});
    WriteChunk(ChunkType("tIME"), data.data(), 7);
  }

  WriteTextChunk("Comment", Comment);
  WriteTextChunk("Software", kSoftware);

  bool keyed = !RowKey.empty() && OnWriteRow;
  const std::uint8_t tpng[8] = {'Q', 'e', 'l', '3', static_cast<std::uint8_t>(keyed ? 1 : 0), 0, 0, 0};
  WriteChunk(ChunkType("tpNG"), tpng, 8);

  if (GifExtension) {
    const GifExtensionData& gif = *GifExtension;
    if (gif[0] != 0 || gif[1] != 0 || gif[2] != 0 || gif[3] != 0) WriteChunk(ChunkType("gIFg"), gif.data(), 4);
  }

  auto gamma = static_cast<std::int64_t>(Gamma * 100000.0);
  if (gamma > 0) {
    data.clear();
    PutBE32(data, static_cast<std::uint32_t>(gamma));
    WriteChunk(ChunkType("gAMA"), data.data(), 4);
  }

  if (Chromaticity && (*Chromaticity)[0] != 0 && (*Chromaticity)[1] != 0) {
    data.clear();
    for (std::uint32_t value : *Chromaticity) PutBE32(data, value);
    WriteChunk(ChunkType("cHRM"), data.data(), 32);
  }

  std::int32_t significant = SignificantBits;
  if (srcBits_ == 15) significant = 0x050505 | (hasAlpha_ ? 0x08000000 : 0);
  if (srcBits_ == 16) significant = 0x050605 | (hasAlpha_ ? 0x08000000 : 0);
  if (significant > 0 && !grayOutput_) {
    const std::uint8_t sbit[4] = {static_cast<std::uint8_t>(significant), static_cast<std::uint8_t>(significant >> 8),
                                  static_cast<std::uint8_t>(significant >> 16),
                                  static_cast<std::uint8_t>(significant >> 24)};
    WriteChunk(ChunkType("sBIT"), sbit, hasAlpha_ ? 4 : 3);
  }

  if (!grayOutput_ && outBits_ <= 8 && !palette_.empty()) {
    data.clear();
    std::size_t count = std::min<std::size_t>(palette_.size(), kMaxPaletteEntries);
    for (std::size_t i = 0; i < count; ++i) data.insert(data.end(), {palette_[i].Red, palette_[i].Green, palette_[i].Blue});
    WriteChunk(ChunkType("PLTE"), data.data(), static_cast<std::int32_t>(data.size()));
  }

  if (BackgroundColor != kNoColor) WriteColourChunk(ChunkType("bKGD"), BackgroundColor);
  if (TransparentColor != kNoColor && !hasAlpha_) WriteColourChunk(ChunkType("tRNS"), TransparentColor);

  if (PhysX >= 1 && PhysY >= 1) {
    std::int64_t x = PhysX, y = PhysY;
    std::uint8_t unit = PhysUnit == 1 || PhysUnit == 2 ? 1 : 0;
    if (PhysUnit == 2) {
      x = static_cast<std::int64_t>(x * 100.0 / 254.0 * 100.0);
      y = static_cast<std::int64_t>(y * 100.0 / 254.0 * 100.0);
    }
    data.clear();
    PutBE32(data, static_cast<std::uint32_t>(x));
    PutBE32(data, static_cast<std::uint32_t>(y));
    data.push_back(unit);
    WriteChunk(ChunkType("pHYs"), data.data(), 9);
  }
}

void TQelPNGWriteStream::WriteTextChunk(std::string_view keyword, std::string_view text) {
  if (keyword.size() > 79 || text.empty()) return;
  std::vector<std::uint8_t> data(keyword.begin(), keyword.end());
  data.push_back(0);
  data.insert(data.end(), text.begin(), text.end());
  WriteChunk(ChunkType("tEXt"), data.data(), static_cast<std::int32_t>(data.size()));
}

std::int32_t TQelPNGWriteStream::GreyLevel(std::int32_t color) const {
  std::int32_t y = Luma(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
  if (srcBits_ == 1) return y >= 128 ? 1 : 0;
  if (srcBits_ == 4) return y >> 4;
  return y;
}

void TQelPNGWriteStream::WriteColourChunk(std::uint32_t type, ColorRef color) {
  std::vector<std::uint8_t> data;
  bool marksIndex = (color & kPaletteIndexMark) != 0;
  if (grayOutput_) {
    if (marksIndex && srcBits_ <= 8) color = PaletteEntryColor(palette_, color & 0xFF);
    PutBE16(data, static_cast<std::uint32_t>(GreyLevel(color)));
  } else if (srcBits_ <= 8) {
    std::int32_t index = marksIndex ? (color & 0xFF) : NearestPaletteIndex(palette_, color);
    // An index the PLTE chunk does not hold would make the file invalid.
    if (index < 0 || index >= static_cast<std::int32_t>(palette_.size())) return;
    if (type == ChunkType("bKGD")) {
      data.push_back(static_cast<std::uint8_t>(index));
    } else {
      data.assign(static_cast<std::size_t>(index) + 1, 255);
      data.back() = 0;
    }
  } else {
    for (int shift : {0, 8, 16}) PutBE16(data, static_cast<std::uint32_t>((color >> shift) & 0xFF));
  }
  WriteChunk(type, data.data(), static_cast<std::int32_t>(data.size()));
}

std::int32_t TQelPNGWriteStream::TotalRows() const {
  const std::int32_t width = bitmap_->Width(), height = bitmap_->Height();
  if (Interlace != 1) return height;
  std::int32_t total = 0;
  for (const auto& p : kAdam7) {
    if (PassCount(width, p[0], p[2]) > 0) total += PassCount(height, p[1], p[3]);
  }
  return total;
}

void TQelPNGWriteStream::BuildGrayMap() {
  QuadTable quads{};
  std::int32_t count = PaletteToQuads(palette_, quads);
  auto y = [&](int i) { return i < count ? Luma(quads[i].Red, quads[i].Green, quads[i].Blue) : 0; };
  grayMap_.fill(0);
  if (srcBits_ == 1) {
    grayMap_[0] = y(0) > y(1) ? 255 : 0;
  } else {
    for (int i = 0; i < (1 << srcBits_); ++i) grayMap_[i] = static_cast<std::uint8_t>(srcBits_ == 4 ? y(i) >> 4 : y(i));
  }
}

void TQelPNGWriteStream::WriteImageData() {
  const std::int32_t width = bitmap_->Width();
  // Four row buffers on 32-byte boundaries, then the 256 counts of the row score.
  const std::size_t rowSize = static_cast<std::size_t>((DibRowStride(width, bitsPerPixel_) + 39) & ~31);
  rowBlock_ = std::make_unique<std::uint8_t[]>(4 * rowSize + 32 + 256 * sizeof(std::int32_t));
  auto base = reinterpret_cast<std::uintptr_t>(rowBlock_.get());
  std::uint8_t* aligned = rowBlock_.get() + ((32 - base % 32) % 32);
  rows_.CurrentRow = aligned;
  rows_.PreviousRow = aligned + rowSize;
  rows_.BestRow = aligned + 2 * rowSize;
  rows_.TrialRow = aligned + 3 * rowSize;
  rows_.Counts = reinterpret_cast<std::int32_t*>(aligned + 4 * rowSize);
  rows_.BitsPerPixel = bitsPerPixel_;

  if (grayOutput_ && srcBits_ <= 8) BuildGrayMap();
  ZDeflateOpen(rows_, (CompressionLevel >= 0 && CompressionLevel <= 9) ? CompressionLevel : -1, idatSize_);
  rows_.FilterMode = FilterMode;
  ProgressStage(1, TotalRows(), 0);

  try {
    WriteRows();
  } catch (...) {
    // What was compressed still leaves as IDAT chunks; the exception wins over
    // any further trouble while doing so.
    try {
      ZDeflateFinish(rows_);
    } catch (...) {
    }
    ZDeflateClose(rows_);
    rowBlock_.reset();
    throw;
  }
  std::int32_t finished = ZDeflateFinish(rows_);
  ZDeflateClose(rows_);
  rowBlock_.reset();
  // Unfinished compressed data followed by IEND would be a broken file reported as written.
  if (finished < 0) throw EQelPNG(kErrWriteImage);
}

void TQelPNGWriteStream::WriteRows() {
  const std::int32_t width = bitmap_->Width(), height = bitmap_->Height();
  const Pass whole = {0, 0, 1, 1};
  std::vector<Pass> passes;
  if (Interlace == 1) {
    for (const auto& p : kAdam7) {
      if (PassCount(width, p[0], p[2]) > 0 && PassCount(height, p[1], p[3]) > 0) passes.push_back({p[0], p[1], p[2], p[3]});
    }
  } else {
    passes.push_back(whole);
  }

  std::int32_t counter = 1;
  for (const Pass& pass : passes) {
    passWidth_ = PassCount(width, pass.firstColumn, pass.columnStep);
    startPixel_ = pass.firstColumn;
    stepPixels_ = pass.columnStep;
    rows_.RowLength = static_cast<std::int32_t>((static_cast<std::int64_t>(passWidth_) * bitsPerPixel_ + 7) >> 3) + 1;
    std::memset(rows_.PreviousRow, 0, static_cast<std::size_t>(rows_.RowLength));
    for (std::int32_t y = pass.firstRow; y < height; y += pass.rowStep, ++counter) {
      ConvertRow(y);
      if (!RowKey.empty() && OnWriteRow) OnWriteRow(*this, rows_.CurrentRow, RowKey, counter - 1, rows_.RowLength - 1);
      if (ZDeflateRow(rows_) < 0) throw EQelPNG(kErrWriteImage);
      std::swap(rows_.CurrentRow, rows_.PreviousRow);
      if (counter % 4 == 2 || height < 4) ProgressStep(counter);
      if (stopped_) return;
    }
  }
}

void TQelPNGWriteStream::ConvertRow(std::int32_t y) {
  const std::uint8_t* src = bitmap_->ScanLine(y);
  const std::uint8_t* alpha = hasAlpha_ ? acceptedAlpha_->ScanLine(y) : nullptr;
  std::uint8_t* out = rows_.CurrentRow;
  const std::int32_t n = passWidth_, step = stepPixels_;
  const bool whole = step == 1;
  std::int32_t x = startPixel_;

  switch (srcBits_) {
    case 1: {
      if (whole) {
        std::memcpy(out, src, static_cast<std::size_t>(srcStride_));
      } else {
        std::memset(out, 0, static_cast<std::size_t>(rows_.RowLength - 1));
        for (std::int32_t k = 0; k < n; ++k, x += step) {
          if ((src[x >> 3] >> (7 - (x & 7))) & 1) out[k >> 3] |= static_cast<std::uint8_t>(0x80 >> (k & 7));
        }
      }
      if (grayOutput_ && grayMap_[0] == 255) {
        for (std::int32_t i = 0; i < rows_.RowLength - 1; ++i) out[i] = static_cast<std::uint8_t>(~out[i]);
      }
      return;
    }
    case 4: {
      if (whole && !grayOutput_) {
        std::memcpy(out, src, static_cast<std::size_t>(srcStride_));
        return;
      }
      std::memset(out, 0, static_cast<std::size_t>(rows_.RowLength - 1));
      for (std::int32_t k = 0; k < n; ++k, x += step) {
        std::uint8_t v = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
        if (grayOutput_) v = grayMap_[v] & 0x0F;
        out[k >> 1] |= static_cast<std::uint8_t>((k & 1) ? v : v << 4);
      }
      return;
    }
    case 8: {
      if (!grayOutput_) {
        if (whole) std::memcpy(out, src, static_cast<std::size_t>(n));
        else for (std::int32_t k = 0; k < n; ++k, x += step) out[k] = src[x];
        return;
      }
      for (std::int32_t k = 0; k < n; ++k, x += step) {
        *out++ = grayMap_[src[x]];
        if (hasAlpha_) *out++ = static_cast<std::uint8_t>(255 - alpha[x]);
      }
      return;
    }
    default: break;
  }

  if (srcBits_ == 24 && whole && !grayOutput_ && !hasAlpha_) {
    // The common case of the conversion gets a loop of its own: swap blue and red.
    for (std::int32_t k = 0; k < n; ++k, src += 3, out += 3) {
      out[0] = src[2], out[1] = src[1], out[2] = src[0];
    }
    return;
  }
  for (std::int32_t k = 0; k < n; ++k, x += step) {
    std::uint8_t r, g, b;
    if (srcBits_ == 15 || srcBits_ == 16) {
      std::uint32_t w = src[2 * x] | (src[2 * x + 1] << 8);
      if (srcBits_ == 15) {
        r = Widen5((w >> 10) & 31), g = Widen5((w >> 5) & 31), b = Widen5(w & 31);
      } else {
        r = Widen5((w >> 11) & 31), g = Widen6((w >> 5) & 63), b = Widen5(w & 31);
      }
    } else {
      const std::uint8_t* p = src + x * (srcBits_ == 32 ? 4 : 3);
      b = p[0], g = p[1], r = p[2];
    }
    if (grayOutput_) {
      *out++ = static_cast<std::uint8_t>(Luma(r, g, b));
    } else {
      out[0] = r, out[1] = g, out[2] = b;
      out += 3;
    }
    if (hasAlpha_) *out++ = static_cast<std::uint8_t>(255 - alpha[x]);
  }
}

}  // namespace quorvex
