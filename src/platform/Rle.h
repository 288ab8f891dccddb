#pragma once
// The run-length codecs of BMP pictures (8-bit: compression 1, 4-bit:
// compression 2) as pure functions on byte buffers, so that the DIB model and
// the platform bitmap decode with the same code.

#include <cstdint>
#include <span>

namespace quorvex {

/// The check a run-length stream failed.
enum class RleError {
  None,         ///< decoded
  EndOfLine,    ///< an end of line moved below the last row
  Delta,        ///< a delta moved right of the row or below the last row
  AbsoluteRun,  ///< literal pixels would pass the row's end (or lie below the last row)
  EncodedRun,   ///< a run would pass the row's end (or lie below the last row)
};

/// Bytes of one uncompressed DIB row: the row's bits rounded up to 4 bytes.
std::int64_t DibRowBytes(std::int64_t width, int bitCount);

/// Decodes an 8-bit run-length stream into `pixels`, which holds `rows` rows
/// of DibRowBytes(width, 8) bytes (the first row in memory is the first row
/// decoded) and must be zeroed by the caller: pixels skipped by a delta or an
/// end of line stay 0. Decoding stops at the end of bitmap, at the end of
/// `data`, or before a code whose bytes `data` does not hold.
RleError DecodeRle8(std::span<const std::uint8_t> data, std::int32_t width, std::int32_t rows,
                    std::span<std::uint8_t> pixels);

/// Decodes a 4-bit run-length stream likewise (rows of DibRowBytes(width, 4)
/// bytes, the left pixel in the high nibble). Runs may fill the row up to
/// the width rounded up to even.
RleError DecodeRle4(std::span<const std::uint8_t> data, std::int32_t width, std::int32_t rows,
                    std::span<std::uint8_t> pixels);

/// Encodes 8-bit rows (DibRowBytes(width, 8) bytes each, |height| of them,
/// bottom row first in memory unless `height` is negative) bottom row first.
/// Writes into `out` and returns the number of bytes written, or -1 when the
/// code would not fit: a run needs 6 free bytes, a literal of n bytes n
/// rounded up to even + 6, an end of line 4 and the end of bitmap 2.
std::int64_t EncodeRle8(std::span<const std::uint8_t> pixels, std::int32_t width, std::int32_t height,
                        std::span<std::uint8_t> out);

/// Encodes 4-bit rows likewise; runs and literals count bytes of two pixels,
/// and the counts written never pass the row's width.
std::int64_t EncodeRle4(std::span<const std::uint8_t> pixels, std::int32_t width, std::int32_t height,
                        std::span<std::uint8_t> out);

}  // namespace quorvex
