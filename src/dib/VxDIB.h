#pragma once
// The DIB model: TVxInternalDIB, a reference-counted device-independent
// bitmap, and TVxDIB, the graphic class that wraps it, shares it on Assign
// and copies it before it changes pixels in place (copy on write).

#include <cstdint>
#include <optional>

#include "dib/DibErrors.h"
#include "dib/DibRecord.h"
#include "dib/PixelFormatConversion.h"
#include "dib/VxGraph.h"
#include "platform/Bitmap.h"
#include "platform/ResourceErrors.h"

namespace quorvex {

/// The pixel store: header, colour table and pixel block, shared by every
/// TVxDIB that references it.
class TVxInternalDIB {
 public:
  /// An internal DIB with RefCount 1 holding one black 8-bit pixel and a
  /// 256-entry all-black colour table. `useFMO` fixes where its pixel blocks
  /// live: a shared memory mapping (true) or the heap.
  explicit TVxInternalDIB(bool useFMO);
  TVxInternalDIB(const TVxInternalDIB&) = delete;
  TVxInternalDIB& operator=(const TVxInternalDIB&) = delete;

  std::uint32_t RefCount() const { return refCount_; }
  void AddRef() { ++refCount_; }
  /// Drops one reference; true when it was the last.
  bool Release() { return --refCount_ == 0; }

  std::int32_t Width() const { return width_; }
  /// The number of rows, always positive.
  std::int32_t Height() const { return height_; }
  bool UseFMO() const { return useFMO_; }
  const DibRecord& Dib() const { return dib_; }
  /// The record for those that write pixels in place (the canvas).
  DibRecord& Dib() { return dib_; }

  /// Set whenever the colour table may have changed.
  bool PaletteChanged() const { return paletteChanged_; }
  void SetPaletteChanged(bool changed) { paletteChanged_ = changed; }

  /// Replaces the pixel block by a zeroed one of `width` x |`height`| pixels
  /// of `bitCount` bits with `colors` all-black colour-table entries. Width
  /// > 0, height != 0, colours 0..256 and bit count 1, 4, 8 or 24, else
  /// EVxDIBInvalidDIBPara "TVxInternalDIB.CreateDIB: Invalid Parameters".
  void CreateDIB(std::int32_t width, std::int32_t height, int colors, int bitCount);

  /// Reads a BMP file; on failure the DIB keeps its content.
  void LoadFromStream(Stream& stream);
  /// Writes a BMP file.
  void SaveToStream(Stream& stream) const;
  /// Reads a CF_DIB block; on failure the DIB keeps its content.
  void LoadFromClipboardFormat(const MemoryBlock& block);
  /// The CF_DIB block of the picture.
  MemoryBlock SaveToClipboardFormat() const;

  /// Drops the cached palette and sets PaletteChanged; only an unshared DIB
  /// may ("TVxInternalDIB.UpdatePalette: RefCount Must be 1").
  void UpdatePalette();
  /// The palette made from the colour-table entries in use, cached; empty
  /// when colours used is 0.
  const Palette& PaletteHandle();
  /// Takes `palette` as the cached palette.
  void SetPaletteHandle(std::optional<Palette> palette) { palette_ = std::move(palette); }

  DibPixelFormat GetPixelFormat() const { return PixelFormatOf(dib_.Header); }
  /// Converts the pixels to `format` (see SetPixelsFormat of
  /// PixelFormatConversion.h); on failure the DIB keeps its content.
  void SetPixelsFormat(DibPixelFormat format, std::uint8_t quality, const ProgressStep& step, MaskRgb mask);

  /// A new internal DIB with RefCount 1, the same record and a copy of the
  /// pixels in a block of its own.
  TVxInternalDIB* Copy() const;

 private:
  // Takes a new record in place of the old one.
  void Commit(DibRecord&& record);

  std::uint32_t refCount_ = 1;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::optional<Palette> palette_;
  DibRecord dib_;
  bool paletteChanged_ = false;
  const bool useFMO_;
};

/// Whether new TVxDIB objects keep their pixels in a shared memory mapping;
/// true until changed.
bool DefaultUseFMO();
void SetDefaultUseFMO(bool useFMO);

/// The shared palettes of the halftone modes: 215 colours, and black and white.
const Palette& HalftonePalette();
const Palette& BlackAndWhitePalette();

/// The DIB graphic. Registered for the extension "dib" ("Device Independent
/// Bitmap") and the clipboard format CF_DIB.
class TVxDIB : public TVxGraphic {
 public:
  /// A 1 x 1, 8-bit DIB with 256 black colours.
  TVxDIB();
  ~TVxDIB() override;

  const char* ClassName() const override { return "TVxDIB"; }

  /// Always false: a DIB has at least one pixel.
  bool Empty() const override;
  std::int32_t Width() const override;
  /// The number of rows, always positive.
  std::int32_t Height() const override;
  /// A new width gives a new black picture of the same height, colours and
  /// bit count; v <= 0 raises EVxDIBInvalidDIBPara "TVxDIB.SetWidth: Invalid Width".
  void SetWidth(std::int32_t width) override;
  /// A new height likewise (negative: rows top-down); 0 raises
  /// EVxDIBInvalidDIBPara "TVxDIB.SetWidth: Invalid Height".
  void SetHeight(std::int32_t height) override;

  int BitCount() const;
  /// A new bit count (1, 4, 8 or 24) gives a new black picture of the same
  /// size with the bit count's colours; others raise EVxDIBInvalidDIBPara
  /// "TVxDIB.SetBitCount: Invalid BitCount".
  void SetBitCount(int bitCount);

  DibPixelFormat GetPixelFormat() const;
  /// Converts the pixels, reporting progress for the reductions to 4 and 8
  /// bits. On failure the picture is unchanged.
  void SetPixelFormat(DibPixelFormat format);

  /// The halftone palette in halftone modes 1 and 2, else the palette of the
  /// colour table (empty when colours used is 0).
  Palette GetPalette() const override;
  /// Up to 256 entries become the colour table; an empty palette sets
  /// colours used to 0.
  void SetPalette(const Palette& palette) override;

  bool UseFMO() const;
  std::uint8_t ReductionQuality() const { return reductionQuality_; }
  void SetReductionQuality(std::uint8_t quality) { reductionQuality_ = quality; }
  Color MaskColor() const { return maskColor_; }
  void SetMaskColor(Color color) { maskColor_ = color; }
  /// 0 none, 1 colour halftone, 2 black-and-white halftone (for Draw and GetPalette).
  std::uint8_t HalftoneMode() const { return halftoneMode_; }
  void SetHalftoneMode(std::uint8_t mode) { halftoneMode_ = mode; }

  /// Copy on write: gives this DIB an internal DIB of its own when it shares one.
  void UniqueDIB();
  /// Raises the palette-modified flag when the internal DIB's colour table changed.
  void UpdatePaletteModified();

  /// No source: a new 1 x 1 DIB. Another TVxDIB: its internal DIB is shared
  /// and its settings copied. A platform Bitmap: its rows and palette are
  /// copied (16 and 32 bits become 24). The clipboard: CF_DIB data.
  void Assign(const Persistent* source) override;
  /// Stretches the picture into `rect` (halftoned in modes 1 and 2).
  void Draw(Canvas& canvas, const Rect& rect) override;

  void LoadFromStream(Stream& stream) override;
  void SaveToStream(Stream& stream) const override;
  /// `format` must be CF_DIB and `data` given, else EInvalidGraphic
  /// "TVxDIB.LoadFromClipboardFormat: Invalid Clipboard Format or No Data".
  void LoadFromClipboardFormat(std::uint16_t format, const MemoryBlock* data, const Palette& palette) override;
  void SaveToClipboardFormat(std::uint16_t& format, MemoryBlock& data, Palette& palette) const override;
  std::uint16_t GetClipboardFormat() const override { return CF_DIB; }

  /// The internal DIB, for those that work on its pixels.
  TVxInternalDIB& InternalDIB();
  const TVxInternalDIB& InternalDIB() const;
  /// The picture as the platform draws it.
  DibImage Image() const;

 protected:
  /// Another TVxDIB shares this one; a platform Bitmap gets this picture's
  /// size, pixel format, palette and pixels.
  void AssignTo(Persistent& target) const override;

 private:
  void ReleaseInternalDIB();
  // Takes a new internal DIB in place of the current one.
  void Replace(TVxInternalDIB* fresh);
  TVxInternalDIB* NewInternalDIB() const;
  void AssignBitmap(const Bitmap& bitmap);
  void AssignToBitmap(Bitmap& bitmap) const;
  void DrawHalftone(Canvas& canvas, const Rect& rect);

  void BeginProgress(const char* message, std::int32_t total);
  void StepProgress();
  void EndProgress();

  TVxInternalDIB* internal_ = nullptr;
  std::uint8_t reductionQuality_ = kLowQuality;
  Color maskColor_ = 0xFFFFFF;
  std::uint8_t halftoneMode_ = 0;
  std::int32_t progressStep_ = 0;
  std::int32_t progressTotal_ = 0;
  ByteString progressMessage_;
};

}  // namespace quorvex
