#pragma once
// Conversions between plain 4- and 8-bit DIBs and their run-length forms.

#include "dib/DibRecord.h"

namespace quorvex {

/// Decodes an 8-bit run-length DIB; bad data raises EVxDIBInvalidDIB
/// "Convert8BitRLETo8BitRGB: Bad RLE Data 1" to "... 4".
DibRecord Convert8BitRLETo8BitRGB(const DibRecord& source, bool useMapping);
/// Decodes a 4-bit run-length DIB; bad data raises EVxDIBInvalidDIB
/// "Convert4BitRLETo4BitRGB: Bad RLE Data 5" to "... 8".
DibRecord Convert4BitRLETo4BitRGB(const DibRecord& source, bool useMapping);
/// Encodes a plain 8-bit DIB (bottom row first, positive height); data that
/// would outgrow the uncompressed size raises EVxDIBCompressionFailed
/// "Convert8BitRGBTo8BitRLE: Compression Failed".
DibRecord Convert8BitRGBTo8BitRLE(const DibRecord& source, bool useMapping);
/// Encodes a plain 4-bit DIB likewise ("Convert4BitRGBTo4BitRLE: Compression Failed").
DibRecord Convert4BitRGBTo4BitRLE(const DibRecord& source, bool useMapping);

}  // namespace quorvex
