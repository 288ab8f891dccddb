#include "base/CodePages.h"

namespace quorvex {

int CharsetCodePage(int charset) {
  switch (charset) {
    case 0: return 1252;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return 0;
  }
}

int LanguageCodePage(int lcid) {
  // The primary language (low ten bits) decides, but for Chinese, where the
  // sublanguage tells simplified from traditional script.
  switch (lcid & 0xFFFF) {
    case 0x0404: case 0x0C04: case 0x1404: return 950;
    case 0x0804: case 0x1004: return 936;
    default: break;
  }
  switch (lcid & 0x3FF) {
    case 0x11: return 932;
    case 0x12: return 949;
    case 0x04: return 936;
    case 0x05: case 0x0E: case 0x15: case 0x18: case 0x1A: case 0x1B: case 0x24: return 1250;
    case 0x02: case 0x19: case 0x22: case 0x23: case 0x2F: return 1251;
    case 0x08: return 1253;
    case 0x1F: return 1254;
    case 0x0D: return 1255;
    case 0x01: case 0x20: case 0x29: return 1256;
    case 0x25: case 0x26: case 0x27: return 1257;
    case 0x2A: return 1258;
    case 0x1E: return 874;
    case 0x03: case 0x06: case 0x07: case 0x09: case 0x0A: case 0x0B: case 0x0C: case 0x0F: case 0x10:
    case 0x13: case 0x14: case 0x16: case 0x1D: case 0x2D: case 0x36: case 0x38: case 0x3E: case 0x41:
      return 1252;
    default: return 0;
  }
}

}  // namespace quorvex
