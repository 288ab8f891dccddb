#include "hlp/HelpCodePage.h"

#include <string_view>
#include <utility>

#include "base/CodePages.h"

namespace quorvex {
namespace {

constexpr int kDefaultCodePage = 1252;

// A face name written in Shift-JIS (the Japanese system fonts are): the
// sign of a Japanese help that names no language, as WinHelp 3.1 files do.
bool LooksJapanese(const ByteString& face) {
  for (std::size_t i = 0; i + 1 < face.size(); ++i) {
    const auto lead = static_cast<std::uint8_t>(face[i]);
    const auto trail = static_cast<std::uint8_t>(face[i + 1]);
    if (((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) && trail >= 0x40 && trail <= 0xFC &&
        trail != 0x7F) {
      return true;
    }
  }
  return false;
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
    if (LooksJapanese(font.FaceName)) return 932;
  }
  for (const HelpFont& font : fonts) {
    if (int codePage = CodePageOfFaceSuffix(font.FaceName)) return codePage;
  }
  return kDefaultCodePage;
}

}  // namespace quorvex
