#pragma once
// Hotspots of a topic line: underlined text with a hidden target (jumps and
// popups) and buttons that carry a macro.

#include "base/ByteString.h"
#include "topics/LineCursor.h"
#include "topics/TopicPage.h"

namespace quorvex {

enum class HotspotKind { Popup, Jump };

/// Converts a hotspot whose text starts at the cursor (after "{\ul " or
/// "{\uldb ") and whose target follows in the hidden group; returns the anchor
/// and leaves the cursor after the target.
ByteString ConvertHotspot(TopicPage& page, LineCursor& cursor, HotspotKind kind);

/// Converts a button whose label starts at the cursor (after "\{button "):
/// label, ",", macro (pi( popup, ji( jump or !execfile(" file link) and the
/// closing escaped brace. A button without a label takes the word after it
/// as its link text.
ByteString ConvertButton(TopicPage& page, LineCursor& cursor);

}  // namespace quorvex
