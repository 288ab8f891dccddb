#pragma once
// The line scanner: one content line of a topic file into one line of HTML.

#include "base/ByteString.h"
#include "topics/LineCursor.h"
#include "topics/TopicPage.h"

namespace quorvex {

/// Converts the line from the cursor to its end and appends the HTML to
/// `output`: paragraph breaks, rules, bold, colours, lists, indented blocks,
/// tables, hotspots, buttons and pictures; any other control word or group is
/// dropped. The page's scan state carries what is open to the next line.
void ScanLine(TopicPage& page, LineCursor& cursor, ByteString& output);

}  // namespace quorvex
