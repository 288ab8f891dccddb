#include "chm/ChmNames.h"

#include <algorithm>

namespace quorvex {
namespace {

unsigned char Folded(char c) {
  unsigned char byte = static_cast<unsigned char>(c);
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + 32) : byte;
}

int Compare(std::string_view a, std::string_view b) {
  std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (Folded(a[i]) != Folded(b[i])) return Folded(a[i]) < Folded(b[i]) ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace

bool ChmNameLess(std::string_view a, std::string_view b) { return Compare(a, b) < 0; }

bool ChmNameEqual(std::string_view a, std::string_view b) { return Compare(a, b) == 0; }

}  // namespace quorvex
