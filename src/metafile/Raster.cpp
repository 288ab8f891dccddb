#include "metafile/Raster.h"

namespace quorvex {

Rgb ApplyRop2(int rop2, Rgb pen, Rgb dest) {
  if (rop2 == 13) return pen;  // R2_COPYPEN, nearly every record
  // The low four bits of (code - 1) are the truth table over pen and destination bits.
  const unsigned table = static_cast<unsigned>(rop2 - 1) & 15;
  Rgb out = 0;
  if (table & 1) out |= ~pen & ~dest;
  if (table & 2) out |= ~pen & dest;
  if (table & 4) out |= pen & ~dest;
  if (table & 8) out |= pen & dest;
  return out & 0xFFFFFF;
}

Rgb ApplyRop3(std::uint32_t rop3, Rgb pattern, Rgb source, Rgb dest) {
  const unsigned table = (rop3 >> 16) & 0xFF;
  if (table == 0xCC) return source;
  if (table == 0xF0) return pattern;
  Rgb out = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (!(table & (1u << i))) continue;
    const Rgb p = (i & 4) ? pattern : ~pattern;
    const Rgb s = (i & 2) ? source : ~source;
    const Rgb d = (i & 1) ? dest : ~dest;
    out |= p & s & d;
  }
  return out & 0xFFFFFF;
}

bool Rop3UsesSource(std::uint32_t rop3) {
  const unsigned t = (rop3 >> 16) & 0xFF;
  return ((t >> 2) & 0x33) != (t & 0x33);
}

bool Rop3UsesPattern(std::uint32_t rop3) {
  const unsigned t = (rop3 >> 16) & 0xFF;
  return ((t >> 4) & 0x0F) != (t & 0x0F);
}

Raster::Raster(std::int32_t width, std::int32_t height, Rgb fill)
    : width_(width < 0 ? 0 : width),
      height_(height < 0 ? 0 : height),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

}  // namespace quorvex
