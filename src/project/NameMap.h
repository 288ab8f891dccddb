#pragma once
// The name map cnv.txt and the one rule that turns a topic name into the file
// name of its page.

#include <string_view>
#include <vector>

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// Reads ProjectFolder + "cnv.txt" if it exists: every line of exactly two
/// fields maps a topic name (lower-cased) to a page base name.
void LoadNameMap(ConversionJob& job);

/// Splits a cnv.txt line into fields: blanks and commas separate, a field in
/// double quotes may hold both ("" stands for one quote), a comma that ends
/// the line adds an empty field.
std::vector<ByteString> SplitNameMapFields(std::string_view line);

/// The page file name (no folder) of a topic: the mapped name or the
/// lower-cased topic name, plus ".html"; empty for an unmapped empty name.
ByteString PageName(const ConversionJob& job, std::string_view topic);

/// `name` with every byte that cannot stand in a file name or a URL (blank,
/// ":", "(", ")", ",", "/", "\", "*", "?", the double quote, "<", ">", "|",
/// "#", "%", "&", "'", ";", control bytes) made "_"; double-byte characters stay.
ByteString FitForFileName(const ByteString& name);

/// The page a topic of a document gets by its context string: PageName's
/// name made fit for a file name, plus ".html" (before any numbering of
/// names that collide).
ByteString DocumentPageName(const ConversionJob& job, std::string_view context);

}  // namespace quorvex
