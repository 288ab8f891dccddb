#include "hlp/HelpCodePage.h"

#include <string_view>
#include <utility>

#include "base/CodePageText.h"
#include "base/CodePages.h"

namespace quorvex {
namespace {

constexpr int kDefaultCodePage = 1252;

bool HasHighByte(const ByteString& face) {
  for (char c : face) {
    if (static_cast<std::uint8_t>(c) >= 0x80) return true;
  }
  return false;
}

bool ShowsJapaneseScript(const std::u32string& text) {
  bool japanese = false;
  for (char32_t c : text) {
    if (c == 0xFFFD) return false;
    japanese = japanese || (c >= 0x3041 && c <= 0x30FF) || (c >= 0xFF21 && c <= 0xFF5A);
  }
  return japanese;
}

// The double-byte code page a face name is written in, as WinHelp 3.1 files
// name no language: Japanese faces spell kana or full-width letters ("ＭＳ
// ゴシック", "ＭＳ 明朝"); the Chinese and Korean system faces are known by
// name. The bytes of one script often decode as characters of another, so
// the Japanese test comes first and a face that fits nothing known but reads
// as Shift-JIS counts as Japanese.
int DoubleByteCodePageOfFace(const ByteString& face) {
  if (!HasHighByte(face)) return 0;
  if (ShowsJapaneseScript(DecodeCodePage(face, 932))) return 932;
  static constexpr std::pair<std::u32string_view, int> kFaces[] = {
      {U"明朝", 932},   {U"宋体", 936},   {U"新宋体", 936}, {U"黑体", 936},   {U"楷体", 936},
      {U"仿宋", 936},   {U"幼圆", 936},   {U"隶书", 936},   {U"华文", 936},   {U"微软雅黑", 936},
      {U"細明體", 950}, {U"新細明體", 950}, {U"標楷體", 950}, {U"微軟正黑體", 950}, {U"굴림", 949},
      {U"바탕", 949},   {U"돋움", 949},   {U"궁서", 949},   {U"맑은 고딕", 949}};
  for (const auto& [name, codePage] : kFaces) {
    if (DecodeCodePage(face, codePage).find(name) != std::u32string::npos) return codePage;
  }
  const std::u32string japanese = DecodeCodePage(face, 932);
  return japanese.find(U'\uFFFD') == std::u32string::npos ? 932 : 0;
}

// The fonts of the Windows 3.1 editions for other scripts carry the script in
// their names: "Arial Cyr", "Times New Roman CE", ...
int CodePageOfFaceSuffix(const ByteString& face) {
  static constexpr std::pair<const char*, int> kSuffixes[] = {
      {" cyr", 1251}, {" ce", 1250}, {" greek", 1253}, {" tur", 1254}, {" baltic", 1257}};
  const ByteString lower = LowerCase(face);
  for (const auto& [suffix, codePage] : kSuffixes) {
    const std::string_view end(suffix);
    if (lower.size() > end.size() && lower.compare(lower.size() - end.size(), end.size(), end) == 0) return codePage;
  }
  return 0;
}

}  // namespace

int HelpCodePage(const SystemInfo& system, const std::vector<HelpFont>& fonts, int asked) {
  if (asked != 0) return asked;
  if (int codePage = LanguageCodePage(system.Language)) return codePage;
  if (int codePage = system.Charset >= 0 ? CharsetCodePage(system.Charset) : 0) return codePage;
  for (const HelpFont& font : fonts) {
    if (int codePage = DoubleByteCodePageOfFace(font.FaceName)) return codePage;
  }
  for (const HelpFont& font : fonts) {
    if (int codePage = CodePageOfFaceSuffix(font.FaceName)) return codePage;
  }
  return kDefaultCodePage;
}

}  // namespace quorvex
