#include "base/CompressedNumbers.h"

namespace quorvex {

std::uint16_t ReadCompressedWord(ByteReader& reader) {
  const std::uint8_t low = reader.U8();
  if ((low & 1) == 0) return low >> 1;
  return static_cast<std::uint16_t>((low >> 1) + reader.U8() * 128);
}

std::uint32_t ReadCompressedDword(ByteReader& reader) {
  const std::uint16_t low = reader.U16LE();
  if ((low & 1) == 0) return low >> 1;
  return (low >> 1) + std::uint32_t{reader.U16LE()} * 32768;
}

std::int16_t ReadCompressedSignedWord(ByteReader& reader) {
  const std::uint8_t low = reader.U8();
  if ((low & 1) == 0) return static_cast<std::int16_t>((low >> 1) - 64);
  return static_cast<std::int16_t>((low >> 1) + reader.U8() * 128 - 16384);
}

std::int32_t ReadCompressedSignedDword(ByteReader& reader) {
  const std::uint16_t low = reader.U16LE();
  if ((low & 1) == 0) return static_cast<std::int32_t>(low >> 1) - 16384;
  return static_cast<std::int32_t>((low >> 1) + std::uint32_t{reader.U16LE()} * 32768 - 1073741824u);
}

}  // namespace quorvex
