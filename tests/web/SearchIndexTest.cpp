#include "web/SearchIndex.h"

#include <gtest/gtest.h>

#include "web/JsonText.h"

namespace quorvex {
namespace {

TEST(SearchIndex, FoldingKeepsOneCharacterForOne) {
  const std::pair<char32_t, char32_t> cases[] = {
      {U'A', U'a'}, {U'z', U'z'}, {U'Ａ', U'a'},   {U'ｚ', U'z'},  {U'０', U'0'}, {U'！', U'!'},
      {U'　', U' '}, {U'ｶ', U'カ'}, {U'ﾞ', U'゛'}, {U'｡', U'。'}, {U'ﾝ', U'ン'}, {U'あ', U'あ'},
      {U'É', U'É'},  {U'𠀋', U'𠀋'},
  };
  for (auto [in, out] : cases) EXPECT_EQ(SearchFold(in), out) << static_cast<unsigned>(in);
}

TEST(SearchIndex, PairsOfAdjacentCharactersPointAtTheirPages) {
  std::string script = SearchDataScript({{"", {}, "Ａb 表示"}, {"", {}, "表示\n表"}, {"", {}, "</script>"}});
  EXPECT_NE(script.find("\"ab\":[0]"), std::string::npos);
  EXPECT_NE(script.find("\"表示\":[0,1]"), std::string::npos);  // each page once, though it holds the pair twice
  EXPECT_EQ(script.find("\"b \""), std::string::npos);
  EXPECT_EQ(script.find("</"), std::string::npos);
  EXPECT_NE(script.find("\"texts\":[\n\"Ａb 表示\",\n\"表示\\n表\",\n\"\\u003c/script\\u003e\"]"), std::string::npos);
}

TEST(SearchIndex, TitlesAndKeywordsFindTheirPagesToo) {
  std::string script = SearchDataScript({
      {"ヒント", {}, "本文"},
      {"Other", {"Key word", "索引"}, "ヒ ント"},  // the text's pair is split by a blank
      {"", {"x"}, "Hint ヒント"},
  });
  EXPECT_NE(script.find("\"ヒン\":[0,2]"), std::string::npos);
  EXPECT_NE(script.find("\"ey\":[1]"), std::string::npos);
  EXPECT_NE(script.find("\"索引\":[1]"), std::string::npos);
  EXPECT_NE(script.find("\"ot\":[1]"), std::string::npos);
  // No pair runs from one keyword into the next, or from the title into the text.
  EXPECT_EQ(script.find("\"d索\""), std::string::npos);
  EXPECT_EQ(script.find("\"ト本\""), std::string::npos);
  EXPECT_NE(script.find("\"keys\":[\n\"\",\n\"Key word\\n索引\",\n\"x\"]"), std::string::npos);
}

TEST(SearchIndex, ScriptStringsEscapeWhatCouldEndThemOrTheirScript) {
  EXPECT_EQ(JsonString("a\"b\\c\n\r\t\x01</script><!--\u2028\u2029表"),
            "\"a\\\"b\\\\c\\n\\r\\t\\u0001\\u003c/script\\u003e\\u003c!--\\u2028\\u2029表\"");
  EXPECT_EQ(JsonString("\xff\xe8\x80"), "\"\uFFFD\uFFFD\uFFFD\"");
}

}  // namespace
}  // namespace quorvex
