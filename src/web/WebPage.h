#pragma once
// A converted help page as the browser help serves it.

#include <string>
#include <string_view>

namespace quorvex {

/// The browser copy of a page already converted to UTF-8: it declares UTF-8
/// instead of Shift-JIS, loses the HTML Help control (<object id=popup>),
/// and loads our scripts and styles first (kWebPageHead), which give the
/// page's popup links and image maps their browser form, make its text
/// comfortable to read and tie the page to the viewer. A "</" inside the
/// page's own popup texts is escaped so that no text can end their script.
/// The body is left as the conversion wrote it.
std::string WebPageFor(std::string_view utf8Page);

/// The browser copy of help.css (UTF-8): every font-family list gains the
/// reader's sans-serif font at its end, since the Windows fonts it names are
/// missing on most other systems, where a browser would fall back to a serif.
std::string WebStyleSheetFor(std::string_view utf8StyleSheet);

/// What every browser page loads first, from web/html/: the popup box and
/// the reading style over the page's own, and the scripts that give popups
/// and image maps their browser form.
inline constexpr char kWebPageHead[] =
    "<meta charset=\"utf-8\">\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
    "<link rel=\"stylesheet\" href=\"../webhelp/page.css\">\n"
    "<link rel=\"stylesheet\" href=\"../webhelp/reading.css\">\n"
    "<script src=\"../webhelp/page.js\"></script>\n"
    "<script src=\"../webhelp/picture-maps.js\"></script>\n";

}  // namespace quorvex
