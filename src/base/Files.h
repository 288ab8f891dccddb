#pragma once
// The one place that touches the file system.
//
// Engine paths are Shift-JIS byte strings whose components are separated by
// "\" (or "/"). Each component is looked up as it is, then as UTF-8, then by a
// match that ignores letter case, as help projects written on Windows expect;
// components that do not exist yet get UTF-8 names.

#include <cstdint>
#include <string>
#include <vector>

#include "base/ByteString.h"

namespace quorvex {

/// Largest input file the engine reads whole.
inline constexpr std::uint64_t kMaxInputFileSize = 512ull << 20;

/// The native (UTF-8) path for an engine path.
std::string NativePath(const ByteString& enginePath);

/// Forgets the folders NativePath found, which it remembers so as not to look
/// up the folders above every file again; a conversion starts with this, since
/// folders may have been renamed between two.
void ForgetFoundFolders();

/// The code page (other than Shift-JIS) that names which are not found as
/// they are, nor as Shift-JIS, are also tried in; 0 for none.
void SetNameCodePage(int codePage);

/// An engine path for a native path: UTF-8 converted to Shift-JIS where possible
/// (bytes kept otherwise), "/" turned into "\".
ByteString EnginePath(const std::string& nativePath);

/// True when a plain file exists at the path.
bool FileExists(const ByteString& path);

/// True when a folder exists at the path.
bool DirectoryExists(const ByteString& path);

/// The whole file; raises EFOpenError when it cannot be read.
ByteString ReadFile(const ByteString& path);

/// True when `path` names something strictly inside `folder`: it begins with
/// `folder` and the rest has no ".." component, no drive colon and no empty
/// component (no absolute part).
bool IsInsideFolder(const ByteString& folder, const ByteString& path);

/// Writes (replaces) the file `path`, which must lie inside `outputFolder`;
/// raises EFCreateError when it is outside or cannot be written.
void WriteFileInside(const ByteString& outputFolder, const ByteString& path, std::string_view data);

/// Deletes the file `path` if it lies inside `outputFolder`; false when
/// refused or when it could not be deleted.
bool DeleteFileInside(const ByteString& outputFolder, const ByteString& path);

/// Creates a folder with any missing parents; failures are silent (the first
/// file written into the folder reports them).
void ForceDirectories(const ByteString& path);

/// Whether a listing names the files whose names begin with ".".
enum class HiddenFiles { Skipped, Listed };

/// Names of the plain files of `folder` matching `pattern` ("*" and "?",
/// letter case ignored), without the hidden ones (names beginning with ".")
/// unless asked, sorted by name with letter case ignored. A folder that
/// cannot be read lists nothing.
std::vector<ByteString> ListFiles(const ByteString& folder, const ByteString& pattern,
                                  HiddenFiles hidden = HiddenFiles::Skipped);

/// True when `name` matches the wildcard `pattern` ("*" any run, "?" one byte),
/// letter case ignored.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace quorvex
