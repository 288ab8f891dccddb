#include "dib/VxGraph.h"

#include "base/Files.h"

namespace quorvex {

void TVxGraphic::LoadFromFile(const ByteString& path) {
  const ByteString bytes = ReadFile(path);
  MemoryStream stream(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  LoadFromStream(stream);
}

void TVxGraphic::SaveToFile(const ByteString& path, const ByteString& outputFolder) const {
  MemoryStream stream;
  SaveToStream(stream);
  const std::vector<std::uint8_t>& bytes = stream.Bytes();
  WriteFileInside(outputFolder, path,
                  std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TVxGraphic::Assign(const Persistent* source) {
  const auto* clipboard = dynamic_cast<const Clipboard*>(source);
  if (clipboard == nullptr) {
    Graphic::Assign(source);
    return;
  }
  clipboard->Open();
  try {
    LoadFromClipboardFormat(GetClipboardFormat(), clipboard->GetAsHandle(GetClipboardFormat()),
                            clipboard->GetPalette());
  } catch (...) {
    clipboard->Close();
    throw;
  }
  clipboard->Close();
}

}  // namespace quorvex
