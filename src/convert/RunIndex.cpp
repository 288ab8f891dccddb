#include "convert/RunIndex.h"

#include "base/CodePageText.h"
#include "base/Encoding.h"
#include "base/Files.h"
#include "project/HelpProjectWriter.h"
#include "web/HtmlText.h"

namespace quorvex {

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
    page += "<li><a href=\"" + UrlPathPart(Cp932ToUtf8Replacing(help->Folder)) + "/web/index.html\">" + EscapeHtml(title) +
            "</a></li>\n";
  }
  page += "</ul>\n</body>\n</html>\n";
  const ByteString folder = outputFolder + "\\";
  WriteFileInside(folder, folder + "index.html", page);
}

}  // namespace quorvex
