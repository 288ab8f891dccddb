#pragma once
// TVxGraphic: the graphic base of the DIB model. It adds to the platform's
// graphic the clipboard exchange, stream and file input and output, and
// drawing onto a canvas.

#include <cstdint>

#include "base/ByteString.h"
#include "platform/Stream.h"
#include "platform/Canvas.h"
#include "platform/Clipboard.h"
#include "platform/Graphic.h"

namespace quorvex {

class TVxGraphic : public Graphic, public ClipboardWriter {
 public:
  /// The clipboard format the class exchanges.
  virtual std::uint16_t GetClipboardFormat() const = 0;

  /// Takes the picture from a clipboard block of `format`; `data` is null
  /// when the clipboard holds none.
  virtual void LoadFromClipboardFormat(std::uint16_t format, const MemoryBlock* data, const Palette& palette) = 0;

  /// Reads the picture from the stream's position.
  virtual void LoadFromStream(Stream& stream) = 0;
  /// Writes the picture at the stream's position.
  virtual void SaveToStream(Stream& stream) const = 0;

  /// Reads a whole file through LoadFromStream; a file that cannot be read
  /// raises EFOpenError.
  void LoadFromFile(const ByteString& path);
  /// Writes a file through SaveToStream; the file must lie inside
  /// `outputFolder` (EFCreateError otherwise).
  void SaveToFile(const ByteString& path, const ByteString& outputFolder) const;

  /// Draws the picture into `rect` of `canvas`.
  virtual void Draw(Canvas& canvas, const Rect& rect) = 0;

  /// The clipboard as source: it is opened, the block of the class's format
  /// and the clipboard palette go to LoadFromClipboardFormat, and it is
  /// closed again, also on failure. Any other source: the platform's
  /// assignment.
  void Assign(const Persistent* source) override;
};

}  // namespace quorvex
