#pragma once
// The document reader: RTF as Word and other help authoring tools write it,
// many topics per file, into the document model.

#include <string_view>

#include "model/HelpDocument.h"

namespace quorvex {

/// Reads a topic file. Topics are split at body-level \page; a stretch with
/// neither footnote nor visible text is no topic. `projectCodePage` is the
/// project's code page (0 when it says none), used where the file names no
/// double-byte code page of its own. Any byte sequence gives a model: damaged
/// RTF loses text, never more; groups nested deeper than a limit are dropped.
HelpDocument ReadRtfDocument(std::string_view data, int projectCodePage);

}  // namespace quorvex
