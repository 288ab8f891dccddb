#pragma once
// The PNG picture as a graphic: it keeps its image in a bitmap (and a second
// bitmap for transparency), writes it as PNG through TQelPNGWriteStream and
// reads it from PNG through TQelPNGReadStream. Registered with the picture
// formats as "PNG" ("PNG Format").

#include <array>
#include <cstdint>
#include <memory>

#include "base/ByteString.h"
#include "platform/Bitmap.h"
#include "platform/Clock.h"
#include "platform/Graphic.h"
#include "platform/Stream.h"
#include "png/QelPNGReadStream.h"
#include "png/QelPNGStream.h"

namespace quorvex {

class TQelPNG : public Graphic {
 public:
  TQelPNG();
  ~TQelPNG() override;

  const char* ClassName() const override { return "TQelPNG"; }

  /// Another TQelPNG: its bitmaps, references and writer options are copied.
  /// Any other graphic: the image takes its size, format, palette and pixels.
  /// No source, or one that cannot assign itself, raises EAssignError.
  void Assign(const Persistent* source) override;

  /// Encodes the image in use as PNG into `stream`.
  void SaveToStream(Stream& stream);
  /// Writes the PNG to `path`, which must lie inside `outputFolder`; when the
  /// encoding fails, what was written so far is left in the file.
  void SaveToFile(const ByteString& path, const ByteString& outputFolder);
  /// Encodes ImageBitmap with the writer's own defaults, for property
  /// streaming; nothing when the image is empty.
  void WriteData(Stream& stream);

  /// Decodes the PNG from the stream's position to its end into the image in
  /// use (and the alpha bitmap in use when the file carries transparency),
  /// and takes the file's header values, comment, colours and times. The
  /// image is replaced only when the whole file decoded: after an error the
  /// graphic is as it was.
  void LoadFromStream(Stream& stream);
  /// LoadFromStream of a whole file; EFOpenError when it cannot be read.
  void LoadFromFile(const ByteString& path);
  /// Decodes what WriteData wrote into the owned bitmaps (the references are
  /// dropped), with the decoder's own options; no bytes at all give an empty
  /// image, as WriteData writes none for one.
  void ReadData(Stream& stream);

  bool Empty() const override { return Image().Empty(); }
  std::int32_t Width() const override { return Image().Width(); }
  std::int32_t Height() const override { return Image().Height(); }
  /// Sets the width of the image and of the alpha bitmap, each only when it is not empty.
  void SetWidth(std::int32_t width) override;
  void SetHeight(std::int32_t height) override;
  Palette GetPalette() const override { return Image().GetPalette(); }
  void SetPalette(const Palette& palette) override;
  void SetTransparent(bool transparent) override;

  /// The image in use: ImageRef when set, else the owned image.
  Bitmap& Image() { return ImageRef ? *ImageRef : *imageBitmap_; }
  const Bitmap& Image() const { return ImageRef ? *ImageRef : *imageBitmap_; }
  /// The alpha bitmap in use: AlphaRef when set, else the owned one.
  Bitmap& Alpha() { return AlphaRef ? *AlphaRef : *alphaBitmap_; }
  const Bitmap& Alpha() const { return AlphaRef ? *AlphaRef : *alphaBitmap_; }
  Bitmap& ImageBitmap() { return *imageBitmap_; }
  Bitmap& AlphaBitmap() { return *alphaBitmap_; }

  /// Used instead of the owned bitmaps when set; never owned.
  Bitmap* ImageRef = nullptr;
  Bitmap* AlphaRef = nullptr;

  std::int32_t IDATSize = 32768;
  std::int32_t CompressionLevel = -1;
  std::uint8_t FilterMode = kFilterNone;
  std::uint8_t Interlace = 0;
  bool GrayScale = false;
  /// Hand the alpha bitmap to the writer.
  bool HasAlpha = false;
  /// Copied from the decoder; not used otherwise.
  std::int32_t DecoderValue = 0;
  ColorRef BackgroundColor = kNoColor;
  ColorRef TransparentColor = kNoColor;
  ByteString Comment;
  double Gamma = 0.45455;
  ByteString RowKey;
  std::int32_t SignificantBits = 0;
  std::uint8_t PhysUnit = 0;
  std::int32_t PhysX = 0;
  std::int32_t PhysY = 0;
  bool SkipHeader = true;
  bool UseCurrentTime = true;
  /// Taken from the clock at construction; written only with UseCurrentTime off.
  DateTime StoredTime;
  Chromaticities Chromaticity{};
  GifExtensionData GifExtension{};
  bool ReducedRGB = false;
  TQelRowKeyHandler OnRowKey;
  TQelWriteRowHandler OnWriteRow;
  TQelReadRowHandler OnReadRow;

 protected:
  void AssignTo(Persistent& target) const override;

 private:
  /// The common tail of every operation that replaces the image.
  void ImageChanged(Bitmap& bitmap);
  /// Hands the ancillary-chunk options (everything but compression and layout) to a writer.
  void CopyChunkOptions(TQelPNGWriteStream& writer) const;
  /// Decodes into fresh bitmaps and, when that succeeded, takes them and the
  /// decoder's results; `streaming` is the ReadData form.
  void Decode(Stream& stream, bool streaming);

  bool inTransparencySync_ = false;
  std::unique_ptr<Bitmap> alphaBitmap_;
  std::unique_ptr<Bitmap> imageBitmap_;
};

}  // namespace quorvex
