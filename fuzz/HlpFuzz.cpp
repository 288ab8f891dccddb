// libFuzzer target: any bytes as a compiled help file through the reader,
// keeping going and not; when they read, every picture the help holds goes
// through the picture reader and is drawn. The first byte chooses the code page.

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/Errors.h"
#include "hlp/CompiledHelpReader.h"
#include "platform/Bitmap.h"
#include "shg/shg.h"

using namespace quorvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static constexpr int kCodePages[] = {0, 932, 1252, 1251};
  const std::span<const std::uint8_t> file(data + 1, size - 1);
  for (bool keepGoing : {false, true}) {
    CompiledHelpOptions options;
    options.CodePage = kCodePages[data[0] % 4];
    options.KeepGoing = keepGoing;
    options.KnownNames = {"IDH_CONTENTS", "topic>win@other.hlp"};
    try {
      CompiledHelp help = ReadCompiledHelp(file, options);
      if (!keepGoing) continue;
      for (const EmbeddedPicture& picture : help.Document.Pictures) {
        try {
          TShg shg;
          shg.LoadFromHelpPicture(picture.Data);
          Bitmap bitmap;
          shg.RenderToBitmap(bitmap);
        } catch (const Exception&) {
        }
      }
    } catch (const Exception&) {
    }
  }
  return 0;
}
