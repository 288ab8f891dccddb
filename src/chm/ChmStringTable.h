#pragma once
// #STRINGS: the texts the other system files point at by offset. It starts
// with an empty string; each text ends in a NUL, none crosses a 4 KiB block
// (HTML Help reads the file block by block), and equal texts are stored once.

#include <cstdint>
#include <map>
#include <string>

#include "base/ByteString.h"

namespace quorvex {

class ChmStringTable {
 public:
  ChmStringTable() : bytes_(1, '\0') {}

  /// The offset of `text` (0 for the empty text), adding it if new.
  std::uint32_t Add(const ByteString& text);

  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
  std::map<ByteString, std::uint32_t> offsets_;
};

/// Appends `text` and its NUL to a table of 4 KiB blocks, first padding to the
/// next block when it would cross one (and fits in one); its offset.
std::uint32_t AppendInBlock(std::string& table, std::string_view text);

}  // namespace quorvex
