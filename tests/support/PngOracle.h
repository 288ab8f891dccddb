#pragma once
// What the tests check written PNG files with: a chunk splitter that verifies
// every CRC, the inflated image data, libpng as the reference decoder, and
// pngcheck.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Palette.h"

namespace quorvex::test {

struct PngChunk {
  std::string Type;
  std::vector<std::uint8_t> Data;
  bool CrcOk = false;
};

/// The chunks after the signature; a missing signature or a chunk running
/// past the end fails the test and ends the list.
std::vector<PngChunk> ParseChunks(const std::vector<std::uint8_t>& png);

/// The chunk types in order.
std::vector<std::string> ChunkTypes(const std::vector<PngChunk>& chunks);

/// The first chunk of a type, or null.
const PngChunk* FindChunk(const std::vector<PngChunk>& chunks, const std::string& type);

/// The image data of every IDAT chunk, inflated: filter byte and row, row after row.
std::vector<std::uint8_t> InflateImageData(const std::vector<PngChunk>& chunks);

/// A PNG as libpng decodes it, rows de-interlaced, samples not transformed.
struct DecodedPng {
  bool Ok = false;
  std::string Error;
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  int BitDepth = 0;
  int ColorType = 0;
  int Interlace = 0;
  int Channels = 0;
  std::vector<std::vector<std::uint8_t>> Rows;
  Palette Plte;

  /// Sample `channel` of pixel (x, y), unpacked from 1, 2 or 4 bits.
  int Sample(int x, int y, int channel) const;
};

DecodedPng DecodeWithLibpng(const std::vector<std::uint8_t>& png);

/// Runs "pngcheck -v" on the files; Status is its exit status (0: no errors).
struct ToolResult {
  int Status = -1;
  std::string Output;
};
ToolResult RunPngcheck(const std::vector<std::string>& paths);

/// Checks a complete PNG with pngcheck and libpng; returns what failed, or "".
std::string CheckValidPng(const std::vector<std::uint8_t>& png);

/// Big-endian numbers inside chunk data.
std::uint32_t BE32(const std::vector<std::uint8_t>& data, std::size_t offset);
std::uint32_t BE16(const std::vector<std::uint8_t>& data, std::size_t offset);

}  // namespace quorvex::test
