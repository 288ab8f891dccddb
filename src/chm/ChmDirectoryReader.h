#pragma once
// Reads back the header and directory of a compiled help and checks what
// chmlib does not look at but HTML Help may: free space, quick-ref offsets,
// order, chunk links and index entries. Finds names the way an indexed
// reader does: index chunks down to a listing chunk, then its quick-ref.
// It is file data: any bytes either read or raise EChmFormat.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "base/Errors.h"
#include "chm/ChmDirectory.h"

namespace quorvex {

/// A compiled help whose header or directory is broken; the message says where.
class EChmFormat : public Exception {
 public:
  using Exception::Exception;
};

struct ChmDirectoryListing {
  std::uint64_t contentOffset = 0;  ///< where section 0 starts in the file
  std::vector<ChmDirectoryEntry> entries;  ///< in directory order
};

/// Reads and checks the header and the whole directory.
ChmDirectoryListing ReadChmDirectory(std::span<const std::uint8_t> file);

/// Looks `name` up through the index (case of ASCII letters ignored); nothing
/// when it is not there.
std::optional<ChmDirectoryEntry> FindChmEntry(std::span<const std::uint8_t> file, std::string_view name);

}  // namespace quorvex
