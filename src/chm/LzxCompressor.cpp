#include "chm/LzxCompressor.h"

#include <algorithm>

#include "base/Errors.h"
#include "chm/LzxBitWriter.h"
#include "chm/LzxBlockWriter.h"
#include "chm/LzxFormat.h"
#include "chm/LzxMatchFinder.h"

namespace quorvex {
namespace {

// The three most recent match offsets; a match at one of them is sent as
// its slot (0..2) instead of the offset itself.
struct RecentOffsets {
  std::uint32_t r[3] = {1, 1, 1};
};

LzxSymbol Literal(std::uint8_t byte) { return LzxSymbol{byte, -1, 0, 0}; }

LzxSymbol Match(int length, std::uint32_t offset, RecentOffsets& recent) {
  LzxSymbol symbol;
  int slot;
  if (offset == recent.r[0]) {
    slot = 0;
  } else if (offset == recent.r[1]) {
    slot = 1;
    std::swap(recent.r[0], recent.r[1]);
  } else if (offset == recent.r[2]) {
    slot = 2;
    std::swap(recent.r[0], recent.r[2]);
  } else {
    std::uint32_t formatted = offset + 2;
    slot = LzxPositionSlot(formatted);
    symbol.footerBits = static_cast<std::uint8_t>(LzxFooterBits(slot));
    symbol.footer = formatted - LzxPositionBase(slot);
    recent.r[2] = recent.r[1];
    recent.r[1] = recent.r[0];
    recent.r[0] = offset;
  }
  int header = length - kLzxMinMatch;
  if (header >= kLzxPrimaryLengths) {
    symbol.length = static_cast<std::int16_t>(header - kLzxPrimaryLengths);
    header = kLzxPrimaryLengths;
  }
  symbol.main = static_cast<std::uint16_t>(kLzxLiterals + slot * 8 + header);
  return symbol;
}

// Chooses literals and matches for one frame of an interval. Greedy with one
// step of lookahead; a match at a recent offset is preferred when it is
// about as long, as it costs no footer.
class FrameParser {
 public:
  FrameParser(const LzxSettings& settings)
      : finder_(settings.searchDepth, kLzxMaxMatch), maxOffset_((std::uint32_t{1} << settings.windowBits) - 3) {}

  void StartInterval(std::span<const std::uint8_t> interval) {
    interval_ = interval;
    finder_.Reset(interval);
    recent_ = RecentOffsets{};
  }

  std::vector<LzxSymbol> Parse(std::size_t begin, std::size_t end) {
    std::vector<LzxSymbol> symbols;
    std::size_t position = begin;
    LzxMatch pending = Best(position, end);
    while (position < end) {
      LzxMatch match = pending;
      if (match.length == 0) {
        symbols.push_back(Literal(interval_[position]));
        finder_.Insert(position);
        ++position;
        pending = Best(position, end);
        continue;
      }
      finder_.Insert(position);
      LzxMatch next = position + 1 < end ? Best(position + 1, end) : LzxMatch{};
      if (next.length > match.length + 1) {
        symbols.push_back(Literal(interval_[position]));
        ++position;
        pending = next;
        continue;
      }
      symbols.push_back(Match(match.length, match.offset, recent_));
      for (std::size_t i = position + 1; i < position + match.length; ++i) finder_.Insert(i);
      position += match.length;
      pending = position < end ? Best(position, end) : LzxMatch{};
    }
    return symbols;
  }

 private:
  LzxMatch Best(std::size_t position, std::size_t end) {
    int maxLength = static_cast<int>(std::min<std::size_t>(kLzxMaxMatch, end - position));
    std::uint32_t maxOffset = static_cast<std::uint32_t>(std::min<std::size_t>(maxOffset_, position));
    if (maxLength < kLzxMinMatch) return {};
    LzxMatch best = finder_.Find(position, maxLength, maxOffset);
    for (int i = 0; i < 3; ++i) {
      std::uint32_t offset = recent_.r[i];
      if (offset > maxOffset) continue;
      int length = finder_.MatchLength(position, offset, maxLength);
      // A recent offset saves the footer (and often several bits of slot).
      if (length >= kLzxMinMatch && length + (best.offset > 64 ? 1 : 0) >= best.length &&
          (best.length == 0 || length >= 3)) {
        best = {length, offset};
      }
    }
    return best;
  }

  LzxMatchFinder finder_;
  std::uint32_t maxOffset_;
  std::span<const std::uint8_t> interval_;
  RecentOffsets recent_;
};

}  // namespace

LzxOutput CompressLzx(std::span<const std::uint8_t> data, const LzxSettings& settings) {
  QV_ASSERT(settings.windowBits >= 15 && settings.windowBits <= 21, "LZX window of 2^15 to 2^21 bytes");
  QV_ASSERT(settings.resetFrames >= 1, "LZX reset interval of at least one frame");
  LzxOutput output;
  LzxBitWriter bits(output.bytes);
  LzxBlockWriter blocks(LzxPositionSlots(settings.windowBits));
  FrameParser parser(settings);
  const std::size_t intervalSize = std::size_t{kLzxFrameSize} * settings.resetFrames;
  for (std::size_t start = 0; start < data.size(); start += intervalSize) {
    std::span<const std::uint8_t> interval = data.subspan(start, std::min(intervalSize, data.size() - start));
    parser.StartInterval(interval);
    blocks.Reset();
    for (std::size_t frame = 0; frame < interval.size(); frame += kLzxFrameSize) {
      output.frameOffsets.push_back(output.bytes.size());
      if (frame == 0) bits.Write(0, 1);  // no E8 call translation: the content is not x86 code
      std::size_t end = std::min(frame + kLzxFrameSize, interval.size());
      blocks.Write(bits, parser.Parse(frame, end), static_cast<std::uint32_t>(end - frame));
      bits.Align();
    }
  }
  return output;
}

}  // namespace quorvex
