// libFuzzer target: the input played as a placeable metafile, and
// translated as an enhanced metafile and the result played.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "metafile/Metafile.h"

using namespace quorvex;

namespace {

void Play(std::vector<std::uint8_t> placeable) {
  try {
    Metafile metafile(std::move(placeable));
    // The picture's own size, kept small so that each input runs fast.
    const std::int32_t w = std::clamp(metafile.Width(), 1, 128);
    const std::int32_t h = std::clamp(metafile.Height(), 1, 128);
    Bitmap target(w, h, PixelFormat::Bit24);
    metafile.Draw(target, 0, 0);
  } catch (const Exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  Play(bytes);
  try {
    Play(EnhancedToPlaceableMetafile(bytes));
  } catch (const Exception&) {
  }
  return 0;
}
