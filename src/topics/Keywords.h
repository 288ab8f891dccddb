#pragma once
// Keyword footnotes ("K") into the job's index lists.

#include <optional>
#include <string_view>

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// Adds the ";"-separated keywords of `text` to IndexKeywords, with `pageName`
/// in IndexPages. "first,second" files a second-level keyword (two leading
/// blanks) under its first-level keyword, directly after that keyword when it
/// is already listed, else after a new heading that has no page.
void AddKeywords(ConversionJob& job, std::string_view text, const ByteString& pageName);

/// Files one keyword: a first-level one, or with `second` a second-level one
/// under `first`, by the rules AddKeywords describes.
void AddIndexEntry(ConversionJob& job, const ByteString& first, const std::optional<ByteString>& second,
                   const ByteString& pageName);

}  // namespace quorvex
