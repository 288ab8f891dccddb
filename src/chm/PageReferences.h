#pragma once
// What a compiler needs from the pages it packs: the local files they refer
// to (links, pictures, style sheets, scripts; the pages of a contents or index
// file) and their titles. Pages are file data: any bytes are scanned without
// failing.

#include <optional>
#include <string_view>
#include <vector>

#include "base/ByteString.h"

namespace quorvex {

/// The values of src= and href= attributes, of "Local" parameters (contents
/// and index files) and of CSS url(...), in order, as written.
std::vector<ByteString> PageReferences(std::string_view page);

/// The text of the page's <title>, white space collapsed and the basic
/// entities (&amp; &lt; &gt; &quot;) decoded; empty when there is none.
ByteString PageTitle(std::string_view page);

/// A reference made from a file in `folder` ("html/", or "" for the top) as a
/// path from the top ("html/a.html"): fragment and query dropped, %XX decoded,
/// "." and ".." resolved. Nothing for a reference to another place (a scheme
/// such as "http:" or "ms-its:", an absolute path, one above the top) or to
/// no file (a bare "#anchor").
std::optional<ByteString> ResolveReference(std::string_view folder, std::string_view reference);

/// The folder of a path, with its "/" ("html/a.html" -> "html/").
ByteString FolderOf(std::string_view path);

}  // namespace quorvex
