#include "png/QelZLIB.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace quorvex {

namespace {

constexpr std::int32_t kMaxChunkBufferSize = 262143;
constexpr std::int32_t kInflateBufferSize = 32768;

voidpf AllocateForZlib(voidpf, uInt items, uInt size) {
  if (size != 0 && items > SIZE_MAX / size) return nullptr;
  return std::malloc(static_cast<std::size_t>(items) * size);
}

void FreeForZlib(voidpf, voidpf address) { std::free(address); }

void PrepareZ(z_stream& z) {
  z = z_stream{};
  z.zalloc = AllocateForZlib;
  z.zfree = FreeForZlib;
}

void ResetOutput(ZRowStream& rows) {
  rows.Z.next_out = rows.ChunkBuffer;
  rows.Z.avail_out = static_cast<uInt>(rows.ChunkBufferSize);
}

int BytesPerPixel(std::int32_t bitsPerPixel) { return bitsPerPixel < 8 ? 1 : (bitsPerPixel + 7) / 8; }

std::uint8_t PaethPredictor(int a, int b, int c) {
  int p = a + b - c;
  int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
  if (pb <= pc) return static_cast<std::uint8_t>(b);
  return static_cast<std::uint8_t>(c);
}

}  // namespace

ZRowStream::~ZRowStream() {
  if (Deflating) ZDeflateClose(*this);
  if (Inflating || ChunkBuffer) ZInflateClose(*this);
}

void ZRowStream::ZSetInput(std::int32_t count) {
  Z.next_in = ChunkBuffer;
  Z.avail_in = static_cast<uInt>(count);
}

// ---------------------------------------------------------------- deflate

std::int32_t ZDeflateOpen(ZRowStream& rows, std::int32_t level, std::int32_t size) {
  if (size < 1 || size > kMaxChunkBufferSize) size = kDefaultChunkBufferSize;
  if (rows.Inflating) ZInflateClose(rows);
  if (rows.ChunkBuffer) ZDeflateClose(rows);
  rows.ChunkBuffer = new (std::nothrow) std::uint8_t[static_cast<std::size_t>(size)];
  if (!rows.ChunkBuffer) return -1;
  rows.ChunkBufferSize = size;
  PrepareZ(rows.Z);
  ResetOutput(rows);
  if (deflateInit(&rows.Z, level) != Z_OK) return -1;
  rows.Deflating = true;
  return 0;
}

std::int32_t ZDeflateWrite(ZRowStream& rows, const std::uint8_t* data, std::int32_t length) {
  if (!rows.Deflating) return Z_STREAM_ERROR;
  rows.Z.next_in = const_cast<Bytef*>(data);
  rows.Z.avail_in = static_cast<uInt>(length);
  while (rows.Z.avail_in > 0) {
    int result = deflate(&rows.Z, Z_NO_FLUSH);
    if (result < 0) return result;
    // The check follows every deflate call, so the output never enters the
    // next call full (zlib would answer a full output with Z_BUF_ERROR).
    if (rows.Z.avail_out == 0) {
      std::int32_t stop = rows.Callback ? rows.Callback(rows) : 0;
      if (stop != 0) return stop;
      ResetOutput(rows);
    }
  }
  return 0;
}

std::int32_t ZDeflateRow(ZRowStream& rows) {
  ZChooseFilter(rows);
  return ZDeflateWrite(rows, rows.BestRow, rows.RowLength);
}

std::int32_t ZDeflateFinish(ZRowStream& rows) {
  if (!rows.Deflating) return -1;
  rows.Z.next_in = nullptr;
  rows.Z.avail_in = 0;
  for (;;) {
    int result = deflate(&rows.Z, Z_FINISH);
    if (result < 0) return -1;
    if (result == Z_STREAM_END) break;
    if (rows.Z.avail_out == 0) {
      std::int32_t stop = rows.Callback ? rows.Callback(rows) : 0;
      if (stop != 0) return stop;
      ResetOutput(rows);
    }
  }
  if (rows.ChunkFilled() > 0 && rows.Callback) rows.Callback(rows);
  deflateReset(&rows.Z);
  ResetOutput(rows);
  return 0;
}

void ZDeflateClose(ZRowStream& rows) {
  delete[] rows.ChunkBuffer;
  rows.ChunkBuffer = nullptr;
  rows.ChunkBufferSize = 0;
  if (rows.Deflating) deflateEnd(&rows.Z);
  rows.Deflating = false;
}

// ---------------------------------------------------------------- inflate

std::int32_t ZInflateOpen(ZRowStream& rows) {
  if (rows.Deflating) ZDeflateClose(rows);
  if (rows.ChunkBuffer) ZInflateClose(rows);
  rows.ChunkBuffer = new (std::nothrow) std::uint8_t[kInflateBufferSize];
  if (!rows.ChunkBuffer) return -1;
  rows.ChunkBufferSize = kInflateBufferSize;
  PrepareZ(rows.Z);
  rows.ZSetInput(0);
  if (inflateInit(&rows.Z) != Z_OK) return -1;
  rows.Inflating = true;
  return 0;
}

std::int32_t ZInflateRead(ZRowStream& rows, std::uint8_t* data, std::int32_t length) {
  if (!rows.Inflating) return Z_STREAM_ERROR;
  rows.Z.next_out = data;
  rows.Z.avail_out = static_cast<uInt>(length);
  while (rows.Z.avail_out > 0) {
    if (rows.Z.avail_in == 0) {
      std::int32_t stop = rows.Callback ? rows.Callback(rows) : -1;
      if (stop != 0) return stop;
    }
    int result = inflate(&rows.Z, Z_NO_FLUSH);
    if (result < 0) return result;
    // A stream that ended early, or one that wants a preset dictionary we do
    // not have, can never complete the row.
    if (result == Z_STREAM_END && rows.Z.avail_out > 0) return -1;
    if (result == Z_NEED_DICT) return -1;
  }
  return 0;
}

void ZInflateReset(ZRowStream& rows) {
  if (rows.Inflating) inflateReset(&rows.Z);
  rows.ZSetInput(0);
}

std::int32_t ZInflateRow(ZRowStream& rows) {
  std::int32_t result = ZInflateRead(rows, rows.CurrentRow, rows.RowLength);
  if (result < 0) return result;
  return ZUnfilterRow(rows);
}

std::int32_t ZUnfilterRow(ZRowStream& rows) {
  std::uint8_t* row = rows.CurrentRow + 1;
  const std::uint8_t* above = rows.PreviousRow + 1;
  std::int32_t n = rows.RowLength - 1;
  int bpp = BytesPerPixel(rows.BitsPerPixel);
  switch (rows.CurrentRow[0]) {
    case 0: return 0;
    case 1:
      for (std::int32_t i = bpp; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - bpp]);
      return 0;
    case 2:
      for (std::int32_t i = 0; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + above[i]);
      return 0;
    case 3:
      for (std::int32_t i = 0; i < n; ++i) {
        int left = i >= bpp ? row[i - bpp] : 0;
        row[i] = static_cast<std::uint8_t>(row[i] + ((left + above[i]) >> 1));
      }
      return 0;
    case 4:
      for (std::int32_t i = 0; i < n; ++i) {
        int left = i >= bpp ? row[i - bpp] : 0;
        int upperLeft = i >= bpp ? above[i - bpp] : 0;
        row[i] = static_cast<std::uint8_t>(row[i] + PaethPredictor(left, above[i], upperLeft));
      }
      return 0;
    default: return -1;
  }
}

void ZInflateClose(ZRowStream& rows) {
  delete[] rows.ChunkBuffer;
  rows.ChunkBuffer = nullptr;
  rows.ChunkBufferSize = 0;
  if (rows.Inflating) inflateEnd(&rows.Z);
  rows.Inflating = false;
}

// ---------------------------------------------------------------- filters

void ZFilterRow(int type, const std::uint8_t* raw, const std::uint8_t* previous, std::uint8_t* out,
                std::int32_t length, std::int32_t bytesPerPixel) {
  std::int32_t n = length - 1;
  std::int32_t bpp = bytesPerPixel;
  out[0] = static_cast<std::uint8_t>(type);
  std::uint8_t* f = out + 1;
  switch (type) {
    case 1:
      for (std::int32_t i = 0; i < n; ++i) f[i] = static_cast<std::uint8_t>(raw[i] - (i >= bpp ? raw[i - bpp] : 0));
      break;
    case 2:
      for (std::int32_t i = 0; i < n; ++i) f[i] = static_cast<std::uint8_t>(raw[i] - previous[i]);
      break;
    case 3:
      for (std::int32_t i = 0; i < n; ++i) {
        int left = i >= bpp ? raw[i - bpp] : 0;
        f[i] = static_cast<std::uint8_t>(raw[i] - ((left + previous[i]) >> 1));
      }
      break;
    case 4:
      for (std::int32_t i = 0; i < n; ++i) {
        int left = i >= bpp ? raw[i - bpp] : 0;
        int upperLeft = i >= bpp ? previous[i - bpp] : 0;
        f[i] = static_cast<std::uint8_t>(raw[i] - PaethPredictor(left, previous[i], upperLeft));
      }
      break;
    default: std::memcpy(f, raw, static_cast<std::size_t>(n)); break;
  }
}

std::int32_t ZRowScore(const std::uint8_t* candidate, std::int32_t length, std::int32_t bitsPerPixel,
                       std::int32_t* counts) {
  std::array<std::int32_t, 256> local;
  if (!counts) counts = local.data();
  std::fill(counts, counts + 256, 0);
  for (std::int32_t i = 0; i < length; ++i) ++counts[candidate[i]];

  std::int32_t distinct = 0, top1 = 0, top2 = 0, top3 = 0;
  for (int v = 0; v < 256; ++v) {
    std::int32_t c = counts[v];
    if (c == 0) continue;
    ++distinct;
    if (c >= top1) {
      top3 = top2;
      top2 = top1;
      top1 = c;
    } else if (c >= top2) {
      top3 = top2;
      top2 = c;
    } else if (c > top3) {
      top3 = c;
    }
  }
  if (distinct <= 8) return -1;

  double n = length;
  double score = bitsPerPixel < 8
                     ? n / 1.5 / distinct * 1500.0 + (top1 + top2) / n * 1000.0
                     : n / 1.5 / distinct * 1000.0 + (top1 + top2 + top3) / n * 1000.0;
  return static_cast<std::int32_t>(score);
}

void ZChooseFilter(ZRowStream& rows) {
  std::int32_t mode = rows.FilterMode & 0xFF;
  int bpp = BytesPerPixel(rows.BitsPerPixel);
  const std::uint8_t* raw = rows.CurrentRow;
  const std::uint8_t* above = rows.PreviousRow;
  if (mode >= kFilterSub && mode <= kFilterPaeth) {
    ZFilterRow(mode - 1, raw, above, rows.BestRow, rows.RowLength, bpp);
    return;
  }
  ZFilterRow(0, raw, above, rows.BestRow, rows.RowLength, bpp);
  if (mode != kFilterAdaptive) return;

  std::int32_t best = ZRowScore(rows.BestRow, rows.RowLength, rows.BitsPerPixel, rows.Counts);
  if (best == -1 || rows.DepthClass == 4) return;
  if (rows.DepthClass == 1 || rows.DepthClass == 8) best *= 2;
  for (int type = 1; type <= 4; ++type) {
    ZFilterRow(type, raw, above, rows.TrialRow, rows.RowLength, bpp);
    std::int32_t score = ZRowScore(rows.TrialRow, rows.RowLength, rows.BitsPerPixel, rows.Counts);
    if (score == -1) {
      std::swap(rows.BestRow, rows.TrialRow);
      return;
    }
    if (score > best) {
      std::swap(rows.BestRow, rows.TrialRow);
      best = score;
    }
  }
}

}  // namespace quorvex
