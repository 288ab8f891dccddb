#pragma once
// The start of a topic's first content line: the paragraph settings before
// the footnotes, and the footnotes themselves (context, title, keywords).

#include "base/ByteString.h"
#include "base/StringList.h"
#include "topics/LineCursor.h"
#include "topics/TopicPage.h"

namespace quorvex {

/// Reads the header and the footnote run from the cursor, which ends where
/// the body text starts. "\keepn " opens the non-scrolling region and a
/// control word beginning with b turns bold on (the output then starts with
/// "<h4>" or "<b>"); a "$" footnote puts a title line into `pageLines` before
/// "</head>", a "K" footnote adds index keywords for `pageName`.
void ReadTopicHeader(TopicPage& page, LineCursor& cursor, StringList& pageLines, const ByteString& pageName,
                     ByteString& output);

}  // namespace quorvex
