// libFuzzer target: BMP files and CF_DIB blocks through the DIB model, and
// every DIB that loads through a conversion to 24 bits and back to a file.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dib/VxDIB.h"

using namespace quorvex;

namespace {

void Use(TVxDIB& dib) {
  if (std::int64_t{dib.Width()} * dib.Height() < (1 << 20) && dib.GetPixelFormat() != DibPixelFormat::Bit24) {
    dib.SetPixelFormat(DibPixelFormat::Bit24);
  }
  MemoryStream out;
  dib.SaveToStream(out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool heapBlocks = [] {
    SetDefaultUseFMO(false);  // heap blocks, so the sanitizer sees every byte
    return true;
  }();
  (void)heapBlocks;
  std::vector<std::uint8_t> bytes(data, data + size);
  try {
    TVxDIB dib;
    MemoryStream stream(bytes);
    dib.LoadFromStream(stream);
    Use(dib);
  } catch (const Exception&) {
  }
  try {
    TVxDIB dib;
    dib.LoadFromClipboardFormat(CF_DIB, &bytes, {});
    Use(dib);
  } catch (const Exception&) {
  }
  return 0;
}
