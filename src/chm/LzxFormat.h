#pragma once
// The fixed numbers of the LZX format (Microsoft's LZX description in its
// cabinet documents): match lengths, position slots and their footer bits.

#include <cstdint>

namespace quorvex {

inline constexpr int kLzxFrameSize = 32768;    // output a decoder produces per call
inline constexpr int kLzxMinMatch = 2;
inline constexpr int kLzxMaxMatch = 257;
inline constexpr int kLzxLiterals = 256;
inline constexpr int kLzxPrimaryLengths = 7;   // length headers 0..6 direct, 7 = see the length tree
inline constexpr int kLzxLengthSymbols = 249;  // kLzxMaxMatch - kLzxMinMatch - kLzxPrimaryLengths + 1
inline constexpr int kLzxPretreeSymbols = 20;
inline constexpr int kLzxMaxCodeLength = 16;
inline constexpr int kLzxMaxPretreeLength = 15;  // sent in 4 bits
inline constexpr int kLzxBlockVerbatim = 1;

/// Position slots a window of 2^windowBits bytes uses (15 <= windowBits <= 21).
constexpr int LzxPositionSlots(int windowBits) {
  constexpr int slots[] = {30, 32, 34, 36, 38, 42, 50};
  return slots[windowBits - 15];
}

/// Footer bits of a position slot.
constexpr int LzxFooterBits(int slot) {
  if (slot < 4) return 0;
  int bits = (slot - 2) / 2;
  return bits > 17 ? 17 : bits;
}

/// The smallest formatted offset (match offset + 2) of a position slot.
constexpr std::uint32_t LzxPositionBase(int slot) {
  std::uint32_t base = 0;
  for (int i = 0; i < slot; ++i) base += std::uint32_t{1} << LzxFooterBits(i);
  return base;
}

/// The position slot of a formatted offset (3 and up; 0..2 are the repeated offsets).
constexpr int LzxPositionSlot(std::uint32_t formatted) {
  if (formatted < 4) return static_cast<int>(formatted);
  int top = 31 - __builtin_clz(formatted);
  int slot = 2 * top + static_cast<int>((formatted >> (top - 1)) & 1);
  // Beyond slot 36 every slot has 17 footer bits and spans 2^17 offsets.
  if (slot > 36) slot = 36 + static_cast<int>((formatted - LzxPositionBase(36)) >> 17);
  return slot;
}

}  // namespace quorvex
