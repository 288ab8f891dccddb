#pragma once
// The PNG encoder: one bitmap of any pixel format into a PNG data stream with
// a fixed sequence of chunks, rows filtered and compressed by ZRowStream and
// cut into IDAT chunks of a fixed size.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "base/ByteString.h"
#include "platform/Clock.h"
#include "platform/Graphic.h"
#include "png/QelStream.h"
#include "png/QelZLIB.h"
#include "png/SFunc.h"

namespace quorvex {

/// Errors of the PNG classes.
class EQelPNG : public EInvalidGraphic {
 public:
  using EInvalidGraphic::EInvalidGraphic;
};

/// "Write PNG Param: Err IDAT Size(min:256  max:100000)"
inline constexpr char kErrIDATSize[] = "Write PNG Param: Err IDAT Size(min:256  max:100000)";
/// "Write Image (PNG): Write Error"
inline constexpr char kErrWriteImage[] = "Write Image (PNG): Write Error";
/// Raised for a bitmap without pixels, which no PNG can hold.
inline constexpr char kErrEmptyImage[] = "Write Image (PNG): Image is empty";

/// The eight cHRM values in PNG order (white x, y, red x, y, green x, y, blue x, y).
using Chromaticities = std::array<std::uint32_t, 8>;
/// The four data bytes of a gIFg chunk as stored.
using GifExtensionData = std::array<std::uint8_t, 4>;

/// A chunk type: its four ASCII letters as a big-endian number.
constexpr std::uint32_t ChunkType(const char (&name)[5]) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(name[0])) << 24) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(name[1])) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(name[2])) << 8) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(name[3]));
}

class TQelPNGWriteStream;
class TQelPNGReadStream;

/// Row hook of the writer: (writer, row bytes, key, row index from 0, row
/// length without the filter byte); it may change the row in place.
using TQelWriteRowHandler =
    std::function<void(TQelPNGWriteStream& writer, std::uint8_t* row, const ByteString& key,
                       std::int32_t rowIndex, std::int32_t length)>;
/// Row hook of the reader, with the same arguments.
using TQelReadRowHandler =
    std::function<void(TQelPNGReadStream& reader, std::uint8_t* row, const ByteString& key,
                       std::int32_t rowIndex, std::int32_t length)>;
/// Asked by the reader for the key of a file whose rows are keyed; may change it.
using TQelRowKeyHandler = std::function<void(TQelPNGReadStream& reader, ByteString& key)>;

/// Encodes one bitmap as PNG. Set the options, then call SaveBitmap once.
class TQelPNGWriteStream : public TQelCustomGraphicWriteStream {
 public:
  TQelPNGWriteStream();
  ~TQelPNGWriteStream() override;

  /// Bytes per IDAT chunk, 256..100000; anything else raises EQelPNG and
  /// keeps the old size.
  void SetIDATSize(std::int32_t size);
  std::int32_t IDATSize() const { return idatSize_; }

  /// Writes one chunk: length, type, data, CRC-32 over type and data.
  void WriteChunk(std::uint32_t type, const std::uint8_t* data, std::int32_t length);

  /// zlib level; values outside 0..9 mean zlib's default.
  std::int32_t CompressionLevel = -1;
  /// 0 adaptive, 1 None, 2 Sub, 3 Up, 4 Average, 5 Paeth; others None.
  std::int32_t FilterMode = kFilterNone;
  /// 0 none, 1 Adam7.
  std::int32_t Interlace = 0;
  /// Write grey levels instead of colours.
  bool GrayScale = false;
  ColorRef BackgroundColor = kNoColor;
  ColorRef TransparentColor = kNoColor;
  /// Text of a tEXt "Comment" entry; none when empty.
  ByteString Comment;
  /// Image gamma; written as gAMA when Gamma * 100000 is at least 1.
  double Gamma = 0;
  /// 0 no unit (aspect ratio), 1 per metre, 2 per inch (converted to per metre).
  std::int32_t PhysUnit = 0;
  std::int32_t PhysX = 0;
  std::int32_t PhysY = 0;
  /// sBIT bytes: red in bits 0-7, green 8-15, blue 16-23, alpha 24-31.
  std::int32_t SignificantBits = 0;
  ByteString RowKey;
  /// Optional 8-bit bitmap of the source's size giving transparency (0 opaque, 255 clear).
  const Bitmap* AlphaBitmap = nullptr;
  bool WriteSignature = true;
  /// tIME from the clock instead of StoredTime.
  bool UseCurrentTime = true;
  const DateTime* StoredTime = nullptr;
  const Chromaticities* Chromaticity = nullptr;
  const GifExtensionData* GifExtension = nullptr;
  TQelWriteRowHandler OnWriteRow;

 protected:
  void WriteImage() override;

 private:
  struct Pass {
    std::int32_t firstColumn, firstRow, columnStep, rowStep;
  };

  void DecideOutput();
  void WriteHeaderChunks();
  void WriteTextChunk(std::string_view keyword, std::string_view text);
  void WriteColourChunk(std::uint32_t type, ColorRef color);
  void WriteImageData();
  void WriteRows();
  void BuildGrayMap();
  void ConvertRow(std::int32_t y);
  std::int32_t TotalRows() const;
  std::int32_t GreyLevel(std::int32_t color) const;

  std::int32_t idatSize_ = 32768;
  ZRowStream rows_;
  bool hasAlpha_ = false;
  bool grayOutput_ = false;
  const Bitmap* acceptedAlpha_ = nullptr;
  std::int32_t outBits_ = 24;
  std::int32_t srcBits_ = 24;
  std::int32_t srcStride_ = 0;
  std::int32_t bitsPerPixel_ = 24;
  std::int32_t passWidth_ = 0;
  std::int32_t startPixel_ = 0;
  std::int32_t stepPixels_ = 1;
  Palette palette_;
  std::array<std::uint8_t, 256> grayMap_{};
  std::unique_ptr<std::uint8_t[]> rowBlock_;
};

}  // namespace quorvex

// The decoder of this unit has a file of its own; including the unit gives both.
#include "png/QelPNGReadStream.h"
