#pragma once
// zlib one image row at a time: on writing, choose and apply the PNG row
// filter, compress the row and cut the output into chunk-sized pieces handed
// to a callback; on reading, fetch input through a callback, inflate a block
// ahead, hand out one row and undo its filter. Results are zlib-style: 0 or
// more is success.

#include <zlib.h>

#include <cstdint>
#include <functional>

namespace quorvex {

/// Filter modes of the writer.
enum ZFilterMode : std::int32_t {
  kFilterAdaptive = 0,
  kFilterNone = 1,
  kFilterSub = 2,
  kFilterUp = 3,
  kFilterAverage = 4,
  kFilterPaeth = 5,
};

/// Chunk buffer size used when the one asked for is out of range.
inline constexpr std::int32_t kDefaultChunkBufferSize = 32768;
/// Inflate: bytes of output block beyond the longest read asked for.
inline constexpr std::int32_t kInflateAheadSize = 32768;

struct ZRowStream;

/// Deflate: called when the chunk buffer is full and once at the end, to take
/// ChunkFilled() bytes. Inflate: called when the input is empty, to refill it
/// (ZSetInput). 0 continues; anything else stops the run and is returned.
using ZRowCallback = std::function<std::int32_t(ZRowStream& rows)>;

/// The state of one compression or decompression run. The row pointers belong
/// to the caller: the writer's CurrentRow and PreviousRow hold raw rows (no
/// filter byte); the reader's hold the filter byte followed by the row.
struct ZRowStream {
  ZRowStream() = default;
  ~ZRowStream();
  ZRowStream(const ZRowStream&) = delete;
  ZRowStream& operator=(const ZRowStream&) = delete;

  ZRowCallback Callback;
  z_stream Z{};
  std::uint8_t* ChunkBuffer = nullptr;
  std::int32_t ChunkBufferSize = 0;
  /// Bytes per row including the leading filter-type byte.
  std::int32_t RowLength = 0;
  std::uint8_t* CurrentRow = nullptr;
  std::uint8_t* PreviousRow = nullptr;
  /// Bits per complete pixel of the PNG row.
  std::int32_t BitsPerPixel = 8;
  /// Writer: 0 adaptive, 1 None, 2 Sub, 3 Up, 4 Average, 5 Paeth, others None (low byte used).
  std::int32_t FilterMode = kFilterNone;
  /// Writer: the encoder's colour bit count (1, 4, 8, 24 or 32) for the adaptive choice.
  std::int32_t DepthClass = 24;
  /// Writer: filter byte + filtered row, the current choice and the candidate.
  std::uint8_t* BestRow = nullptr;
  std::uint8_t* TrialRow = nullptr;
  /// Writer: 256 counts for the row score.
  std::int32_t* Counts = nullptr;
  /// Inflate: output inflated ahead of what was read; bytes OutputStart to
  /// OutputEnd of the OutputSize-byte block are still to be handed out.
  std::uint8_t* Output = nullptr;
  std::int32_t OutputSize = 0;
  std::int32_t OutputStart = 0;
  std::int32_t OutputEnd = 0;
  /// Inflate: 0 while zlib may give more output; else Z_STREAM_END or the
  /// error that stopped it, after the output so far.
  std::int32_t InflateStop = 0;
  /// Inflate: the stop belongs to the byte after the output so far (the end,
  /// or a copy reaching back before the data) rather than to the last one.
  bool StopAfterOutput = false;
  /// Inflate: zlib stopped for want of the input byte held back from it.
  bool InputHeldBack = false;

  /// Bytes of compressed output waiting in ChunkBuffer.
  std::int32_t ChunkFilled() const { return ChunkBufferSize - static_cast<std::int32_t>(Z.avail_out); }
  /// Inflate: the ChunkBuffer holds `count` fresh input bytes.
  void ZSetInput(std::int32_t count);

  /// True while zlib's compression or decompression state is live.
  bool Deflating = false;
  bool Inflating = false;
};

/// Starts compression at `level` (-1: zlib's default) into chunks of `size`
/// bytes (outside 1..262143: 32768). -1 when the buffer or zlib cannot start.
std::int32_t ZDeflateOpen(ZRowStream& rows, std::int32_t level, std::int32_t size);
/// Compresses `length` bytes, flushing every full chunk.
std::int32_t ZDeflateWrite(ZRowStream& rows, const std::uint8_t* data, std::int32_t length);
/// Chooses and applies the row filter, then compresses BestRow.
std::int32_t ZDeflateRow(ZRowStream& rows);
/// Ends the compressed data, flushes the last piece, and resets for a new run.
std::int32_t ZDeflateFinish(ZRowStream& rows);
void ZDeflateClose(ZRowStream& rows);

/// Starts decompression with a 32768-byte input buffer.
std::int32_t ZInflateOpen(ZRowStream& rows);
/// Reads exactly `length` bytes; -1 when the data ends before. Inflates up to
/// 32768 bytes ahead, yet asks the callback for input and fails exactly where
/// inflating one read after the other would.
std::int32_t ZInflateRead(ZRowStream& rows, std::uint8_t* data, std::int32_t length);
void ZInflateReset(ZRowStream& rows);
/// Inflates one row into CurrentRow and undoes its filter.
std::int32_t ZInflateRow(ZRowStream& rows);
/// Undoes the filter named by CurrentRow's first byte; -1 for a type above 4.
std::int32_t ZUnfilterRow(ZRowStream& rows);
void ZInflateClose(ZRowStream& rows);

/// Applies filter type `type` (0 None .. 4 Paeth) to the raw row `raw` with the
/// raw row above `previous`: `out` gets the type byte and `length` - 1 bytes.
void ZFilterRow(int type, const std::uint8_t* raw, const std::uint8_t* previous, std::uint8_t* out,
                std::int32_t length, std::int32_t bytesPerPixel);
/// Chooses the filter for CurrentRow by FilterMode and leaves it in BestRow.
void ZChooseFilter(ZRowStream& rows);
/// Scores a candidate of `length` bytes (type byte included): -1 for eight or
/// fewer distinct byte values, else higher for fewer values and a histogram
/// concentrated on a few of them.
std::int32_t ZRowScore(const std::uint8_t* candidate, std::int32_t length, std::int32_t bitsPerPixel,
                       std::int32_t* counts);

}  // namespace quorvex
