#pragma once
// Plays metafiles in tests and reads the result back as text or counts.

#include <memory>
#include <string>
#include <vector>

#include "platform/Bitmap.h"

namespace quorvex::test {

/// A white 24-bit bitmap.
std::unique_ptr<Bitmap> WhiteBitmap(int width, int height);

/// Plays a placeable metafile at 0, 0 onto a white bitmap of its own size.
std::unique_ptr<Bitmap> PlayOnWhite(const std::vector<std::uint8_t>& placeable);

/// The picture as text, one character per pixel and a newline per row:
/// '.' white, '#' black, 'r' red, 'g' green, 'b' blue, '?' any other colour.
std::string Picture(const Bitmap& bitmap);

/// Pixels inside [left, right) x [top, bottom) whose colour is not white.
int InkPixels(const Bitmap& bitmap, int left, int top, int right, int bottom);

}  // namespace quorvex::test
