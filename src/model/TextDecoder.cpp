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
    documentDoubleByte_ = true;
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

// A document that says it is double-byte is read so throughout. Otherwise the
// double-byte code page is only the project's guess, and a run in a font of a
// single-byte character set (Arial with \fcharset0 in a Japanese project) holds
// single-byte text: its curly quotes must not pair up into kanji.
bool TextDecoder::ReadsDoubleByte(const FontInfo* font) const {
  if (doubleByte_ == 0) return false;
  if (documentDoubleByte_ || !font || font->CodePage == 0) return true;
  return IsDoubleByteCodePage(font->CodePage);
}

void TextDecoder::Decode(std::string_view bytes, const FontInfo* font, DocText& out) const {
  const bool doubleByte = ReadsDoubleByte(font);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<std::uint8_t>(bytes[i]);
    if (font && font->Symbol) {
      out.push_back(SymbolChar(font->Table, byte));
    } else if (byte < 0x80) {
      out.push_back(byte);
    } else if (doubleByte && IsDoubleByteLead(doubleByte_, byte) && i + 1 < bytes.size() &&
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
