#include "base/ContextHash.h"

namespace quorvex {
namespace {

// The weight of one byte. Letters weigh the same in both cases, digits and
// letters count up from 1, and a few punctuation bytes share the weights of
// others; everything else keeps its place, moved by a fixed amount. Weights
// are signed bytes.
std::int32_t Weight(std::uint8_t b) {
  int w;
  if (b == 0) {
    w = 0;
  } else if (b < 0x30) {
    w = b == '!' ? 0x0B : b == '.' ? 0x0C : b + 0xD0;
  } else if (b == '0') {
    w = 0x0A;
  } else if (b <= 'Z') {
    w = b - 0x30;  // digits 1-9, ":" to "@", "A" to "Z"
  } else if (b == '_') {
    w = 0x0D;
  } else if (b < 0x80) {
    w = b - 0x50;  // "[" to "^", "`", "a" to "z" (onto "A" to "Z"), "{" to DEL
  } else {
    w = b == 0xB4 ? 0x0B : b - 0x30;
  }
  return static_cast<std::int8_t>(static_cast<std::uint8_t>(w));
}

}  // namespace

std::uint32_t ContextHash(std::string_view context) {
  if (context.empty()) return 1;  // what the compilers store for an empty string
  std::uint32_t hash = 0;
  for (char c : context) hash = hash * 43 + static_cast<std::uint32_t>(Weight(static_cast<std::uint8_t>(c)));
  return hash;
}

}  // namespace quorvex
