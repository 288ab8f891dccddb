#pragma once
// Reading BMP pictures into DIB records: BMP files from a stream and CF_DIB
// blocks (a BMP file without its file header) from the clipboard.

#include <cstdint>
#include <span>

#include "dib/DibRecord.h"
#include "platform/Stream.h"

namespace quorvex {

/// Reads a BMP file starting at the stream's position: 40-byte and 12-byte
/// headers; 1, 4, 8 and 24 bits are kept as they are (run-length data
/// included), 16 and 32 bits are widened to 24. The pixel block comes from
/// the heap or a mapping as `useMapping` says. Refusals raise the DIB errors
/// with their fixed messages; a file shorter than its fields say raises
/// EReadError. Nothing is allocated before the stream is known to hold
/// the bytes that justify it.
DibRecord ReadBmpFile(Stream& stream, bool useMapping);

/// Reads a CF_DIB block: the information header, the colour table and the
/// pixels. A block shorter than its header says raises EVxDIBInvalidDIB
/// "TVxDIB.LoadFromClipboardFormat: Invalid Clipboard Data".
DibRecord ReadClipboardDib(std::span<const std::uint8_t> block, bool useMapping);

}  // namespace quorvex
