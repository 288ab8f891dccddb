#pragma once
// What a reader sees of UTF-8 HTML: character references resolved, the text
// of a page without its tags.

#include <string>
#include <string_view>

namespace quorvex {

/// Resolves &amp; &lt; &gt; &quot; &apos; &nbsp; and numeric references
/// (&#N; &#xN;); a number that names no character becomes U+FFFD, an unknown
/// name stays as written.
std::string DecodeEntities(std::string_view html);

/// Text as HTML text or attribute value: & < > " ' as references.
std::string EscapeHtml(std::string_view text);

/// A folder or page name as part of a relative URL: bytes other than
/// letters, digits and - _ . ~ percent-encoded.
std::string UrlPathPart(std::string_view utf8);

/// The title and the readable text of a page.
struct PageText {
  std::string title;  ///< the <title>, blanks collapsed
  std::string text;   ///< the body's text: tags dropped, line-breaking tags and blank runs as one space
  std::string firstLine;  ///< the first line of the text that holds any; a heading is one line
};

/// Reads the title and the text of a UTF-8 page. Scripts, style sheets and the
/// head's other contents are not text.
PageText ReadPageText(std::string_view html);

}  // namespace quorvex
