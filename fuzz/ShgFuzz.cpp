// libFuzzer target: segmented-hypergraphics files through TShg, every held
// picture rendered into a bitmap and every hotspot read; the same bytes also
// as a picture of a compiled help (LZ77 packing, device-dependent bitmaps).

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "base/Files.h"
#include "platform/Stream.h"
#include "shg/shg.h"

using namespace quorvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The reader takes files, so each input is written to one file of this process.
  static const std::string path = "/tmp/quorvex-shg-fuzz-" + std::to_string(getpid()) + ".shg";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  try {
    TShg shg;
    shg.LoadFromFile(EnginePath(path));
    std::size_t names = 0;
    for (std::int32_t i = 0; i < shg.HotSpotCount(); ++i) names += shg.GetHotSpot(i).Name.size();
    (void)names;
    Bitmap bitmap;
    shg.RenderToBitmap(bitmap);
  } catch (const Exception&) {
  }
  try {
    TShg shg;
    shg.FillShortPixelData = true;
    shg.LoadFromHelpPicture({data, size});
    Bitmap bitmap;
    shg.RenderToBitmap(bitmap);
  } catch (const Exception&) {
  }
  return 0;
}
