#pragma once
// Links from one browser help into the browser help of another help of the
// same run. The HTML Help output links into the other help's .chm
// ("ms-its:other.chm::/html/page.html" in pages, "other.chm::/html/page.html"
// in the contents); the browser helps of a run lie side by side
// (OUTDIR/A/web, OUTDIR/B/web), so such a link becomes B's viewer on that page.

#include <string>
#include <string_view>
#include <vector>

#include "job/ConversionJob.h"

namespace quorvex {

class OtherHelpLinks {
 public:
  explicit OtherHelpLinks(const ConversionJob& job) : job_(job) {}

  /// True when the link ("other.chm::/html/x.html", with or without
  /// "ms-its:") leads into a compiled help instead of this help's pages.
  static bool IsOtherHelpLink(std::string_view link);

  /// The URL of the other help's viewer showing the page, from a file
  /// `depth` folders below this help's web folder (0: web/index.html,
  /// 1: web/html/page.html); empty when the run does not convert that help.
  std::string WebHref(std::string_view link, int depth) const;

  /// A page of web/html with its links into other helps made links into
  /// their browser helps (opening in the whole window); a link into a help
  /// the run does not convert loses its href, so it reads as plain text, and
  /// its target is added to `refused`.
  std::string RewritePage(std::string_view page, std::vector<std::string>& refused) const;

 private:
  const ConversionJob& job_;
};

}  // namespace quorvex
