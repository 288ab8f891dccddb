#pragma once
// PNG files for reader tests: reference files written by libpng from given
// samples, and hand-made chunk sequences for the cases libpng will not write.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Palette.h"

namespace quorvex::test {

/// What libpng is asked to write. Rows hold the packed PNG samples (16-bit
/// samples most significant byte first); -1 leaves an optional chunk out.
struct ReferencePng {
  std::uint32_t Width = 1;
  std::uint32_t Height = 1;
  int BitDepth = 8;
  int ColorType = 0;
  int Interlace = 0;
  std::vector<std::vector<std::uint8_t>> Rows;
  Palette Plte;
  std::vector<std::uint8_t> PaletteAlpha;  ///< tRNS of a palette image
  int TransparentGrey = -1;                ///< tRNS of a grey image
  int TransparentRgb[3] = {-1, -1, -1};    ///< tRNS of an RGB image
  int BackgroundGrey = -1;
  int BackgroundRgb[3] = {-1, -1, -1};
  int BackgroundIndex = -1;
  std::vector<std::string> Comments;
  /// Every IDAT chunk holds at most this many bytes (0: libpng's default).
  std::size_t IdatSize = 0;
};

/// The samples of one pixel per channel of a ReferencePng.
int Channels(int colorType);

/// Fills Rows with reproducible noise for the size, depth and colour type.
void FillNoise(ReferencePng& png, std::uint32_t seed);

/// Sample `channel` of pixel (x, y) of Rows.
int SampleAt(const ReferencePng& png, int x, int y, int channel);

/// The file libpng writes for it.
std::vector<std::uint8_t> WriteWithLibpng(const ReferencePng& png);

/// One chunk with its length and CRC.
std::vector<std::uint8_t> Chunk(const std::string& type, const std::vector<std::uint8_t>& data);

/// The data of an IHDR chunk.
std::vector<std::uint8_t> HeaderData(std::uint32_t width, std::uint32_t height, int depth, int colorType,
                                     int interlace = 0, int compression = 0, int filter = 0);

/// The zlib stream of `raw` (filter bytes and rows) at the default level.
std::vector<std::uint8_t> Compress(const std::vector<std::uint8_t>& raw);

/// The signature followed by the chunks, in order.
std::vector<std::uint8_t> PngOf(const std::vector<std::vector<std::uint8_t>>& chunks);

}  // namespace quorvex::test
