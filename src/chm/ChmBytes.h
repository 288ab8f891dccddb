#pragma once
// Little-endian numbers, GUIDs and the encoded integers of the directory,
// appended to a byte string.

#include <cstdint>
#include <string>

#include "base/ByteReader.h"

namespace quorvex {

inline void AppendU16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

inline void AppendU32(std::string& out, std::uint32_t value) {
  AppendU16(out, value & 0xFFFF);
  AppendU16(out, value >> 16);
}

inline void AppendU64(std::string& out, std::uint64_t value) {
  AppendU32(out, static_cast<std::uint32_t>(value));
  AppendU32(out, static_cast<std::uint32_t>(value >> 32));
}

/// Overwrites four bytes at `at` (which must lie inside `out`).
inline void PutU32(std::string& out, std::size_t at, std::uint32_t value) {
  std::string bytes;
  AppendU32(bytes, value);
  out.replace(at, 4, bytes);
}

/// A GUID in its stored form: one DWORD, two WORDs, eight bytes.
struct Guid {
  std::uint32_t data1;
  std::uint16_t data2, data3;
  std::uint8_t data4[8];
};

inline void AppendGuid(std::string& out, const Guid& guid) {
  AppendU32(out, guid.data1);
  AppendU16(out, guid.data2);
  AppendU16(out, guid.data3);
  for (std::uint8_t byte : guid.data4) out.push_back(static_cast<char>(byte));
}

/// The directory's variable-length integer: seven bits per byte, most
/// significant group first, the high bit set on every byte but the last.
inline void AppendEncodedInteger(std::string& out, std::uint64_t value) {
  char groups[10];
  int count = 0;
  do {
    groups[count++] = static_cast<char>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (count > 1) out.push_back(static_cast<char>(groups[--count] | 0x80));
  out.push_back(groups[0]);
}

/// Reads an encoded integer; one of more than 63 bits is an error.
inline std::uint64_t ReadEncodedInteger(ByteReader& reader) {
  std::uint64_t value = 0;
  for (int i = 0; i < 10; ++i) {
    std::uint8_t byte = reader.U8();
    if (value >> 57) break;
    value = (value << 7) | (byte & 0x7F);
    if (!(byte & 0x80)) return value;
  }
  throw EReadPastEnd("an encoded integer of the directory is too long");
}

}  // namespace quorvex
