#include "model/TextDecoder.h"

#include "base/CodePageTables.h"
#include "base/CodePages.h"

namespace quorvex {
namespace {

// What an undecodable byte shows as.
constexpr char32_t kUnknown = U'?';

}  // namespace

TextDecoder::TextDecoder(int ansiCodePage, int projectCodePage) {
  if (IsDoubleByteCodePage(ansiCodePage)) {
    doubleByte_ = ansiCodePage;
  } else if (IsDoubleByteCodePage(projectCodePage)) {
    doubleByte_ = projectCodePage;
  }
  if (ansiCodePage != 0) {
    singleByte_ = ansiCodePage;
  } else if (projectCodePage != 0) {
    singleByte_ = projectCodePage;
  }
}

char32_t TextDecoder::SingleByte(std::uint8_t byte, const FontInfo* font) const {
  const int codePage = font && font->CodePage != 0 ? font->CodePage : singleByte_;
  if (codePage == 932 && byte >= 0xA1 && byte <= 0xDF) return ShiftJisChar(byte);  // half-width katakana
  char32_t c = DecodeSingleByte(codePage, byte);
  return c != 0 ? c : kUnknown;
}

void TextDecoder::Decode(std::string_view bytes, const FontInfo* font, DocText& out) const {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<std::uint8_t>(bytes[i]);
    if (font && font->Symbol) {
      out.push_back(SymbolChar(font->Table, byte));
    } else if (byte < 0x80) {
      out.push_back(byte);
    } else if (doubleByte_ != 0 && IsDoubleByteLead(doubleByte_, byte) && i + 1 < bytes.size() &&
               IsDoubleByteTrail(doubleByte_, static_cast<std::uint8_t>(bytes[i + 1]))) {
      const auto trail = static_cast<std::uint8_t>(bytes[++i]);
      if (doubleByte_ == 932) {
        out.push_back(ShiftJisChar(static_cast<std::uint16_t>((byte << 8) | trail)));
      } else {
        char32_t c = DecodeDoubleByte(doubleByte_, byte, trail);
        out.push_back(c != 0 ? c : kUnknown);
      }
    } else {
      out.push_back(SingleByte(byte, font));
    }
  }
}

}  // namespace quorvex
