#pragma once
// Names inside a compiled help: UTF-8, "/" separated, ordered and matched
// without regard to the case of ASCII letters, as HTML Help and chmlib look
// them up.

#include <cstddef>
#include <string_view>

namespace quorvex {

/// The longest name readers take: chmlib stops reading a directory chunk at
/// a longer one, losing the names after it.
inline constexpr std::size_t kMaxChmNameLength = 512;

/// The directory's order: bytes compared with ASCII letters lower-cased.
bool ChmNameLess(std::string_view a, std::string_view b);

/// Equal in that order (the same entry for a reader).
bool ChmNameEqual(std::string_view a, std::string_view b);

}  // namespace quorvex
