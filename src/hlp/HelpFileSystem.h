#pragma once
// The file system inside a compiled help file: a header at the start, a
// directory (a B+ tree of names and offsets) and the internal files, each
// behind a small header that gives its size.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string_view>

#include "base/ByteString.h"
#include "hlp/HelpFileError.h"

namespace quorvex {

/// True when `bytes` start with the magic number of a WinHelp file.
bool IsCompiledHelp(std::span<const std::uint8_t> bytes);

/// One internal file: its bytes, and where they start in the help file.
struct InternalFile {
  std::span<const std::uint8_t> Bytes;
  std::uint64_t Offset = 0;
};

class HelpFileSystem {
 public:
  /// Reads the header and the directory of `file`, which must outlive this
  /// object. A file that is no help file, or whose directory cannot be read,
  /// raises EHelpFileError; internal files that lie outside the file are left
  /// out, as problems.
  HelpFileSystem(std::span<const std::uint8_t> file, ReadProblems& problems);

  /// The internal file `name` (letter case counts, as in WinHelp), or nothing.
  std::optional<InternalFile> Find(std::string_view name) const;

  /// Every internal file by name.
  const std::map<ByteString, InternalFile>& Files() const { return files_; }

 private:
  std::map<ByteString, InternalFile> files_;
};

/// The bytes of the internal file that starts with its header at `offset`;
/// EHelpFileError (naming `name`) when the header or the bytes it announces
/// lie outside `file`.
InternalFile ReadInternalFile(std::span<const std::uint8_t> file, std::uint64_t offset, std::string_view name);

}  // namespace quorvex
