#pragma once
// Writes LZX verbatim blocks: the main and length trees, each sent as
// differences from the same tree of the block before, then the symbols.

#include <cstdint>
#include <vector>

#include "chm/LzxBitWriter.h"

namespace quorvex {

/// One coded item of a block: a literal byte, or a match as its main symbol
/// (position slot and length header), length-tree symbol and offset footer.
struct LzxSymbol {
  std::uint16_t main = 0;
  std::int16_t length = -1;  ///< length-tree symbol, -1 when the length header says it all
  std::uint8_t footerBits = 0;
  std::uint32_t footer = 0;
};

class LzxBlockWriter {
 public:
  explicit LzxBlockWriter(int positionSlots);

  /// Forgets the trees of earlier blocks, as a decoder does at a reset.
  void Reset();

  /// Writes one verbatim block of `uncompressedSize` bytes made of `symbols`.
  void Write(LzxBitWriter& bits, const std::vector<LzxSymbol>& symbols, std::uint32_t uncompressedSize);

 private:
  void WriteLengths(LzxBitWriter& bits, const std::uint8_t* previous, const std::uint8_t* lengths, int count);

  int mainSymbols_;
  std::vector<std::uint8_t> previousMain_;
  std::vector<std::uint8_t> previousLength_;
};

}  // namespace quorvex
