#pragma once
// Topic files in the form Word writes them: a header with font table, colour
// table and style sheet, footnote groups, text as \'hh escapes.

#include <string>
#include <vector>

namespace quorvex::test {

/// Text as Word writes it: ASCII as it is (braces and backslashes escaped),
/// every byte of other characters in `codePage` as \'hh.
std::string WordText(const std::string& utf8, const char* codePage = "CP932");

/// A footnote as Word writes it: the raised mark, then the group, which
/// repeats the raised mark before the text.
std::string WordFootnote(char mark, const std::string& text);

/// Word's header: \ansicpgN (none for 0); fonts f0 Times New Roman, f1
/// Symbol, f2 ＭＳ ゴシック (charset 128), f3 Wingdings, f4 a font labelled
/// Big5 (charset 136), f5 Times New Roman CE (charset 238); colours 1 black, 2 blue, 3 red; styles 1 "heading 1",
/// 2 "見出し 2", 15 "footnote text".
std::string WordHeader(int ansiCodePage = 932);

/// A document: the header, the topics' RTF separated by \page, the closing brace.
std::string WordDocument(const std::vector<std::string>& topics, int ansiCodePage = 932);

}  // namespace quorvex::test
