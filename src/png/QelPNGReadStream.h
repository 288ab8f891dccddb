#pragma once
// The PNG decoder: reads the chunk sequence, checks the header, picks the
// target pixel format and a row converter for the PNG colour type and bit
// depth, and inflates, unfilters, converts and places every row (also in the
// seven passes of Adam7) into a bitmap, with transparency into a second
// 8-bit bitmap when the image carries it.

#include <array>
#include <cstdint>
#include <memory>

#include "base/ByteString.h"
#include "platform/Bitmap.h"
#include "platform/Clock.h"
#include "png/QelPNGStream.h"
#include "png/QelStream.h"
#include "png/QelZLIB.h"
#include "png/SFunc.h"

namespace quorvex {

/// "PNG LoadStream: Not PNG Format"
inline constexpr char kErrNotPng[] = "PNG LoadStream: Not PNG Format";
/// "Read Header(PNG): appear two IHDR"
inline constexpr char kErrTwoIHDR[] = "Read Header(PNG): appear two IHDR";
/// "Read Header(PNG): Error ColorType"
inline constexpr char kErrColorType[] = "Read Header(PNG): Error ColorType";
/// "Read Header(PNG): not support Compression"
inline constexpr char kErrCompression[] = "Read Header(PNG): not support Compression";
/// "Read Header(PNG): not supprt Filter"
inline constexpr char kErrFilter[] = "Read Header(PNG): not supprt Filter";
/// "Read Header(PNG): not interlace type"
inline constexpr char kErrInterlace[] = "Read Header(PNG): not interlace type";
/// "Read Header(PNG): Error Bitdepth" (grey images)
inline constexpr char kErrGreyDepth[] = "Read Header(PNG): Error Bitdepth";
/// "Read Header(PNG): not Use AlphaChannel"
inline constexpr char kErrAlphaDepth[] = "Read Header(PNG): not Use AlphaChannel";
/// "Read Header(PNG): Error BitDepth" (colour and palette images)
inline constexpr char kErrColourDepth[] = "Read Header(PNG): Error BitDepth";
/// "PNG LoadStream: Error ZLIB"
inline constexpr char kErrZlib[] = "PNG LoadStream: Error ZLIB";
/// "Read Image (PNG): Read Error"
inline constexpr char kErrReadImage[] = "Read Image (PNG): Read Error";
/// Raised for a width or height of 0 or above 2^31 - 1, which no PNG may have.
inline constexpr char kErrImageSize[] = "Read Header(PNG): Error Size";
/// Raised before allocating when the image would need more memory than allowed.
inline constexpr char kErrImageTooLarge[] = "Read Header(PNG): Image too large";

/// Bits of ChunkFlags.
enum PngChunkFlag : std::uint8_t {
  kHeaderRead = 1,
  kImageDone = 2,
  kEndRead = 4,
  kPaletteRead = 8,
  kQelChunkRead = 16,
};

/// Decodes one PNG data stream into a bitmap through LoadBitmap (see
/// TQelCustomGraphicReadStream). Set the options and targets first, read the
/// results afterwards. One object decodes one image.
class TQelPNGReadStream : public TQelCustomGraphicReadStream {
 public:
  TQelPNGReadStream();
  ~TQelPNGReadStream() override;

  // ---- options and targets, set before LoadBitmap

  /// 8-bit bitmap that receives the transparency (255 - alpha: 0 opaque,
  /// 255 clear) when the image has an alpha channel or partial palette
  /// transparencies; not owned.
  Bitmap* AlphaTarget = nullptr;
  /// Filled from tIME, cHRM and gIFg; each may be absent; not owned.
  DateTime* StoredTime = nullptr;
  Chromaticities* Chromaticity = nullptr;
  GifExtensionData* GifExtension = nullptr;
  /// Compare the 8-byte PNG signature.
  bool CheckSignature = true;
  /// RGB images whose sBIT is 5/5/5 or 5/6/5 become 16-bit (5-6-5) targets.
  bool ReducedRGB = false;
  /// Key handed to OnReadRow when the file says its rows are keyed (tpNG).
  ByteString RowKey;
  /// Asked for the key when a file's rows are keyed; may change it.
  TQelRowKeyHandler OnRowKey;
  /// Called with every inflated row before it is converted; may change it.
  TQelReadRowHandler OnReadRow;
  /// Most bytes the target bitmap, the alpha bitmap and the row buffers may
  /// each take; a larger image raises kErrImageTooLarge before allocating.
  std::int64_t MaxImageBytes = kMaxBitmapBytes;

  // ---- results, besides those of the base class

  /// The image has an alpha channel, or its palette transparencies went to
  /// the alpha target.
  bool HasAlpha = false;
  /// Colour type 0 or 4.
  bool GrayScale = false;
  /// IHDR interlace method: 0 none, 1 Adam7.
  std::int32_t Interlace = 0;
  /// From bKGD; -1 none.
  ColorRef BackgroundColor = kNoColor;
  /// From tRNS; -1 none.
  ColorRef TransparentColor = kNoColor;
  /// gAMA / 100000.
  double Gamma = 0;
  /// sBIT: red bits 0-7, green 8-15, blue 16-23, alpha 24-31.
  std::int32_t SignificantBits = 0;
  /// What the decoder knows of the file's chunks (PngChunkFlag bits).
  std::uint8_t ChunkFlags() const { return chunkFlags_; }
  /// The alpha target once it was shaped for this image, else null.
  Bitmap* AlphaInUse() const { return alphaInUse_; }

 protected:
  void ReadImage() override;
  void SetupBitmap() override;

 private:
  /// How a PNG row becomes a target row.
  enum class RowConversion { Copy, TwoToFour, Grey, Rgb, Rgb565 };

  void ReadChunks();
  void ReadChunk();
  void ReadHeader();
  void ReadPalette();
  void ReadTransparency();
  void ReadBackground();
  void ReadSignificantBits();
  void ReadChromaticity();
  void ReadGifExtension();
  void ReadPhysicalSize();
  void ReadTime();
  void ReadText();
  void ReadQelChunk();
  void ReadImageData();
  ColorRef ReadColour();
  std::int32_t ReadChunkInteger(int bytes);
  bool ChunkHolds(std::int64_t bytes) const { return chunkLeft_ >= bytes; }
  bool Ancillary() const;

  void ChooseTarget();
  void CheckImageSize() const;
  void DecodeRows();
  void DecodeRow(std::uint8_t* target, std::uint8_t* alpha, std::int32_t counter);
  const std::uint8_t* ConvertRow(std::uint8_t* out);
  void PlaceRow(const std::uint8_t* converted, std::uint8_t* target) const;
  void PlaceAlpha(std::uint8_t* alpha) const;
  void SpreadPaletteAlpha();
  std::int32_t FillInput(ZRowStream& rows);
  bool ReadChunkHeader();

  ZRowStream rows_;
  std::unique_ptr<std::uint8_t[]> rowBlock_;
  std::uint8_t* convertedRow_ = nullptr;
  std::uint8_t* alphaRow_ = nullptr;
  std::int64_t chunkLeft_ = 0;
  std::uint32_t chunkType_ = 0;
  std::uint8_t chunkFlags_ = 0;
  std::int32_t passWidth_ = 0;
  std::int32_t targetRowLength_ = 0;
  std::int32_t passStart_ = 0;
  std::int32_t passStep_ = 1;
  std::int32_t alphaStart_ = 0;
  std::int32_t alphaStep_ = 1;
  ByteString rowKeyInUse_;
  bool paletteAlphaNeeded_ = false;
  std::int32_t colourType_ = -1;
  std::int32_t bitsPerPixel_ = 8;
  RowConversion conversion_ = RowConversion::Copy;
  Bitmap* alphaInUse_ = nullptr;
  std::array<std::uint8_t, 256> paletteAlpha_{};
};

}  // namespace quorvex
