#pragma once
// The hash WinHelp stores instead of a context string: help files from 3.1
// on keep only these, so a name is known again only when some text of the
// help (or beside it) hashes to the same number.

#include <cstdint>
#include <string_view>

namespace quorvex {

/// The hash of a context string as written (code page bytes). Letter case
/// does not count: WinHelp folds it, and the string's characters are weighed
/// through a fixed table, 43 times the hash so far plus the weight of the
/// next character.
std::uint32_t ContextHash(std::string_view context);

}  // namespace quorvex
