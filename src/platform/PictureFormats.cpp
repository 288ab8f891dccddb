#include "platform/PictureFormats.h"

#include <algorithm>

namespace quorvex {

namespace {

// A function-local list, so classes may register from static initialisers of
// any translation unit and unregister in their static destructors.
std::vector<PictureFormat>& Registry() {
  static std::vector<PictureFormat> formats;
  return formats;
}

std::string_view WithoutDot(std::string_view extension) {
  return (!extension.empty() && extension.front() == '.') ? extension.substr(1) : extension;
}

}  // namespace

void RegisterPictureFormat(ByteString extension, ByteString description, ByteString className,
                           GraphicFactory create) {
  std::vector<PictureFormat>& formats = Registry();
  ByteString key(WithoutDot(extension));
  std::erase_if(formats, [&](const PictureFormat& f) { return SameText(f.Extension, key); });
  formats.push_back({std::move(key), std::move(description), std::move(className), std::move(create)});
}

void UnregisterPictureClass(std::string_view className) {
  std::erase_if(Registry(), [&](const PictureFormat& f) { return f.ClassName == className; });
}

std::optional<PictureFormat> FindPictureFormat(std::string_view extension) {
  std::string_view key = WithoutDot(extension);
  for (const PictureFormat& format : Registry()) {
    if (SameText(format.Extension, key)) return format;
  }
  return std::nullopt;
}

std::vector<PictureFormat> PictureFormats() { return Registry(); }

std::unique_ptr<Graphic> CreateGraphicForFile(std::string_view fileName) {
  std::optional<PictureFormat> format = FindPictureFormat(ExtractFileExt(fileName));
  if (!format || !format->Create || ExtractFileExt(fileName).empty()) return nullptr;
  return format->Create();
}

}  // namespace quorvex
