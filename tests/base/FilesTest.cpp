#include "base/Files.h"

#include <gtest/gtest.h>

#include "base/Errors.h"
#include "base/Texts.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::Sjis;
using test::TempDir;

TEST(Files, ResolvesComponentsAsIsAsUtf8AndIgnoringCase) {
  TempDir dir;
  dir.Write("Images/Logo.BMP", "bmp");
  dir.Write("日本語/トピック.rtf", "rtf");
  EXPECT_EQ(ReadFile(dir.Engine() + "images\\logo.bmp"), "bmp");
  EXPECT_EQ(ReadFile(dir.Engine() + Sjis("日本語\\トピック.RTF")), "rtf");
  EXPECT_TRUE(FileExists(dir.Engine() + "IMAGES/LOGO.bmp"));
  EXPECT_FALSE(FileExists(dir.Engine() + "images"));  // a folder is not a file
}

TEST(Files, NewNamesAreWrittenInUtf8) {
  TempDir dir;
  WriteFileInside(dir.Engine(), dir.Engine() + Sjis("ページ.html"), "x");
  EXPECT_EQ(dir.Read("ページ.html"), "x");
}

TEST(Files, MissingInputRaisesTheOpenError) {
  TempDir dir;
  ByteString path = dir.Engine() + "none.hpj";
  try {
    ReadFile(path);
    FAIL() << "no error";
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(), FormatText(kFileOpenError, path));
  }
}

TEST(Files, WritesAndDeletionsStayInsideTheOutputFolder) {
  TempDir dir;
  ByteString out = dir.Engine() + "out\\";
  ForceDirectories(out + "html");
  for (ByteString escape : {"html\\..\\..\\evil.html", "\\tmp\\evil.html", "C:\\evil.html", "html\\a:b.html"}) {
    ByteString path = out + escape;
    try {
      WriteFileInside(out, path, "x");
      ADD_FAILURE() << "written: " << escape;
    } catch (const EFCreateError& error) {
      EXPECT_EQ(error.Message(), FormatText(kFileCreateError, path));
    }
    EXPECT_FALSE(DeleteFileInside(out, path));
  }
  EXPECT_FALSE(dir.Exists("evil.html"));
  dir.Write("victim.txt", "keep");
  EXPECT_FALSE(DeleteFileInside(out, out + "..\\victim.txt"));
  EXPECT_TRUE(dir.Exists("victim.txt"));

  WriteFileInside(out, out + "html\\page.html", "x");
  EXPECT_TRUE(DeleteFileInside(out, out + "HTML\\Page.html"));
  EXPECT_FALSE(dir.Exists("out/html/page.html"));
}

TEST(Files, WriteIntoAMissingFolderRaisesTheCreateError) {
  TempDir dir;
  EXPECT_THROW(WriteFileInside(dir.Engine(), dir.Engine() + "no\\such\\page.html", "x"), EFCreateError);
}

TEST(Files, ListingIsSortedSkipsHiddenAndFoldersAndMatchesIgnoringCase) {
  TempDir dir;
  for (const char* name : {"b.html", "Old.HTM", "a.htm", ".hidden.html", "help.css", "popup.js"}) {
    dir.Write(std::string("html/") + name, "");
  }
  dir.Write("html/folder.html/inner.html", "");
  EXPECT_EQ(ListFiles(dir.Engine() + "html\\", "*.htm*"), (std::vector<ByteString>{"a.htm", "b.html", "Old.HTM"}));
  EXPECT_EQ(ListFiles(dir.Engine() + "html\\", "*.htm*", HiddenFiles::Listed),
            (std::vector<ByteString>{".hidden.html", "a.htm", "b.html", "Old.HTM"}));
  EXPECT_TRUE(ListFiles(dir.Engine() + "nothing\\", "*").empty());
}

TEST(Files, WildcardMatching) {
  EXPECT_TRUE(MatchesWildcard("page.HTML", "*.htm*"));
  EXPECT_FALSE(MatchesWildcard("page.ht", "*.htm*"));
  EXPECT_TRUE(MatchesWildcard("a.b.c", "*.?"));
  EXPECT_FALSE(MatchesWildcard("abc", "a?"));
  EXPECT_TRUE(MatchesWildcard("", "*"));
}

}  // namespace
}  // namespace quorvex
