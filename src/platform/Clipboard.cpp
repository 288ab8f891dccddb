#include "platform/Clipboard.h"

namespace quorvex {

namespace {

struct ClipboardClass {
  ByteString ClassName;
  GraphicFactory Create;
};

// Function-local, so classes may register from static initialisers.
std::map<std::uint16_t, ClipboardClass>& ClipboardClasses() {
  static std::map<std::uint16_t, ClipboardClass> classes;
  return classes;
}

}  // namespace

void Clipboard::Close() const {
  if (openCount_ > 0) --openCount_;
}

void Clipboard::Clear() {
  blocks_.clear();
  palette_.clear();
}

const MemoryBlock* Clipboard::GetAsHandle(std::uint16_t format) const {
  auto found = blocks_.find(format);
  return found == blocks_.end() ? nullptr : &found->second;
}

void Clipboard::SetAsHandle(std::uint16_t format, MemoryBlock data) { blocks_[format] = std::move(data); }

void Clipboard::Assign(const Persistent* source) {
  const auto* writer = dynamic_cast<const ClipboardWriter*>(source);
  if (writer == nullptr) {
    Persistent::Assign(source);
    return;
  }
  std::uint16_t format = 0;
  MemoryBlock data;
  Palette palette;
  writer->SaveToClipboardFormat(format, data, palette);
  // The graphic is asked first, so a failure leaves the old content in place.
  Open();
  Clear();
  SetAsHandle(format, std::move(data));
  palette_ = std::move(palette);
  Close();
}

Clipboard& TheClipboard() {
  static Clipboard clipboard;
  return clipboard;
}

void RegisterClipboardFormat(std::uint16_t format, ByteString className, GraphicFactory create) {
  ClipboardClasses()[format] = {std::move(className), std::move(create)};
}

void UnregisterClipboardClass(std::string_view className) {
  std::erase_if(ClipboardClasses(), [&](const auto& entry) { return entry.second.ClassName == className; });
}

ByteString ClipboardFormatClass(std::uint16_t format) {
  auto found = ClipboardClasses().find(format);
  return found == ClipboardClasses().end() ? ByteString() : found->second.ClassName;
}

std::unique_ptr<Graphic> CreateGraphicForClipboardFormat(std::uint16_t format) {
  auto found = ClipboardClasses().find(format);
  if (found == ClipboardClasses().end() || !found->second.Create) return nullptr;
  return found->second.Create();
}

}  // namespace quorvex
