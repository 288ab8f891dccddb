#pragma once
// The picture-format registry: which graphic class reads and writes files of
// which extension, as the picture classes register themselves at start-up.

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/ByteString.h"
#include "platform/Graphic.h"

namespace quorvex {

/// Makes a new, empty graphic of one class.
using GraphicFactory = std::function<std::unique_ptr<Graphic>()>;

/// One registered file format.
struct PictureFormat {
  ByteString Extension;    ///< without the dot, as registered ("PNG")
  ByteString Description;  ///< for file dialogs ("PNG Format")
  ByteString ClassName;    ///< the graphic class that handles it ("TQelPNG")
  GraphicFactory Create;
};

/// Registers a format. An extension registered before (letter case ignored)
/// is handed to the new class.
void RegisterPictureFormat(ByteString extension, ByteString description, ByteString className,
                           GraphicFactory create);

/// Removes every format registered for the class.
void UnregisterPictureClass(std::string_view className);

/// The format for an extension, with or without its dot, letter case ignored.
std::optional<PictureFormat> FindPictureFormat(std::string_view extension);

/// Every registered format in the order of registration.
std::vector<PictureFormat> PictureFormats();

/// A new graphic for a file name by its extension; none when no class is registered.
std::unique_ptr<Graphic> CreateGraphicForFile(std::string_view fileName);

}  // namespace quorvex
