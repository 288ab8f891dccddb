#pragma once
// The full-text search of the browser help, prepared at conversion time: the
// pages' texts and an index of the character pairs (bigrams) in them, so that
// Japanese text, which has no blanks between words, is found by any part.

#include <string>
#include <vector>

namespace quorvex {

/// The form in which characters are compared: ASCII letters lower-cased,
/// full-width ASCII as ASCII, the ideographic space as a blank, half-width
/// katakana as full-width. One character stays one character, so a place in
/// the folded text is the same place in the original. viewer search.js folds
/// the same way.
char32_t SearchFold(char32_t c);

/// The script web/webhelp/search-data.js for the pages' UTF-8 texts (in the
/// order of the pages in help-data.js): the texts, and for every pair of
/// adjacent non-blank folded characters the pages that hold it.
std::string SearchDataScript(const std::vector<std::string>& texts);

}  // namespace quorvex
