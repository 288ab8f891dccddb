#pragma once
// Picture references of a topic line ("\{bmc name\}" and its left, right and
// transparent forms).

#include <cstdint>
#include <span>

#include "base/ByteString.h"
#include "topics/LineCursor.h"
#include "topics/TopicPage.h"

namespace quorvex {

/// Where a picture sits: in line, or floated to the left or right.
enum class PictureAlignment { Centred = 0, Left = 1, Right = 2 };

/// Converts the picture reference whose name starts at the cursor and leaves
/// the cursor after the reference's closing escaped brace. A ".bmp" or ".shg"
/// picture found under the project's bitmap folder is written as a PNG under
/// img\ and becomes an image element; a ".shg" with hotspots also gets an
/// image map whose areas jump to pages or open popups. A missing picture, or
/// one of another type, reads "(画像)". Pictures that cannot be read raise
/// their readers' errors.
ByteString ConvertPicture(TopicPage& page, LineCursor& cursor, PictureAlignment alignment);

/// Converts the picture `name` (looked up in the bitmap folders, see
/// PictureFilePath). ".mrb" pictures are read like ".shg", and either is read
/// as a BMP when it starts like one. A missing picture is also a warning; a
/// picture that cannot be read is a warning and reads "(画像)" when the job
/// keeps going. With `metafiles`, ".wmf" and ".emf" pictures are drawn too,
/// and ".dib" files are read as the BMP files they are.
ByteString ConvertPictureFile(TopicPage& page, const ByteString& name, PictureAlignment alignment,
                              bool metafiles = false);

/// Converts a picture of a compiled help file (the .shg form, see
/// TShg::LoadFromHelpPicture) into img\<pngName>, with an image map for its
/// hotspots as for a ".shg" file. The PNG is written once per conversion (see
/// ConversionJob::HelpPictures). Pictures that cannot be read raise their
/// readers' errors.
ByteString ConvertHelpPicture(TopicPage& page, std::span<const std::uint8_t> picture, const ByteString& pngName,
                              PictureAlignment alignment);

}  // namespace quorvex
