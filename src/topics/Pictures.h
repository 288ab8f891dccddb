#pragma once
// Picture references of a topic line ("\{bmc name\}" and its left, right and
// transparent forms).

#include "base/ByteString.h"
#include "topics/LineCursor.h"
#include "topics/TopicPage.h"

namespace quorvex {

/// Where a picture sits: in line, or floated to the left or right.
enum class PictureAlignment { Centred = 0, Left = 1, Right = 2 };

/// Converts the picture reference whose name starts at the cursor and leaves
/// the cursor after the reference's closing escaped brace. Pictures are not
/// converted yet: every reference reads "(画像)", the text that also stands
/// for a missing picture.
ByteString ConvertPicture(TopicPage& page, LineCursor& cursor, PictureAlignment alignment);

}  // namespace quorvex
