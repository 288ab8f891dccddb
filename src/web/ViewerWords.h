#pragma once
// The viewer's own words (tabs, buttons, notices, messages) in each language
// the browser help speaks, one table per language, and the choice of the
// language for a help.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

/// One fixed text of the viewer: the key index.html ("{{key}}") and the
/// scripts (help.word('key')) name it by, and its text in UTF-8. "{0}" in a
/// text stands for what the script puts there (a page name, a number).
struct ViewerWord {
  std::string_view key;
  std::string_view text;
};

/// A language of the viewer: its tag for <html lang> and its words. Every
/// language has the same keys in the same order.
struct ViewerLanguage {
  std::string_view tag;
  std::span<const ViewerWord> words;
};

/// Every language the viewer speaks; the first is English.
std::span<const ViewerLanguage> ViewerLanguages();

/// The language of a help's viewer: Japanese for code page 932, English for
/// any other; when the code page is not known (0), Japanese only when the
/// pages' text (UTF-8) really is Japanese (see TextLooksJapanese).
const ViewerLanguage& ViewerLanguageFor(int codePage, const std::vector<std::string_view>& pageTexts);

/// True when kana make up at least one in twenty of the letters (Latin
/// letters, kana, ideographs) of the texts. Kana are what only Japanese
/// writes; a few Japanese words in an English help stay below that share,
/// while Japanese prose, even full of English terms, stays well above it.
bool TextLooksJapanese(const std::vector<std::string_view>& texts);

}  // namespace quorvex
