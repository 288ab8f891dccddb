#pragma once
// Helpers for DIB tests: pictures made from pixel values through BMP files,
// and the pixels of a DIB read back by position.

#include <cstdint>
#include <memory>
#include <vector>

#include "dib/VxDIB.h"
#include "support/BmpBuilder.h"

namespace quorvex::test {

/// A BMP file of `width` x `height` pixels of 1, 4, 8 or 24 bits. `values`
/// lists the pixels row by row from the top: palette indexes, or for 24
/// bits colours as RgbColor gives them. The rows are stored bottom-up.
Bytes BmpOf(int bitCount, int width, int height, const std::vector<Rgb3>& colors,
            const std::vector<std::uint32_t>& values);

/// A new DIB loaded from a BMP file image.
std::unique_ptr<TVxDIB> LoadDib(const Bytes& file);
/// The BMP file image the DIB saves.
Bytes SaveDib(const TVxDIB& dib);

/// The palette index of pixel (x, y counted from the top) of a plain 1-, 4-
/// or 8-bit DIB.
int IndexOf(const TVxDIB& dib, int x, int y);
/// The colour of pixel (x, y from the top) of a plain DIB.
Color ColorOf(const TVxDIB& dib, int x, int y);

}  // namespace quorvex::test
