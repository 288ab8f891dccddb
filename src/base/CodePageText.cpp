#include "base/CodePageText.h"

#include "base/CodePageTables.h"
#include "base/CodePages.h"
#include "base/Utf8.h"

namespace quorvex {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

std::u32string DecodeCodePage(std::string_view bytes, int codePage) {
  if (codePage == 0) codePage = 932;
  std::u32string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<std::uint8_t>(bytes[i]);
    char32_t c = byte < 0x80 ? byte : 0;
    if (c == 0 && byte != 0 && IsDoubleByteCodePage(codePage) && IsDoubleByteLead(codePage, byte) &&
        i + 1 < bytes.size() && IsDoubleByteTrail(codePage, static_cast<std::uint8_t>(bytes[i + 1]))) {
      c = DecodeDoubleByte(codePage, byte, static_cast<std::uint8_t>(bytes[++i]));
    } else if (c == 0 && byte != 0) {
      c = DecodeSingleByte(codePage, byte);
    }
    out.push_back(c == 0 && byte != 0 ? kReplacement : c);
  }
  return out;
}

ByteString ShiftJisFromCodePage(std::string_view bytes, int codePage, Unrepresentable form) {
  if (codePage == 0 || codePage == 932) return ByteString(bytes);
  ByteString out;
  out.reserve(bytes.size());
  for (char32_t c : DecodeCodePage(bytes, codePage)) {
    std::uint16_t code = c < 0x80 ? static_cast<std::uint16_t>(c) : EncodeCp932(c);
    if (code == 0 && c != 0) {
      out += form == Unrepresentable::CharacterReference ? "&#" + DecimalText(static_cast<long long>(c)) + ";" : "?";
      continue;
    }
    if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
  }
  return out;
}

std::string Utf8FromCodePage(std::string_view bytes, int codePage) {
  return EncodeUtf8(DecodeCodePage(bytes, codePage));
}

}  // namespace quorvex
