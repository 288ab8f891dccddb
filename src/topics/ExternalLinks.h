#pragma once
// Links that leave the help's own pages: URLs and files that ExecFile or a
// HYPERLINK field names. A converted help must not carry script in from its
// sources, nor links to files it does not carry.

#include <optional>
#include <string_view>

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// True for the URLs a page may link: http:, https:, mailto:, ftp:, news:
/// and the help's own ms-its: form (letter case ignored).
bool IsLinkableUrl(std::string_view url);

/// The href for a URL or file outside the help, or nothing when the text
/// stays unlinked (with a warning about `where`, the file it came from):
/// a linkable URL as it is; another scheme (javascript:, vbscript:, data:,
/// ...) is refused; a local file found as topic files are found is copied
/// beside the pages (html\) and linked by its file name; a file that is not
/// there is not linked.
std::optional<ByteString> ExternalHref(ConversionJob& job, const ByteString& target, const ByteString& where);

}  // namespace quorvex
