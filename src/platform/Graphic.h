#pragma once
// The graphics framework the picture classes plug into: an assignable object,
// the graphic base with its change and progress notifications, and the errors
// the framework raises.

#include <cstdint>
#include <functional>

#include "base/ByteString.h"
#include "base/Errors.h"
#include "platform/Palette.h"

namespace quorvex {

/// A colour: red in bits 0-7, green 8-15, blue 16-23; with bit 24 set the low
/// byte is a palette index instead. -1 stands for no colour.
using Color = std::int32_t;

/// A rectangle in pixels; Right and Bottom lie just outside it.
struct Rect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  bool operator==(const Rect&) const = default;
};

/// Where a long operation stands when it reports progress.
enum class ProgressStage { Starting, Running, Ending };

class Graphic;

/// Called after a graphic changed.
using ChangeHandler = std::function<void(Graphic& sender)>;

/// Called while a graphic is loaded, saved or converted.
using ProgressHandler = std::function<void(Graphic& sender, ProgressStage stage, std::uint8_t percent,
                                           bool redrawNow, const Rect& rect, const ByteString& message)>;

/// A picture that cannot be read, written or handled.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

/// An operation the graphic cannot carry out (a size out of range, a scan line
/// outside the picture).
class EInvalidGraphicOperation : public Exception {
 public:
  using Exception::Exception;
};

class Persistent;

/// One object cannot take the content of another:
/// "Cannot assign a <source class> to a <target class>" ("nil" for no source).
class EAssignError : public Exception {
 public:
  EAssignError(const Persistent* source, const Persistent& target);
};

/// An object whose content another object can be assigned to it.
class Persistent {
 public:
  virtual ~Persistent() = default;

  /// The class name used in messages.
  virtual const char* ClassName() const = 0;

  /// Takes the content of `source`. The base lets the source assign itself to
  /// this object (AssignTo); no source, or one that cannot, raises EAssignError.
  virtual void Assign(const Persistent* source);

 protected:
  /// Gives this object's content to `target`; the base raises EAssignError.
  virtual void AssignTo(Persistent& target) const;

  /// Lets a subclass ask another object to assign itself.
  static void AssignSourceTo(const Persistent& source, Persistent& target) { source.AssignTo(target); }
};

/// The base of every picture class: size, palette, transparency, and the
/// change and progress notifications.
class Graphic : public Persistent {
 public:
  virtual bool Empty() const = 0;
  virtual std::int32_t Width() const = 0;
  virtual std::int32_t Height() const = 0;
  virtual void SetWidth(std::int32_t width) = 0;
  virtual void SetHeight(std::int32_t height) = 0;

  /// The palette; empty when the picture has none.
  virtual Palette GetPalette() const { return {}; }
  virtual void SetPalette(const Palette& palette);

  bool Transparent() const { return transparent_; }
  /// Stores the flag; a change calls Changed.
  virtual void SetTransparent(bool transparent);

  /// True once the picture changed.
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

  /// Raised when the palette may have changed, for whoever realises it.
  bool PaletteModified() const { return paletteModified_; }
  void SetPaletteModified(bool modified) { paletteModified_ = modified; }

  const ChangeHandler& OnChange() const { return onChange_; }
  void SetOnChange(ChangeHandler handler) { onChange_ = std::move(handler); }
  const ProgressHandler& OnProgress() const { return onProgress_; }
  void SetOnProgress(ProgressHandler handler) { onProgress_ = std::move(handler); }

  /// Marks the picture modified and calls the change handler.
  virtual void Changed();

  /// Calls the progress handler when there is one.
  void Progress(ProgressStage stage, std::uint8_t percent, bool redrawNow, const Rect& rect,
                const ByteString& message);

 protected:
  Graphic() = default;
  /// Sets the transparent flag without calling Changed (for Assign).
  void StoreTransparent(bool transparent) { transparent_ = transparent; }
  Graphic(const Graphic&) = delete;
  Graphic& operator=(const Graphic&) = delete;

 private:
  bool transparent_ = false;
  bool modified_ = false;
  bool paletteModified_ = false;
  ChangeHandler onChange_;
  ProgressHandler onProgress_;
};

}  // namespace quorvex
