#include "convert/RunIndex.h"

#include <cctype>

#include "base/CodePageText.h"
#include "base/Encoding.h"
#include "base/Files.h"
#include "project/HelpProjectWriter.h"

namespace quorvex {
namespace {

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// A folder name as a relative URL: bytes outside the unreserved ones percent-encoded.
std::string UrlPart(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u) || c == '-' || c == '_' || c == '.' || c == '~') {
      out += c;
    } else {
      out += '%';
      out += kHex[u >> 4];
      out += kHex[u & 15];
    }
  }
  return out;
}

}  // namespace

void WriteRunIndex(const ByteString& outputFolder, const std::vector<std::unique_ptr<RunHelp>>& helps) {
  std::string page =
      "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>Helps</title>\n"
      "<style>body{font-family:sans-serif;max-width:40em;margin:2em auto;padding:0 1em;line-height:1.5}"
      "li{margin:.4em 0}</style>\n</head>\n<body>\n<ul>\n";
  for (const std::unique_ptr<RunHelp>& help : helps) {
    if (help->Failed) continue;
    const ConversionJob& job = help->Job;
    const std::string title = job.Title.empty() ? Cp932ToUtf8Replacing(ProjectBaseName(job))
                                                : Utf8FromCodePage(job.Title, job.CodePage);
    page += "<li><a href=\"" + UrlPart(Cp932ToUtf8Replacing(help->Folder)) + "/web/index.html\">" + Escaped(title) +
            "</a></li>\n";
  }
  page += "</ul>\n</body>\n</html>\n";
  const ByteString folder = outputFolder + "\\";
  WriteFileInside(folder, folder + "index.html", page);
}

}  // namespace quorvex
