#include "model/SymbolFonts.h"

#include "base/ByteString.h"

namespace quorvex {
namespace {

constexpr char32_t kBullet = 0x2022;

// The Symbol font's letters are the Greek ones of the same keys.
constexpr char32_t kSymbolUpper[26] = {0x391, 0x392, 0x3A7, 0x394, 0x395, 0x3A6, 0x393, 0x397, 0x399,
                                       0x3D1, 0x39A, 0x39B, 0x39C, 0x39D, 0x39F, 0x3A0, 0x398, 0x3A1,
                                       0x3A3, 0x3A4, 0x3A5, 0x3C2, 0x3A9, 0x39E, 0x3A8, 0x396};
constexpr char32_t kSymbolLower[26] = {0x3B1, 0x3B2, 0x3C7, 0x3B4, 0x3B5, 0x3C6, 0x3B3, 0x3B7, 0x3B9,
                                       0x3D5, 0x3BA, 0x3BB, 0x3BC, 0x3BD, 0x3BF, 0x3C0, 0x3B8, 0x3C1,
                                       0x3C3, 0x3C4, 0x3C5, 0x3D6, 0x3C9, 0x3BE, 0x3C8, 0x3B6};

char32_t SymbolFontChar(std::uint8_t b) {
  if (b >= 'A' && b <= 'Z') return kSymbolUpper[b - 'A'];
  if (b >= 'a' && b <= 'z') return kSymbolLower[b - 'a'];
  switch (b) {
    case 0x22: return 0x2200;  // for all
    case 0x24: return 0x2203;  // there exists
    case 0x27: return 0x220B;
    case 0x2A: return 0x2217;
    case 0x2D: return 0x2212;  // minus
    case 0x40: return 0x2245;
    case 0x5C: return 0x2234;
    case 0x5E: return 0x22A5;
    case 0x60: return 0xF8E5;
    case 0xA3: return 0x2264;  // less or equal
    case 0xA5: return 0x221E;  // infinity
    case 0xAB: return 0x2194;
    case 0xAC: return 0x2190;  // arrows
    case 0xAD: return 0x2191;
    case 0xAE: return 0x2192;
    case 0xAF: return 0x2193;
    case 0xB0: return 0x00B0;  // degree
    case 0xB1: return 0x00B1;  // plus-minus
    case 0xB3: return 0x2265;  // greater or equal
    case 0xB4: return 0x00D7;  // times
    case 0xB7: return kBullet;
    case 0xB8: return 0x00F7;  // divide
    case 0xB9: return 0x2260;  // not equal
    case 0xBB: return 0x2248;  // almost equal
    case 0xBC: return 0x2026;  // ellipsis
    case 0xBE: return 0x23AF;  // horizontal line extension
    case 0xD2: case 0xE2: return 0x00AE;
    case 0xD3: case 0xE3: return 0x00A9;
    case 0xD4: case 0xE4: return 0x2122;
    case 0xD7: return 0x22C5;
    case 0xDB: return 0x21D4;
    case 0xDE: return 0x21D2;
    case 0xE0: return 0x25CA;
    default: break;
  }
  if (b < 0x80) return b;  // digits and punctuation are themselves
  return kBullet;
}

char32_t WingdingsChar(std::uint8_t b) {
  switch (b) {
    case 0x6C: return 0x25CF;  // black circle
    case 0x6E: return 0x25A0;  // black square
    case 0x6F: return 0x25A1;
    case 0x71: return 0x2751;
    case 0x75: return 0x25C6;
    case 0x76: return 0x2756;
    case 0x77: return 0x2B25;
    case 0x9F: return kBullet;
    case 0xA1: return 0x25CB;
    case 0xA7: return 0x25AA;  // black small square
    case 0xA8: return 0x25FB;
    case 0xD8: return 0x27A2;
    case 0xE0: return 0x2192;
    case 0xE8: return 0x2794;
    case 0xF0: return 0x21E8;
    case 0xFB: return 0x2717;  // ballot x
    case 0xFC: return 0x2713;  // check mark
    case 0xFE: return 0x2611;
    default: return kBullet;
  }
}

}  // namespace

SymbolFont SymbolFontOf(std::string_view fontName) {
  for (std::string_view family : {"wingdings", "webdings", "marlett"}) {
    if (StartsWithIgnoreCase(fontName, family)) return SymbolFont::Wingdings;
  }
  return SymbolFont::Symbol;
}

char32_t SymbolChar(SymbolFont font, std::uint8_t byte) {
  return font == SymbolFont::Wingdings ? WingdingsChar(byte) : SymbolFontChar(byte);
}

}  // namespace quorvex
