#include "metafile/CharsetText.h"

#include <iconv.h>

#include <array>
#include <map>
#include <mutex>

#include "base/ByteString.h"
#include "base/Utf8.h"

namespace quorvex {

namespace {

constexpr char32_t kMissing = 0x30FB;

// Code page 1252 at 0x80-0x9F; 0 marks the five unassigned bytes.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::string Utf8Of(char32_t c) {
  std::string out;
  AppendUtf8(out, c);
  return out;
}

// Converts one character's bytes through iconv into a code point (0 when it has none).
char32_t ConvertOne(iconv_t cd, const std::uint8_t* bytes, std::size_t count) {
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char in[4] = {};
  for (std::size_t i = 0; i < count && i < sizeof in; ++i) in[i] = static_cast<char>(bytes[i]);
  char out[8] = {};
  char* inPtr = in;
  char* outPtr = out;
  std::size_t inLeft = count;
  std::size_t outLeft = sizeof out;
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) return 0;
  if (outLeft != sizeof out - 4) return 0;  // not exactly one UTF-32 character
  char32_t c = 0;
  for (int i = 0; i < 4; ++i) c |= static_cast<char32_t>(static_cast<std::uint8_t>(out[i])) << (8 * i);
  return c;
}

// The code page iconv knows a single-byte Windows character set by, or null.
const char* SingleByteCodePage(int charset) {
  switch (charset) {
    case 161: return "CP1253";
    case 162: return "CP1254";
    case 163: return "CP1258";
    case 177: return "CP1255";
    case 178: return "CP1256";
    case 186: return "CP1257";
    case 204: return "CP1251";
    case 222: return "CP874";
    case 238: return "CP1250";
    default: return nullptr;
  }
}

// The upper half of a single-byte code page as code points, built once.
const std::array<char32_t, 128>& UpperHalf(const char* codePage) {
  static std::mutex mutex;
  static std::map<std::string, std::array<char32_t, 128>> tables;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = tables.find(codePage);
  if (it != tables.end()) return it->second;
  std::array<char32_t, 128> table{};
  iconv_t cd = iconv_open("UTF-32LE", codePage);
  for (int b = 0x80; b <= 0xFF; ++b) {
    const std::uint8_t byte = static_cast<std::uint8_t>(b);
    table[b - 0x80] = ConvertOne(cd, &byte, 1);
  }
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  return tables.emplace(codePage, table).first->second;
}

char32_t Cp1252(std::uint8_t b) {
  if (b < 0x80 || b >= 0xA0) return b;
  return kCp1252High[b - 0x80];
}

}  // namespace

bool IsJapaneseCharset(int charset) { return charset == 128 || charset == 1 || charset == 255; }

std::vector<TextChar> DecodeCharsetText(std::span<const std::uint8_t> bytes, int charset) {
  std::vector<TextChar> out;
  auto add = [&](char32_t code, int count) {
    if (code == 0 && count > 0) code = kMissing;
    out.push_back({Utf8Of(code), count, code});
  };
  if (IsJapaneseCharset(charset)) {
    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    for (std::size_t i = 0; i < bytes.size();) {
      const std::size_t n = (IsLeadByte(bytes[i]) && i + 1 < bytes.size()) ? 2 : 1;
      add(bytes[i] < 0x80 ? bytes[i] : ConvertOne(cd, bytes.data() + i, n), static_cast<int>(n));
      i += n;
    }
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    return out;
  }
  const char* codePage = SingleByteCodePage(charset);
  for (std::uint8_t b : bytes) {
    if (b < 0x80) {
      add(b, 1);
    } else {
      add(codePage ? UpperHalf(codePage)[b - 0x80] : Cp1252(b), 1);
    }
  }
  return out;
}

std::string EncodeCharsetText(std::u16string_view text, int charset) {
  std::string out;
  const bool japanese = IsJapaneseCharset(charset);
  iconv_t cd = japanese ? iconv_open("CP932", "UTF-32LE") : reinterpret_cast<iconv_t>(-1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    if (japanese) {
      if (cd == reinterpret_cast<iconv_t>(-1)) {
        out += '?';
        continue;
      }
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      char in[4];
      for (int k = 0; k < 4; ++k) in[k] = static_cast<char>((c >> (8 * k)) & 0xFF);
      char buffer[8];
      char* inPtr = in;
      char* outPtr = buffer;
      std::size_t inLeft = 4;
      std::size_t outLeft = sizeof buffer;
      if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        out += '?';
      } else {
        out.append(buffer, sizeof buffer - outLeft);
      }
      continue;
    }
    char byte = '?';
    for (int b = 0x80; b <= 0xFF; ++b) {
      if (Cp1252(static_cast<std::uint8_t>(b)) == c) {
        byte = static_cast<char>(b);
        break;
      }
    }
    out += byte;
  }
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  return out;
}

}  // namespace quorvex
