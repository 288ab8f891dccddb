#include "web/ViewerWords.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "web/ViewerPage.h"
#include "web/WebAssets.h"

namespace quorvex {
namespace {

const ViewerLanguage& Language(std::string_view tag) {
  for (const ViewerLanguage& language : ViewerLanguages()) {
    if (language.tag == tag) return language;
  }
  throw std::runtime_error("no language " + std::string(tag));
}

// Every word the viewer's files ask for: "{{key}}" in index.html, help.word('key') in the scripts.
std::set<std::string> WordsTheViewerUses() {
  std::set<std::string> keys;
  const std::regex placeholder(R"(\{\{(\w+)\}\})"), call(R"(help\.word\('(\w+)')"),
      choice(R"(help\.word\([^)]*\? '(\w+)' : '(\w+)')");
  for (const WebAsset& asset : WebAssets()) {
    const std::string data(asset.data);
    for (const std::regex* pattern : {&placeholder, &call, &choice}) {
      for (std::sregex_iterator it(data.begin(), data.end(), *pattern), end; it != end; ++it) {
        for (std::size_t group = 1; group < it->size(); ++group) keys.insert((*it)[group].str());
      }
    }
  }
  for (const char* filled : {"lang", "title", "words"}) keys.erase(filled);
  return keys;
}

TEST(ViewerWords, EveryLanguageHasEveryWordTheViewerUses) {
  const std::set<std::string> used = WordsTheViewerUses();
  EXPECT_GT(used.size(), 20u);
  EXPECT_TRUE(used.count("otherPages") && used.count("foundMany") && used.count("noData"));
  const ViewerLanguage& english = Language("en");
  for (const ViewerLanguage& language : ViewerLanguages()) {
    ASSERT_EQ(language.words.size(), english.words.size()) << language.tag;
    std::set<std::string> keys;
    for (std::size_t i = 0; i < language.words.size(); ++i) {
      EXPECT_EQ(language.words[i].key, english.words[i].key) << language.tag;
      EXPECT_FALSE(language.words[i].text.empty()) << language.tag << " " << language.words[i].key;
      keys.insert(std::string(language.words[i].key));
    }
    EXPECT_EQ(keys, used) << language.tag << ": the table and the viewer's files name other words";
  }
}

TEST(ViewerWords, LanguageFollowsTheCodePageOrElseTheText) {
  const std::string japanese = "ヘルプの使い方を説明します。Windows のメニューから選びます。";
  const std::string english = "Choose Options from the Tools menu to change the settings of the program.";
  const std::string chinese = "從工具菜單中選擇選項以更改程序的設置。";
  const std::string englishWithJapaneseName = english + " " + english + " (日本語: ヘルプ)";
  struct Case {
    int codePage;
    std::vector<std::string_view> texts;
    std::string_view tag;
  } cases[] = {
      {932, {english}, "ja"},   {1252, {japanese}, "en"},  {936, {chinese}, "en"},
      {0, {japanese}, "ja"},    {0, {english, japanese}, "ja"},  {0, {english}, "en"},
      {0, {chinese}, "en"},     {0, {englishWithJapaneseName}, "en"},  {0, {}, "en"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ViewerLanguageFor(c.codePage, c.texts).tag, c.tag) << c.codePage << " " << (c.texts.empty() ? "" : c.texts[0]);
  }
}

TEST(ViewerWords, ViewerPageTakesTheLanguagesWordsAsHtml) {
  EXPECT_EQ(ViewerPageFor("<html lang=\"{{lang}}\"><title>{{title}}</title><b title=\"{{contents}}\">{{topicsOf}}</b>"
                          "{{nothing}} {{open",
                          Language("en"), "A \"<b>\" & 'c'"),
            "<html lang=\"en\"><title>A &quot;&lt;b&gt;&quot; &amp; &#39;c&#39;</title><b title=\"Contents\">"
            "Topics for \u201c{0}\u201d</b>{{nothing}} {{open");
  // The scripts' words, as a JSON object in which no text can end the script element around it.
  const std::string words = ViewerPageFor("{{words}}", Language("ja"), "");
  EXPECT_EQ(words.find("{\"navigation\":\"ヘルプの案内\",\"contents\":\"目次\","), 0u);
  EXPECT_TRUE(words.ends_with(",\"unknownPage\":\"ページ「{0}」はこのヘルプにありません。\"}"));
  EXPECT_EQ(words.find('<'), std::string::npos);
}

}  // namespace
}  // namespace quorvex
