#pragma once
// Names inside a compiled help: UTF-8, "/" separated, ordered and matched
// without regard to the case of ASCII letters, as HTML Help and chmlib look
// them up.

#include <string_view>

namespace quorvex {

/// The directory's order: bytes compared with ASCII letters lower-cased.
bool ChmNameLess(std::string_view a, std::string_view b);

/// Equal in that order (the same entry for a reader).
bool ChmNameEqual(std::string_view a, std::string_view b);

}  // namespace quorvex
