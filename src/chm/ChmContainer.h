#pragma once
// The container of a compiled help (ITSF): header, directory, the
// uncompressed section 0 and the LZX-compressed section 1 ("MSCompressed")
// with its control data, span, transform list and reset table.

#include <cstdint>
#include <string>
#include <vector>

#include "chm/LzxCompressor.h"

namespace quorvex {

struct ChmFile {
  std::string name;  ///< UTF-8, beginning with "/"
  std::string data;
};

struct ChmContainerSettings {
  std::uint32_t lcid = 0x409;
  LzxSettings lzx;
};

/// The whole .chm holding `files` (names unique by ChmNameEqual), every
/// non-empty one compressed, plus a directory entry for each folder.
std::string BuildChmContainer(std::vector<ChmFile> files, const ChmContainerSettings& settings);

}  // namespace quorvex
