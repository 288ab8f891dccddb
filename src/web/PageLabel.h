#pragma once
// What the browser help calls a page in its contents, keyword list and
// search results.

#include <string>
#include <string_view>

#include "web/HtmlText.h"

namespace quorvex {

/// About how many characters a label taken from a page's text keeps.
inline constexpr std::size_t kLabelLength = 60;

/// The page's title; for a page without one (a topic without a "$" title)
/// its first line of text, which is its heading when the page begins with
/// one, shortened by ShortenAtWord; the file name only for a page without
/// any text.
std::string PageLabel(const PageText& page, std::string_view file);

/// UTF-8 text of at most `limit` characters as it is; longer text cut at the
/// last blank (or, for text without blanks such as Japanese, after the last
/// punctuation mark) within the first `limit` characters, when one lies in
/// the second half of them, else at `limit`, with "…" added.
std::string ShortenAtWord(std::string_view text, std::size_t limit = kLabelLength);

}  // namespace quorvex
