#pragma once
// A converted help page as the browser help serves it.

#include <string>
#include <string_view>

namespace quorvex {

/// The browser copy of a page already converted to UTF-8: it declares UTF-8
/// instead of Shift-JIS, loses the HTML Help control (<object id=popup>),
/// and loads our page script and style first, which give the page's popup
/// links their browser form and tie the page to the viewer. A "</" inside the
/// page's own popup texts is escaped so that no text can end their script.
/// The body is left as the conversion wrote it.
std::string WebPageFor(std::string_view utf8Page);

/// The browser copy of help.css (UTF-8): every font-family list gains the
/// reader's sans-serif font at its end, since the Windows fonts it names are
/// missing on most other systems, where a browser would fall back to a serif.
std::string WebStyleSheetFor(std::string_view utf8StyleSheet);

/// What every browser page loads first, from web/html/.
inline constexpr char kWebPageHead[] =
    "<meta charset=\"utf-8\">\n"
    "<link rel=\"stylesheet\" href=\"../webhelp/page.css\">\n"
    "<script src=\"../webhelp/page.js\"></script>\n";

}  // namespace quorvex
