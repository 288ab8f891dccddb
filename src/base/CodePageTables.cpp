#include "base/CodePageTables.h"

#include <iconv.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/ByteString.h"

namespace quorvex {
namespace {

std::string IconvName(int codePage) {
  switch (codePage) {
    case 10000: return "MACINTOSH";
    case 950: return "BIG5";
    default: return "CP" + std::to_string(codePage);
  }
}

// One character of `bytes` in `from` as UTF-32; 0 when it does not convert
// whole (iconv's own tables decide what is a character).
char32_t ConvertOne(const std::string& to, const std::string& from, const char* bytes, std::size_t length) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
  char input[4];
  std::memcpy(input, bytes, length);
  char output[8];
  char* in = input;
  char* out = output;
  std::size_t inLeft = length, outLeft = sizeof output;
  std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0 || sizeof output - outLeft != 4) return 0;
  std::uint32_t c;
  std::memcpy(&c, output, 4);
  return static_cast<char32_t>(c);
}

char32_t Decode(int codePage, const char* bytes, std::size_t length) {
  return ConvertOne("UTF-32LE", IconvName(codePage), bytes, length);
}

}  // namespace

char32_t DecodeSingleByte(int codePage, std::uint8_t byte) {
  if (byte < 0x80) return byte;
  static std::unordered_map<int, std::array<char32_t, 128>> tables;
  auto found = tables.find(codePage);
  if (found == tables.end()) {
    std::array<char32_t, 128> table{};
    for (int b = 0x80; b < 0x100; ++b) {
      char c = static_cast<char>(b);
      table[static_cast<std::size_t>(b - 0x80)] = Decode(codePage, &c, 1);
    }
    found = tables.emplace(codePage, table).first;
  }
  return found->second[byte - 0x80];
}

char32_t DecodeDoubleByte(int codePage, std::uint8_t lead, std::uint8_t trail) {
  static std::unordered_map<std::uint32_t, char32_t> cache;
  const std::uint32_t key = (static_cast<std::uint32_t>(codePage) << 16) | (lead << 8) | trail;
  auto found = cache.find(key);
  if (found != cache.end()) return found->second;
  const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  return cache[key] = Decode(codePage, pair, 2);
}

bool IsDoubleByteLead(int codePage, std::uint8_t byte) {
  if (codePage == 932) return IsLeadByte(byte);
  return (codePage == 936 || codePage == 949 || codePage == 950) && byte >= 0x81 && byte <= 0xFE;
}

bool IsDoubleByteTrail(int codePage, std::uint8_t byte) {
  if (codePage == 932) return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
  return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

std::uint16_t EncodeCp932(char32_t c) {
  if (c < 0x80) return static_cast<std::uint16_t>(c);
  if (c > 0xFFFF) return 0;
  // 0xFFFF marks a character not asked for yet; no CP932 character has that code.
  static std::vector<std::uint16_t> table(0x10000, 0xFFFF);
  std::uint16_t& entry = table[c];
  if (entry != 0xFFFF) return entry;
  entry = 0;
  std::uint32_t utf32 = c;
  char input[4];
  std::memcpy(input, &utf32, 4);
  iconv_t cd = iconv_open("CP932", "UTF-32LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
  char output[4];
  char* in = input;
  char* out = output;
  std::size_t inLeft = 4, outLeft = sizeof output;
  std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
  iconv_close(cd);
  std::size_t written = sizeof output - outLeft;
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) return 0;
  if (written == 1) entry = static_cast<std::uint8_t>(output[0]);
  if (written == 2) entry = static_cast<std::uint16_t>((static_cast<std::uint8_t>(output[0]) << 8) | static_cast<std::uint8_t>(output[1]));
  return entry;
}

}  // namespace quorvex
