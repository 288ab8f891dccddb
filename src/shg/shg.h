#pragma once
// TShg: one picture of a help project held in a small uniform form (a
// picture header, the picture's bitmap or metafile data, possibly run-length
// packed, and a table of hotspots), read from a segmented-hypergraphics file
// (.shg) or from a plain bitmap or metafile file (.bmp, .wmf, .emf), and
// drawn into a platform bitmap.

#include <cstdint>
#include <span>
#include <vector>

#include "base/ByteString.h"
#include "base/Errors.h"
#include "platform/Bitmap.h"
#include "platform/Stream.h"

namespace quorvex {

/// The errors of the picture reader.
class EShgError : public Exception {
 public:
  using Exception::Exception;
};

/// A file the reader refuses: "TShg.LoadFromFile: File type is invalid".
class EShgErrorFile : public EShgError {
 public:
  EShgErrorFile();
};

/// One hotspot of a picture.
struct THotSpot {
  std::uint8_t Kind = 0;  ///< 0 macro, 1 popup, 2 jump
  bool Visible = false;
  std::uint16_t Left = 0;  ///< the rectangle, in pixels of the rendered picture
  std::uint16_t Top = 0;
  std::uint16_t Width = 0;
  std::uint16_t Height = 0;
  ByteString Name;
  ByteString Target;  ///< the topic of a popup or jump, the macro text of a macro
};

/// The file header of a segmented-hypergraphics file.
struct TShgFileHeader {
  std::uint16_t Magic = 0;
  std::uint16_t PictureCount = 0;
  std::uint32_t PictureOffset = 0;  ///< from the start of the file
};

/// The header of a bitmap picture. PictureType and PackingMethod take the
/// first two bytes of every picture, metafiles included.
struct TShgBitmapHeader {
  std::uint8_t PictureType = 0;    ///< 5 device-dependent, 6 device-independent bitmap, 8 metafile
  std::uint8_t PackingMethod = 0;  ///< 0 stored, 1 RunLen
  std::int32_t XDpi = 0;
  std::int32_t YDpi = 0;
  std::int16_t Planes = 0;
  std::uint16_t BitCount = 0;
  std::int32_t Width = 0;  ///< pixels
  std::int32_t Height = 0;
  std::int32_t ColorsUsed = 0;  ///< palette entries stored
  std::uint32_t ColorsImportant = 0;
  std::uint32_t CompressedSize = 0;  ///< bytes of pixel data as held
  std::uint32_t HotspotSize = 0;
  std::uint32_t CompressedOffset = 0;  ///< from the start of the picture
  std::uint32_t HotspotOffset = 0;
};

/// The header of a metafile picture.
struct TShgMetafileHeader {
  std::uint8_t MetaPictureType = 0;  ///< 8 when a metafile is held
  std::uint8_t MetaPackingMethod = 0;
  std::int16_t MappingMode = 0;
  std::uint32_t MetaWidth = 0;  ///< pixels at 96 per inch
  std::uint32_t MetaHeight = 0;
  std::int32_t DecompressedSize = 0;
  std::uint32_t MetaCompressedSize = 0;
  std::uint32_t MetaHotspotSize = 0;
  std::uint32_t MetaCompressedOffset = 0;
  std::uint32_t MetaHotspotOffset = 0;
};

class TShg {
 public:
  /// Loads one picture file, chosen by its extension (letter case ignored):
  /// ".shg" (or ".mrb", the same layout), ".bmp", ".wmf" or ".emf". Data and hotspots of an earlier load
  /// are dropped first; header fields the new file does not set keep their
  /// values. A refused file raises EShgErrorFile; a picture whose palette or
  /// data runs past the end of the file EReadError; a file that cannot be
  /// read EFOpenError; the DIB model's errors pass through for ".bmp".
  void LoadFromFile(const ByteString& path);

  /// Loads a picture of a compiled help file (a |bm file, or one kept in a
  /// topic): the .shg layout, its first resolution, with the packing help
  /// compilers add besides RunLen: 2 LZ77, 3 LZ77 then RunLen, and the
  /// device-dependent bitmaps (type 5) of Windows 3.0's compiler. A refused
  /// picture raises EShgErrorFile, like LoadFromFile.
  void LoadFromHelpPicture(std::span<const std::uint8_t> picture);

  /// Draws the held picture into `bitmap`: a bitmap picture is loaded into
  /// it as a BMP image, a metafile picture is played onto it at its size;
  /// any other picture leaves it unchanged. A held form that cannot make a
  /// picture raises EInvalidGraphic.
  void RenderToBitmap(Bitmap& bitmap) const;

  /// Entry `index` of the hotspot table; the last hotspot of the file comes
  /// first. An index outside the table raises EListError.
  const THotSpot& GetHotSpot(std::int32_t index) const;
  std::int32_t HotSpotCount() const { return static_cast<std::int32_t>(hotSpots_.size()); }

  /// Pixel data shorter than the picture's rows, but holding at least half
  /// of them, is filled up with zeros instead of being refused: help
  /// compilers leave out the last rows of some pictures, and the help viewer
  /// shows them anyway.
  bool FillShortPixelData = false;

  TShgFileHeader FileHeader;
  TShgBitmapHeader BitmapHeader;
  TShgMetafileHeader MetafileHeader;
  /// A bitmap's palette (ColorsUsed x blue, green, red, reserved) and pixel
  /// data, or a metafile's records without the placeable header.
  MemoryStream PictureData;

 private:
  /// `firstOfSeveral`: a file of several pictures (one per resolution) gives
  /// its first. `helpPicture`: the picture comes from a compiled help file,
  /// where packing methods 2 and 3 occur (held expanded, as 0 and 1) and a
  /// palette without a count has an entry for every pixel value.
  void LoadShgFile(std::span<const std::uint8_t> file, bool firstOfSeveral, bool helpPicture = false);
  void LoadBmpFile(const ByteString& path);
  void LoadMetafileFile(std::span<const std::uint8_t> placeable, std::int32_t fileLength);
  void LoadEnhancedMetafileFile(const ByteString& path);
  void RenderBitmap(Bitmap& bitmap) const;
  void RenderDeviceBitmap(Bitmap& bitmap) const;
  void RenderMetafile(Bitmap& bitmap) const;

  std::vector<THotSpot> hotSpots_;
};

}  // namespace quorvex
