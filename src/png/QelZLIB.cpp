#include "png/QelZLIB.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <limits>
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
  if (Inflating || ChunkBuffer || Output) ZInflateClose(*this);
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

namespace {

// Makes room for `length` bytes and a block ahead, the bytes not handed out
// yet moved to the front of the output block.
bool ReserveOutput(ZRowStream& rows, std::int32_t length) {
  const std::int32_t pending = rows.OutputEnd - rows.OutputStart;
  const std::int64_t needed = std::int64_t{length} + kInflateAheadSize;
  if (rows.OutputSize < needed) {
    if (needed > std::numeric_limits<std::int32_t>::max()) return false;
    auto* block = new (std::nothrow) std::uint8_t[static_cast<std::size_t>(needed)];
    if (!block) return false;
    if (pending > 0) std::memcpy(block, rows.Output + rows.OutputStart, static_cast<std::size_t>(pending));
    delete[] rows.Output;
    rows.Output = block;
    rows.OutputSize = static_cast<std::int32_t>(needed);
  } else if (rows.OutputStart > 0) {
    std::memmove(rows.Output, rows.Output + rows.OutputStart, static_cast<std::size_t>(pending));
  }
  rows.OutputStart = 0;
  rows.OutputEnd = pending;
  return true;
}

// What inflating on after zlib stopped gives: an early end can never
// complete a read; an error stays.
std::int32_t StopResult(std::int32_t stop) { return stop == Z_STREAM_END ? -1 : stop; }

// Notes why zlib stopped. zlib decodes on up to the next byte it writes even
// when it has no room left, so most errors are found right after the last
// byte written. A copy from before the start of the data is the exception:
// zlib checks it only once it has room to copy.
void NoteStop(ZRowStream& rows, int result) {
  // A stream that wants a preset dictionary we do not have gives nothing.
  if (result == Z_NEED_DICT) result = -1;
  if (result >= 0 && result != Z_STREAM_END) return;
  rows.InflateStop = result;
  rows.StopAfterOutput = result == Z_STREAM_END ||
                         (rows.Z.msg && std::strcmp(rows.Z.msg, "invalid distance too far back") == 0);
}

// One inflate call with `room` bytes of room after the output so far and
// the input but its last `heldBack` bytes.
int InflateInto(ZRowStream& rows, std::int32_t room, uInt heldBack) {
  rows.Z.next_out = rows.Output + rows.OutputEnd;
  rows.Z.avail_out = static_cast<uInt>(room);
  rows.Z.avail_in -= heldBack;
  int result = inflate(&rows.Z, Z_NO_FLUSH);
  rows.Z.avail_in += heldBack;
  rows.OutputEnd += room - static_cast<std::int32_t>(rows.Z.avail_out);
  return result;
}

// Inflates until `length` bytes are pending or zlib stops. One short output
// after the other keeps zlib on its slow path, so it inflates into the whole
// output block, yet it asks for input and stops exactly where inflating one
// read after the other would, so that a cut or broken file fails at the same
// row and leaves the source at the same place. Such a reader asks for input
// whenever its input is used up at the start of a read, even when zlib could
// go on from what it holds; inflating ahead, zlib would use up the input at
// other moments. Hence the last input byte is held back from it, and only
// the bytes asked for are inflated with that byte.
std::int32_t InflateAhead(ZRowStream& rows, std::int32_t length) {
  if (!ReserveOutput(rows, length)) return Z_MEM_ERROR;
  // A stop inside the bytes asked for is met without new input; one right
  // where they begin is what inflating again, after a refill, would meet.
  if (rows.InflateStop != 0 && rows.OutputEnd > rows.OutputStart) return StopResult(rows.InflateStop);
  for (;;) {
    if (rows.Z.avail_in == 0) {
      std::int32_t stop = rows.Callback ? rows.Callback(rows) : -1;
      if (stop != 0) return stop;
    }
    if (rows.InflateStop != 0) return StopResult(rows.InflateStop);
    int result = 0;
    if (rows.Z.avail_in > 1) {
      result = InflateInto(rows, rows.OutputSize - rows.OutputEnd, 1);
      rows.InputHeldBack = rows.Z.avail_in == 1;
    } else {
      result = InflateInto(rows, length - (rows.OutputEnd - rows.OutputStart), 0);
      rows.InputHeldBack = false;
    }
    NoteStop(rows, result);
    if (rows.OutputEnd - rows.OutputStart >= length) return 0;
    if (rows.InflateStop != 0) return StopResult(rows.InflateStop);
  }
}

}  // namespace

std::int32_t ZInflateRead(ZRowStream& rows, std::uint8_t* data, std::int32_t length) {
  if (!rows.Inflating) return Z_STREAM_ERROR;
  if (length <= 0) return 0;
  if (rows.OutputEnd - rows.OutputStart < length) {
    std::int32_t result = InflateAhead(rows, length);
    if (result != 0) return result;
  }
  const bool exact = rows.OutputEnd - rows.OutputStart == length;
  // Having written the last byte asked for, zlib decodes on until it needs
  // room, also with the byte held back from it (no progress is no error).
  if (exact && rows.InputHeldBack && rows.InflateStop == 0) {
    int result = InflateInto(rows, 0, 0);
    rows.InputHeldBack = false;
    if (result != Z_BUF_ERROR) NoteStop(rows, result);
  }
  // An error found right behind the last byte asked for fails the read that
  // asked (see NoteStop).
  if (exact && rows.InflateStop < 0 && !rows.StopAfterOutput) return rows.InflateStop;
  std::memcpy(data, rows.Output + rows.OutputStart, static_cast<std::size_t>(length));
  rows.OutputStart += length;
  return 0;
}

void ZInflateReset(ZRowStream& rows) {
  if (rows.Inflating) inflateReset(&rows.Z);
  rows.ZSetInput(0);
  rows.OutputStart = rows.OutputEnd = 0;
  rows.InflateStop = 0;
  rows.StopAfterOutput = false;
  rows.InputHeldBack = false;
}

std::int32_t ZInflateRow(ZRowStream& rows) {
  std::int32_t result = ZInflateRead(rows, rows.CurrentRow, rows.RowLength);
  if (result < 0) return result;
  return ZUnfilterRow(rows);
}

namespace {

// The PNG Paeth predictor without branches on the data: the neighbour
// (left a, above b, upper left c) nearest to a + b - c, ties going to a, then b.
inline int PaethOf(int a, int b, int c) {
  const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
  const int ab = pb < pa ? b : a;
  return pc < std::min(pa, pb) ? c : ab;
}

// Undoes filter `type` on the `n` bytes of `row`. The first pixel has no left
// neighbours, so it is done apart and the loops over the rest need no test
// for them. Rows of real images have 1, 2, 3, 4, 6 or 8 bytes per pixel, and
// these loops get a fixed `Step` for each; Step 0 takes `bpp` as it comes.
template <int Step>
std::int32_t Unfilter(int type, std::uint8_t* row, const std::uint8_t* above, std::int32_t n, int bpp) {
  const std::int32_t step = Step > 0 ? Step : bpp;
  const std::int32_t first = std::min(step, n);
  switch (type) {
    case 0: return 0;
    case 1:
      for (std::int32_t i = step; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - step]);
      return 0;
    case 2:
      for (std::int32_t i = 0; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + above[i]);
      return 0;
    case 3:
      for (std::int32_t i = 0; i < first; ++i) row[i] = static_cast<std::uint8_t>(row[i] + (above[i] >> 1));
      for (std::int32_t i = step; i < n; ++i) {
        row[i] = static_cast<std::uint8_t>(row[i] + ((row[i - step] + above[i]) >> 1));
      }
      return 0;
    case 4:
      // With no left neighbours the predictor is the byte above.
      for (std::int32_t i = 0; i < first; ++i) row[i] = static_cast<std::uint8_t>(row[i] + above[i]);
      for (std::int32_t i = step; i < n; ++i) {
        row[i] = static_cast<std::uint8_t>(row[i] + PaethOf(row[i - step], above[i], above[i - step]));
      }
      return 0;
    default: return -1;
  }
}

}  // namespace

std::int32_t ZUnfilterRow(ZRowStream& rows) {
  const int type = rows.CurrentRow[0];
  std::uint8_t* row = rows.CurrentRow + 1;
  const std::uint8_t* above = rows.PreviousRow + 1;
  const std::int32_t n = rows.RowLength - 1;
  const int bpp = BytesPerPixel(rows.BitsPerPixel);
  switch (bpp) {
    case 1: return Unfilter<1>(type, row, above, n, bpp);
    case 2: return Unfilter<2>(type, row, above, n, bpp);
    case 3: return Unfilter<3>(type, row, above, n, bpp);
    case 4: return Unfilter<4>(type, row, above, n, bpp);
    case 6: return Unfilter<6>(type, row, above, n, bpp);
    case 8: return Unfilter<8>(type, row, above, n, bpp);
    default: return Unfilter<0>(type, row, above, n, bpp);
  }
}

void ZInflateClose(ZRowStream& rows) {
  delete[] rows.ChunkBuffer;
  rows.ChunkBuffer = nullptr;
  rows.ChunkBufferSize = 0;
  delete[] rows.Output;
  rows.Output = nullptr;
  rows.OutputSize = rows.OutputStart = rows.OutputEnd = 0;
  rows.InflateStop = 0;
  rows.StopAfterOutput = false;
  rows.InputHeldBack = false;
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
