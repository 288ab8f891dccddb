#include "topics/TopicConverter.h"

#include "base/StringList.h"
#include "project/NameMap.h"
#include "project/SourceFiles.h"
#include "project/StyleSheet.h"
#include "topics/LineCursor.h"
#include "topics/LineScanner.h"
#include "topics/TopicHeader.h"
#include "topics/TopicLayout.h"
#include "topics/PageFrame.h"
#include "topics/TopicPage.h"

namespace quorvex {
namespace {

void ConvertContentLines(TopicPage& page, StringList& lines, StringList& pageLines, const ByteString& pageName) {
  int contentStart = FindContentStart(lines);
  JoinViewkindLine(lines, contentStart);
  for (int i = contentStart; i < lines.Count(); ++i) {
    if (lines[i].empty()) continue;
    ByteString output;
    LineCursor cursor(lines[i]);
    if (i == contentStart) ReadTopicHeader(page, cursor, pageLines, pageName, output);
    ScanLine(page, cursor, output);
    pageLines.Add(output);
  }
  if (page.Scan.InList) pageLines.Add("</ul>");
  if (page.Scan.InMenu) pageLines.Add("</menu>");
}

}  // namespace

void ConvertTopicFile(ConversionJob& job, const ByteString& entry) {
  job.ReportStatus(entry);
  job.ProcessPendingEvents();

  const ByteString inputPath = TopicFilePath(job, entry);
  const ByteString pageName = PageName(job, ChangeFileExt(entry, ""));
  const ByteString outputPath = job.OutputFolder + "html\\" + pageName;

  TopicPage page(job, inputPath);
  job.PageUsesPopupFile = false;
  job.TableBorder = false;
  StringList pageLines = PageFrame(job);

  StringList lines;
  lines.LoadFromFile(inputPath);
  // The header line holds the colour table unless the table has a line of
  // its own. An empty file has neither and gives a page with only the frame.
  if (!lines.Empty()) page.Colors = ReadColorTable(lines[FindContentStart(lines) - 1]);
  ConvertContentLines(page, lines, pageLines, pageName);

  InsertLines(pageLines, kPopupBlockLine, PopupBlock(page));
  pageLines.Add("</body></html>");
  pageLines.SaveToFile(outputPath, job.OutputFolder);
  job.WrittenPages.push_back(pageName);
}

}  // namespace quorvex
