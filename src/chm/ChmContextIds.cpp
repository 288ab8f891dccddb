#include <algorithm>

#include "chm/ChmBytes.h"
#include "chm/ChmSystemFiles.h"

namespace quorvex {

std::string ContextIdFile(std::vector<ChmContextId> ids, ChmStringTable& strings) {
  // In ascending order of id, so that a reader may search it.
  std::stable_sort(ids.begin(), ids.end(), [](const ChmContextId& a, const ChmContextId& b) { return a.id < b.id; });
  std::string out;
  AppendU32(out, static_cast<std::uint32_t>(ids.size() * 8));
  for (const ChmContextId& entry : ids) {
    AppendU32(out, entry.id);
    AppendU32(out, strings.Add(entry.target));
  }
  return out;
}

}  // namespace quorvex
