#include "web/ViewerWords.h"

#include "base/Utf8.h"

namespace quorvex {
namespace {

constexpr ViewerWord kEnglish[] = {
    {"navigation", "Help navigation"},
    {"contents", "Contents"},
    {"index", "Index"},
    {"search", "Search"},
    {"indexFilter", "Type the keyword to find"},
    {"noKeywordMatch", "No keyword matches."},
    {"noKeywords", "This help has no keywords."},
    {"searchWords", "Words to search for"},
    {"searchButton", "Search"},
    {"page", "Page"},
    {"noScript", "This help needs JavaScript. Its pages are in the html folder."},
    {"noData", "The help's data (webhelp/help-data.js) could not be loaded."},
    {"open", "Open"},
    {"close", "Close"},
    {"missingPage", "A page this help does not have: {0}"},
    {"allPages", "All pages"},
    {"otherPages", "Other pages"},
    {"topicsOf", "Topics for \u201c{0}\u201d"},
    {"foundOne", "1 topic found."},
    {"foundMany", "{0} topics found."},
    {"notFound", "Nothing found."},
    {"noSearchData", "The search data is missing."},
    {"unknownPage", "The page \u201c{0}\u201d is not in this help."},
};

constexpr ViewerWord kJapanese[] = {
    {"navigation", "ヘルプの案内"},
    {"contents", "目次"},
    {"index", "キーワード"},
    {"search", "検索"},
    {"indexFilter", "キーワードを入力してください"},
    {"noKeywordMatch", "該当するキーワードはありません。"},
    {"noKeywords", "このヘルプにはキーワードがありません。"},
    {"searchWords", "検索する語句"},
    {"searchButton", "検索"},
    {"page", "ページ"},
    {"noScript", "このヘルプの表示には JavaScript が必要です。ページは html フォルダーにあります。"},
    {"noData", "ヘルプのデータ (webhelp/help-data.js) を読み込めませんでした。"},
    {"open", "開く"},
    {"close", "閉じる"},
    {"missingPage", "このヘルプにないページです: {0}"},
    {"allPages", "すべてのページ"},
    {"otherPages", "その他のページ"},
    {"topicsOf", "「{0}」のトピック"},
    {"foundOne", "1 件のトピックが見つかりました。"},
    {"foundMany", "{0} 件のトピックが見つかりました。"},
    {"notFound", "見つかりませんでした。"},
    {"noSearchData", "検索データがありません。"},
    {"unknownPage", "ページ「{0}」はこのヘルプにありません。"},
};

constexpr ViewerLanguage kLanguages[] = {{"en", kEnglish}, {"ja", kJapanese}};
constexpr int kJapaneseCodePage = 932;

bool IsKana(char32_t c) { return (c >= 0x3041 && c <= 0x30FA) || (c >= 0xFF66 && c <= 0xFF9D); }
bool IsIdeograph(char32_t c) { return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF); }
bool IsLatinLetter(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c <= 0x24F); }

}  // namespace

std::span<const ViewerLanguage> ViewerLanguages() { return kLanguages; }

bool TextLooksJapanese(const std::vector<std::string_view>& texts) {
  std::size_t kana = 0, letters = 0;
  for (std::string_view text : texts) {
    for (char32_t c : DecodeUtf8(text)) {
      if (IsKana(c)) ++kana;
      if (IsKana(c) || IsIdeograph(c) || IsLatinLetter(c)) ++letters;
    }
  }
  return kana > 0 && kana * 20 >= letters;
}

const ViewerLanguage& ViewerLanguageFor(int codePage, const std::vector<std::string_view>& pageTexts) {
  const bool japanese = codePage == kJapaneseCodePage || (codePage == 0 && TextLooksJapanese(pageTexts));
  return kLanguages[japanese ? 1 : 0];
}

}  // namespace quorvex
