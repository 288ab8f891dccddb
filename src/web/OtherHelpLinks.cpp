#include "web/OtherHelpLinks.h"

#include "base/ByteString.h"
#include "base/Encoding.h"
#include "web/HtmlText.h"

namespace quorvex {
namespace {

constexpr std::string_view kItsPrefix = "ms-its:";

std::size_t FindIgnoringCase(std::string_view text, std::string_view part, std::size_t from) {
  for (std::size_t i = from; i + part.size() <= text.size(); ++i) {
    if (StartsWithIgnoreCase(text.substr(i), part)) return i;
  }
  return std::string_view::npos;
}

}  // namespace

bool OtherHelpLinks::IsOtherHelpLink(std::string_view link) {
  if (StartsWithIgnoreCase(link, kItsPrefix)) return true;
  return link.find("::") != std::string_view::npos;
}

std::string OtherHelpLinks::WebHref(std::string_view link, int depth) const {
  if (StartsWithIgnoreCase(link, kItsPrefix)) link.remove_prefix(kItsPrefix.size());
  const std::size_t separator = link.find("::");
  if (separator == std::string_view::npos) return {};
  const std::string_view chm = link.substr(0, separator);
  std::string_view page = link.substr(separator + 2);
  if (StartsWithIgnoreCase(page, "/html/")) page.remove_prefix(6);
  page = page.substr(0, page.find('#'));  // the viewer opens pages, not places on them
  for (const OtherHelp& other : job_.OtherHelps) {
    if (!other.Job || !StartsWithIgnoreCase(chm, other.Chm) || chm.size() != other.Chm.size()) continue;
    std::string href;
    for (int i = 0; i < depth + 2; ++i) href += "../";
    return href + UrlPathPart(Cp932ToUtf8Replacing(other.Folder)) + "/web/index.html#" + UrlPathPart(page);
  }
  return {};
}

std::string OtherHelpLinks::RewritePage(std::string_view page, std::vector<std::string>& refused) const {
  static constexpr std::string_view kAttribute = "href=\"ms-its:";
  std::string out;
  std::size_t pos = 0;
  for (std::size_t at = FindIgnoringCase(page, kAttribute, 0); at != std::string_view::npos;
       at = FindIgnoringCase(page, kAttribute, pos)) {
    const std::size_t valueStart = at + 6;  // after href="
    const std::size_t valueEnd = page.find('"', valueStart);
    if (valueEnd == std::string_view::npos) break;
    const std::string_view link = page.substr(valueStart, valueEnd - valueStart);
    out.append(page.substr(pos, at - pos));
    if (std::string href = WebHref(link, 1); !href.empty()) {
      out += "href=\"" + href + "\" target=\"_top\"";
    } else {
      refused.emplace_back(link);
    }
    pos = valueEnd + 1;
  }
  out.append(page.substr(pos));
  return out;
}

}  // namespace quorvex
