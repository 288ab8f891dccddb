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

/// What the search looks into on one page (UTF-8).
struct SearchPage {
  std::string title;                  ///< as the viewer shows it (help-data.js holds it)
  std::vector<std::string> keywords;  ///< the index's keywords that lead to the page
  std::string text;
};

/// The script web/webhelp/search-data.js for the pages (in the order of the
/// pages in help-data.js): their texts, their keywords, and for every pair of
/// adjacent non-blank folded characters of a title, a keyword or a text the
/// pages that hold it, so that a word found only in a title or a keyword
/// finds its page too.
std::string SearchDataScript(const std::vector<SearchPage>& pages);

}  // namespace quorvex
