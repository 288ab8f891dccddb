#pragma once
// chmlib as the reference reader of the compiled help files we write: the
// names it lists and the bytes it extracts.

#include <map>
#include <optional>
#include <string>

namespace quorvex::test {

/// Every entry chmlib enumerates (files and folders) with the bytes it
/// retrieves; nothing when it cannot open the file or a retrieval comes back
/// short.
std::optional<std::map<std::string, std::string>> ReadWithChmlib(const std::string& chmBytes);

/// One file by name as chmlib resolves it (case-insensitively, as it does).
std::optional<std::string> ResolveWithChmlib(const std::string& chmBytes, const std::string& name);

}  // namespace quorvex::test
