// libFuzzer target: any bytes as a compiled help's header and directory,
// read whole and searched through the index, as the tests read what our
// writer produces.

#include <cstddef>
#include <cstdint>

#include "chm/ChmDirectoryReader.h"

using namespace quorvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  try {
    ReadChmDirectory(bytes);
  } catch (const EChmFormat&) {
  }
  try {
    FindChmEntry(bytes, "/html/a.html");
  } catch (const EChmFormat&) {
  }
  return 0;
}
