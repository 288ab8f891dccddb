#include "base/Texts.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>
#include <vector>

namespace quorvex {
namespace {

// Independent of the engine's own conversion helpers: plain iconv.
std::string ToCp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::vector<char> in(utf8.begin(), utf8.end());
  std::string out(utf8.size() * 2 + 8, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  EXPECT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<size_t>(-1)) << utf8;
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

TEST(Texts, EveryConstantIsTheShiftJisOfItsOriginal) {
  struct Case {
    const char* constant;
    const char* utf8;
  };
  const Case cases[] = {
      {kFileOpenError, "ファイル %s は開けません"},
      {kFileCreateError, "ファイル %s を作成できません"},
      {kNotAnInteger, "'%s' は整数ではありません"},
      {kListIndexError, "リストのインデックスが範囲を超えています (%d)"},
      {kFontName, "ＭＳ Ｐゴシック"},
      {kJapanese, "日本語"},
      {kMissingPicture, "(画像)"},
      {kStatusContents, "cnt → hhc"},
      {kStatusIndex, "hhk作成"},
      {kStatusProject, "hhp作成"},
      {kStatusWebHelp, "web作成"},
      {kExitCaption, "終了"},
      {kConvertCaption, "　変換　"},
      {kVersionCaption, "バージョン"},
      {kCombinePopupsCaption, "ポップアップを１つのファイルにまとめる"},
      {kOpenDialogFilter, "ヘルプ|*.hpj;*.hlp|ヘルププロジェクト|*.hpj|コンパイル済みヘルプ|*.hlp"},
      {kFolderPickerCaption, "作成先の選択"},
      {kIdeographicSpace, "　"},
      {kAboutCaption, "バージョン情報"},
      {kAboutNotice, "WinHelp → HTML ヘルプ"},
      {kCompiledHelpCaption, "コンパイル済みヘルプ (.chm) も作る"},
      {kBrowserHelpCaption, "ブラウザ用ヘルプも作る"},
      {kKeepGoingCaption, "見つからないファイルがあっても続ける"},
      {kCancelCaption, "中止"},
      {kMessagesCaption, "警告とエラー"},
      {kCopyCaption, "コピー"},
      {kOpenFolderCaption, "フォルダを開く"},
      {kOpenBrowserHelpCaption, "ブラウザ用ヘルプを開く"},
      {kOpenChmCaption, ".chm を開く"},
      {kWarningLabel, "警告"},
      {kErrorLabel, "エラー"},
      {kConversionCancelled, "変換を中止しました"},
      {kChmNotCompiled, "コンパイル済みヘルプ (.chm) を作成できません"},
  };
  for (const Case& c : cases) EXPECT_EQ(std::string(c.constant), ToCp932(c.utf8)) << c.utf8;
}

}  // namespace
}  // namespace quorvex
