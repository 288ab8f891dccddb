#pragma once
// PNG files for reader tests: reference files written by libpng from given
// samples, and hand-made chunk sequences for what libpng will not write.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Palette.h"

namespace quorvex::test {

/// What libpng is asked to write: rows of reproducible noise (palette
/// indexes kept below the palette's size) and an optional tRNS chunk.
struct ReferencePng {
  ReferencePng(std::uint32_t width, std::uint32_t height, int depth, int colorType, int interlace,
               std::uint32_t seed, Palette plte = {});
  std::uint32_t Width, Height;
  int BitDepth, ColorType, Interlace;
  Palette Plte;
  /// Packed PNG rows; 16-bit samples most significant byte first.
  std::vector<std::vector<std::uint8_t>> Rows;
  /// tRNS: alphas of a palette image, or one sample per channel of a grey or RGB image.
  std::vector<int> Transparency;
  /// Bytes of image data per IDAT chunk, at least 6; 0 leaves it to libpng.
  std::size_t ImageDataChunk = 0;

  int Channels() const;
  /// Sample `channel` of pixel (x, y).
  int Sample(int x, int y, int channel) const;
  /// The file libpng writes.
  std::vector<std::uint8_t> Write() const;
};

/// One chunk with its length and CRC.
std::vector<std::uint8_t> Chunk(const std::string& type, const std::vector<std::uint8_t>& data);

/// The data of an IHDR chunk.
std::vector<std::uint8_t> HeaderData(std::uint32_t width, std::uint32_t height, int depth, int colorType,
                                     int interlace = 0, int compression = 0, int filter = 0);

/// The zlib stream of `raw` at the default level.
std::vector<std::uint8_t> Compress(const std::vector<std::uint8_t>& raw);

/// The signature followed by the chunks, in order.
std::vector<std::uint8_t> PngOf(const std::vector<std::vector<std::uint8_t>>& chunks);

}  // namespace quorvex::test
