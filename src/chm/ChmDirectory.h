#pragma once
// The directory of a compiled help: the ITSP header, listing chunks (PMGL)
// with every name in order, and index chunks (PMGI) above them when there
// is more than one listing chunk.

#include <cstdint>
#include <string>
#include <vector>

namespace quorvex {

inline constexpr std::uint32_t kChmChunkSize = 0x1000;
inline constexpr std::uint32_t kChmQuickRefDensity = 2;  // one quick-ref entry every 1 + 2^2 entries

struct ChmDirectoryEntry {
  std::string name;  ///< UTF-8, "/..." or "::DataSpace/..."
  std::uint64_t section = 0;
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
};

/// The directory for `entries`, which must be sorted by ChmNameLess without
/// duplicates. Raises an error for a name too long for a chunk.
std::string BuildChmDirectory(const std::vector<ChmDirectoryEntry>& entries, std::uint32_t lcid);

}  // namespace quorvex
