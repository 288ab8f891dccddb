#pragma once
// LZX compression of compiled help's content section. The data is cut into
// 32 KiB frames; each frame is one verbatim block that starts on a 16-bit
// boundary (a decoder begins a fresh bit stream per frame, at the offset the
// reset table gives), and every `resetFrames` frames the coder starts over,
// so a reader can begin decoding at any reset point.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quorvex {

struct LzxSettings {
  int windowBits = 16;   ///< the window is 2^windowBits bytes (15..21)
  int resetFrames = 2;   ///< frames between two resets of the coder
  int searchDepth = 256;  ///< match candidates tried per position
};

struct LzxOutput {
  std::string bytes;                        ///< the compressed stream
  std::vector<std::uint64_t> frameOffsets;  ///< where each frame starts in `bytes`
};

/// Compresses `data` into frames of kLzxFrameSize bytes (the last one shorter).
LzxOutput CompressLzx(std::span<const std::uint8_t> data, const LzxSettings& settings);

}  // namespace quorvex
