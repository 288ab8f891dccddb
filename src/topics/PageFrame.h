#pragma once
// The frame every page is written in, and the popup block of its head.

#include "base/StringList.h"
#include "job/ConversionJob.h"
#include "topics/TopicPage.h"

namespace quorvex {

/// The popup block goes directly after the style-sheet line.
inline constexpr int kPopupBlockLine = 4;

/// The seven lines a page starts with: head with the style sheet, an empty
/// line, and the body tag with the project's background colour.
StringList PageFrame(const ConversionJob& job);

/// The HTML Help control that shows text popups, and the popup texts: the
/// page's own, or the shared file; no lines when the page links no popup.
StringList PopupBlock(const TopicPage& page);

/// Inserts `inserted` into `lines` before `position`.
void InsertLines(StringList& lines, int position, const StringList& inserted);

}  // namespace quorvex
