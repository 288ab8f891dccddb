// Metafile pictures: enhanced metafiles read as placeable ones, and the
// playback of a held metafile into a bitmap.
//
// Both need the platform's metafile player, which is not part of the build
// yet; until it is, they refuse with a clear error instead of drawing nothing.

#include "shg/shg.h"

namespace quorvex {

void TShg::LoadEnhancedMetafileFile(const ByteString& /*path*/) {
  throw EInvalidGraphic("Enhanced metafiles cannot be read: no metafile player");
}

void TShg::RenderMetafile(Bitmap& /*bitmap*/) const {
  throw EInvalidGraphic("Metafile pictures cannot be drawn: no metafile player");
}

}  // namespace quorvex
