#pragma once
// The one rule that numbers popups and keeps their texts, for text hotspots,
// buttons and image-map areas alike.

#include <string_view>

#include "base/ByteString.h"
#include "topics/TopicPage.h"

namespace quorvex {

/// Links a popup of `topic` from the page and returns its number. With
/// combined popups a topic keeps the number of its first use in the whole
/// conversion and its text is read once into the job's PopupLines; otherwise
/// every link gets the page's next number and a line of its own in the page.
int AddPopupLink(TopicPage& page, const ByteString& topic);

/// The href that opens popup `number` with the HTML Help control.
ByteString PopupHref(int number);

/// The script line that holds popup `number`'s text.
ByteString PopupScriptLine(int number, std::string_view text);

}  // namespace quorvex
