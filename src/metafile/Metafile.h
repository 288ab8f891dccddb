#pragma once
// Windows metafiles off Windows: a placeable metafile played onto a platform
// bitmap by our own record player, the translation of enhanced metafiles into
// placeable ones, and the platform's multiply-then-divide.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/Bitmap.h"

namespace quorvex {

/// Size of the placeable header that precedes the metafile's own header.
inline constexpr std::size_t kPlaceableHeaderSize = 22;
/// The key a placeable metafile starts with.
inline constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;

/// A placeable Windows metafile held in memory: the 22-byte placeable header
/// (key 0x9AC6CDD7, handle, bounding box left/top/right/bottom, units per inch,
/// reserved, checksum) followed by the metafile's records.
class Metafile {
 public:
  /// Takes a placeable metafile image. A missing or wrong placeable header
  /// (key or checksum), or a metafile header that is not one, raise
  /// EInvalidGraphic("Metafile is not valid").
  explicit Metafile(std::vector<std::uint8_t> placeable);

  /// The picture's size in pixels at 96 pixels per inch:
  /// MulDiv(right - left, 96, unitsPerInch) (unitsPerInch 0 counts as 96), likewise the height.
  std::int32_t Width() const;
  std::int32_t Height() const;

  /// Plays the records onto `target` (any size; a target that is not 24 bits
  /// per pixel is converted to 24 bits first), the picture's bounding box
  /// mapped onto the rectangle x, y, Width(), Height(), aliasing off as GDI
  /// draws. Never reads outside the records; a malformed record stops the
  /// playback cleanly and what was drawn stays.
  void Draw(Bitmap& target, std::int32_t x, std::int32_t y) const;

 private:
  std::vector<std::uint8_t> bytes_;
  std::int16_t left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
  std::uint16_t unitsPerInch_ = 96;
};

/// An enhanced metafile (.emf file bytes) as a placeable Windows metafile image
/// of 96 units per inch (what Windows' "switch to the non-enhanced form and save
/// as a placeable metafile" gives). Malformed input raises EInvalidGraphic.
std::vector<std::uint8_t> EnhancedToPlaceableMetafile(std::span<const std::uint8_t> emf);

/// Multiply then divide with a 64-bit intermediate, rounded to nearest with
/// halves away from zero (Windows MulDiv); -1 when c is 0 or the result does
/// not fit 32 bits.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

}  // namespace quorvex
