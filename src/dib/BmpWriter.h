#pragma once
// Writing DIB records as BMP files and as CF_DIB clipboard blocks.

#include "dib/DibRecord.h"
#include "platform/Stream.h"
#include "platform/Clipboard.h"

namespace quorvex {

/// Writes a BMP file: the 14-byte file header (file size 54 + 4 x colours
/// used + pixel bytes, pixel-data offset 54 + 4 x colours used), the 40-byte
/// header, colours-used colour-table entries and the pixel block unchanged
/// (run-length data included).
void WriteBmpFile(const DibRecord& record, Stream& stream);

/// The CF_DIB block of a record: header, colours-used entries and pixels.
/// Raises EOutOfMemory "TVxInternalDIB.SaveToClipboardFormat: Out Of Memory"
/// when the block cannot be allocated.
MemoryBlock MakeClipboardDib(const DibRecord& record);

}  // namespace quorvex
