#pragma once
// The clipboard. It lives inside the process: a memory block per format
// number and a palette, as a graphic class puts them there or takes them.

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "platform/Graphic.h"
#include "platform/PictureFormats.h"

namespace quorvex {

/// A block of memory as the clipboard passes it.
using MemoryBlock = std::vector<std::uint8_t>;

/// The clipboard format of a device-independent bitmap.
inline constexpr std::uint16_t CF_DIB = 8;

/// A graphic that can put its content on the clipboard.
class ClipboardWriter {
 public:
  virtual ~ClipboardWriter() = default;
  /// The format number, data block and palette (empty for none) that stand
  /// for the graphic on the clipboard.
  virtual void SaveToClipboardFormat(std::uint16_t& format, MemoryBlock& data, Palette& palette) const = 0;
};

/// The process's clipboard.
class Clipboard : public Persistent {
 public:
  const char* ClassName() const override { return "TClipboard"; }

  /// Opening nests; every Open needs its Close. Opening changes no content,
  /// so a reader may open a clipboard it only reads.
  void Open() const { ++openCount_; }
  void Close() const;
  bool IsOpen() const { return openCount_ > 0; }

  /// Removes every block and the palette.
  void Clear();
  bool HasFormat(std::uint16_t format) const { return blocks_.count(format) != 0; }
  /// The block stored under `format`; null when there is none. Valid until
  /// the clipboard changes.
  const MemoryBlock* GetAsHandle(std::uint16_t format) const;
  /// Stores a block under `format`, replacing one stored before.
  void SetAsHandle(std::uint16_t format, MemoryBlock data);
  /// The clipboard palette; empty for none.
  const Palette& GetPalette() const { return palette_; }
  void SetPalette(Palette palette) { palette_ = std::move(palette); }

  /// A graphic that can write itself replaces the clipboard's content with
  /// its block and palette; anything else goes to the base assignment.
  void Assign(const Persistent* source) override;

 private:
  mutable int openCount_ = 0;
  std::map<std::uint16_t, MemoryBlock> blocks_;
  Palette palette_;
};

/// The one clipboard of the process.
Clipboard& TheClipboard();

/// Registers the graphic class that reads a clipboard format.
void RegisterClipboardFormat(std::uint16_t format, ByteString className, GraphicFactory create);
/// Removes every clipboard format registered for the class.
void UnregisterClipboardClass(std::string_view className);
/// The class name registered for `format`; empty when none.
ByteString ClipboardFormatClass(std::uint16_t format);
/// A new graphic of the class registered for `format`; none when no class is.
std::unique_ptr<Graphic> CreateGraphicForClipboardFormat(std::uint16_t format);

}  // namespace quorvex
