#include "topics/Pictures.h"

#include "base/Texts.h"

namespace quorvex {

// Not converted yet: there is no bitmap or PNG support to turn the picture
// into an image, so every reference is consumed and replaced by the same text
// a missing picture gets. The page and the alignment are what the conversion
// will need once pictures are converted.
ByteString ConvertPicture(TopicPage& /*page*/, LineCursor& cursor, PictureAlignment /*alignment*/) {
  cursor.AdvanceTo('\\');
  if (cursor.Is('\\')) cursor.Step(2);  // the backslash and the brace of the closing "\}"
  return kMissingPicture;
}

}  // namespace quorvex
