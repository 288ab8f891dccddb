#pragma once
// Pictures on document pages: references to picture files ({bmc name}) and
// pictures embedded in the RTF (\pict).

#include "base/ByteString.h"
#include "document/DocumentSet.h"
#include "model/HelpDocument.h"
#include "topics/TopicPage.h"

namespace quorvex {

/// The image (or image map) of a picture reference: the first of its ";"
/// alternatives found in the bitmap folders, converted as the topic converter
/// converts pictures (metafiles too); "(画像)" when none is found.
ByteString PictureReferenceHtml(TopicPage& page, const Inline& reference);

/// Embedded picture `index` of `file`, written as img\<file name>_<n>.png (a
/// JPEG as .jpg), n counting the file's pictures from 1, and shown at the size
/// the document gives it. A picture in the .shg form of compiled help files
/// is drawn at its own size, placed as `placement` says, with an image map
/// for its hotspots. A picture that cannot be drawn reads "(画像)", with a warning.
ByteString EmbeddedPictureHtml(TopicPage& page, const DocumentFile& file, std::size_t index,
                               Placement placement = Placement::InLine);

}  // namespace quorvex
