// libFuzzer target: any bytes as an HTML Help project file (.hhp) and as a
// map include, and as a page whose references and title the compiled-help
// writer reads.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "chm/HelpProjectFile.h"
#include "chm/PageReferences.h"

using namespace quorvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  HelpProjectFile project = ReadHelpProjectFile(bytes);
  ReadContextInclude(bytes, project);
  for (const ByteString& reference : PageReferences(bytes)) {
    ResolveReference("html/", reference);
    ResolveReference("", reference);
  }
  PageTitle(bytes);
  return 0;
}
