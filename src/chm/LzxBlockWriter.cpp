#include "chm/LzxBlockWriter.h"

#include "chm/HuffmanCode.h"
#include "chm/LzxFormat.h"

namespace quorvex {
namespace {

// One pretree item: a symbol with its extra bits, and for a run of equal
// lengths (symbol 19) the pretree symbol of the value that follows.
struct PretreeItem {
  std::uint8_t symbol;
  std::uint8_t extraBits;
  std::uint8_t extra;
  std::int8_t value;  // -1 when none follows
};

std::uint8_t Delta(std::uint8_t previous, std::uint8_t length) {
  return static_cast<std::uint8_t>((previous - length + 17) % 17);
}

// Runs of zeros become symbols 17 and 18, runs of another equal length
// symbol 19; every other length is its difference from the previous tree's.
std::vector<PretreeItem> PretreeItems(const std::uint8_t* previous, const std::uint8_t* lengths, int count) {
  std::vector<PretreeItem> items;
  int i = 0;
  while (i < count) {
    int run = 1;
    while (i + run < count && lengths[i + run] == lengths[i]) ++run;
    if (lengths[i] == 0 && run >= 20) {
      int n = run > 51 ? 51 : run;
      items.push_back({18, 5, static_cast<std::uint8_t>(n - 20), -1});
      i += n;
    } else if (lengths[i] == 0 && run >= 4) {
      int n = run > 19 ? 19 : run;
      items.push_back({17, 4, static_cast<std::uint8_t>(n - 4), -1});
      i += n;
    } else if (run >= 4) {
      int n = run > 5 ? 5 : run;
      items.push_back({19, 1, static_cast<std::uint8_t>(n - 4), static_cast<std::int8_t>(Delta(previous[i], lengths[i]))});
      i += n;
    } else {
      items.push_back({Delta(previous[i], lengths[i]), 0, 0, -1});
      ++i;
    }
  }
  return items;
}

}  // namespace

LzxBlockWriter::LzxBlockWriter(int positionSlots) : mainSymbols_(kLzxLiterals + positionSlots * 8) { Reset(); }

void LzxBlockWriter::Reset() {
  previousMain_.assign(mainSymbols_, 0);
  previousLength_.assign(kLzxLengthSymbols, 0);
}

void LzxBlockWriter::WriteLengths(LzxBitWriter& bits, const std::uint8_t* previous, const std::uint8_t* lengths,
                                  int count) {
  std::vector<PretreeItem> items = PretreeItems(previous, lengths, count);
  std::vector<std::uint32_t> frequencies(kLzxPretreeSymbols, 0);
  for (const PretreeItem& item : items) {
    ++frequencies[item.symbol];
    if (item.value >= 0) ++frequencies[item.value];
  }
  std::vector<std::uint8_t> pretree = HuffmanLengths(frequencies, kLzxMaxPretreeLength);
  std::vector<std::uint16_t> codes = CanonicalCodes(pretree);
  for (std::uint8_t length : pretree) bits.Write(length, 4);
  for (const PretreeItem& item : items) {
    bits.Write(codes[item.symbol], pretree[item.symbol]);
    if (item.extraBits) bits.Write(item.extra, item.extraBits);
    if (item.value >= 0) bits.Write(codes[item.value], pretree[item.value]);
  }
}

void LzxBlockWriter::Write(LzxBitWriter& bits, const std::vector<LzxSymbol>& symbols, std::uint32_t uncompressedSize) {
  std::vector<std::uint32_t> mainFrequencies(mainSymbols_, 0), lengthFrequencies(kLzxLengthSymbols, 0);
  for (const LzxSymbol& symbol : symbols) {
    ++mainFrequencies[symbol.main];
    if (symbol.length >= 0) ++lengthFrequencies[symbol.length];
  }
  std::vector<std::uint8_t> mainLengths = HuffmanLengths(mainFrequencies, kLzxMaxCodeLength);
  std::vector<std::uint8_t> lengthLengths = HuffmanLengths(lengthFrequencies, kLzxMaxCodeLength);

  bits.Write(kLzxBlockVerbatim, 3);
  bits.Write(uncompressedSize, 24);
  WriteLengths(bits, previousMain_.data(), mainLengths.data(), kLzxLiterals);
  WriteLengths(bits, previousMain_.data() + kLzxLiterals, mainLengths.data() + kLzxLiterals,
               mainSymbols_ - kLzxLiterals);
  WriteLengths(bits, previousLength_.data(), lengthLengths.data(), kLzxLengthSymbols);

  std::vector<std::uint16_t> mainCodes = CanonicalCodes(mainLengths);
  std::vector<std::uint16_t> lengthCodes = CanonicalCodes(lengthLengths);
  for (const LzxSymbol& symbol : symbols) {
    bits.Write(mainCodes[symbol.main], mainLengths[symbol.main]);
    if (symbol.length >= 0) bits.Write(lengthCodes[symbol.length], lengthLengths[symbol.length]);
    if (symbol.footerBits) bits.Write(symbol.footer, symbol.footerBits);
  }
  previousMain_ = std::move(mainLengths);
  previousLength_ = std::move(lengthLengths);
}

}  // namespace quorvex
