#pragma once
// Converting a DIB record from one pixel format to another: the dispatch
// over run-length decoding and encoding, expansions, reductions and halftones.

#include "dib/DibRecord.h"
#include "dib/OneBitReduction.h"
#include "dib/Reduction.h"

namespace quorvex {

/// How true colour is reduced to 4 or 8 bits.
inline constexpr std::uint8_t kLowQuality = 0;
inline constexpr std::uint8_t kHighQuality = 1;

/// The record `current` converted to `target`. Run-length sources are
/// decoded first and run-length targets encoded last; the intermediate
/// blocks are released on the way. `quality` chooses the reduction of true
/// colour, `mask` the colour that becomes white in 1 bit. A target equal to
/// the current format, or a quality other than 0 and 1 where it is needed,
/// is a broken invariant ("TVxIntenalDIB.SetPixelsFormat: PixelFormat Error").
/// The conversion's errors pass on; `current` is never changed.
DibRecord SetPixelsFormat(const DibRecord& current, DibPixelFormat target, std::uint8_t quality,
                          const ProgressStep& step, MaskRgb mask, bool useMapping);

}  // namespace quorvex
