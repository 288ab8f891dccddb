#pragma once
// Colour reduction by recursive partition: true colour to 8 or 4 bits at low
// or high quality, and 8 bits to 4 bits. The colours are split again and
// again at the mean of their widest channel; each of the 2^depth leaves that
// holds colours becomes one palette entry, their weighted mean.

#include <functional>

#include "dib/DibRecord.h"

namespace quorvex {

/// Called once per unit of work of a conversion (one leaf of a partition).
using ProgressStep = std::function<void()>;

/// Low quality: the colours are first gathered in a 65536-cell histogram of
/// 5, 6 and 5 bits of red, green and blue, so the work does not grow with
/// the picture. 256 leaves, 256 steps.
DibRecord ConvertTrueColorTo8BitRGBLow(const DibRecord& source, bool useMapping, const ProgressStep& step);
/// Low quality with 16 leaves and 16 steps.
DibRecord ConvertTrueColorTo4BitRGBLow(const DibRecord& source, bool useMapping, const ProgressStep& step);
/// High quality: every pixel takes part with its exact colour and finds its
/// entry through the tree of splits. 256 leaves, 256 steps.
DibRecord ConvertTrueColorTo8BitRGBHigh(const DibRecord& source, bool useMapping, const ProgressStep& step);
/// High quality with 16 leaves and 16 steps.
DibRecord ConvertTrueColorTo4BitRGBHigh(const DibRecord& source, bool useMapping, const ProgressStep& step);
/// The used colour-table entries, weighted by their pixels, are reduced to
/// at most 16. 16 steps.
DibRecord Convert8BitRGBTo4BitRGB(const DibRecord& source, bool useMapping, const ProgressStep& step);

}  // namespace quorvex
