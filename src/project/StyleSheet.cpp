#include "project/StyleSheet.h"

#include "base/Texts.h"

namespace quorvex {

void WriteStyleSheet(const ConversionJob& job, const ByteString& path) {
  const ByteString font = kFontName;
  StringList lines;
  lines.Add("body\t{ font-size: 75%; font-family: " + font + "; }");
  lines.Add("table\t{ font-size: 100%; font-family: " + font + "; }");
  lines.Add("h4\t{ margin-bottom: 1pt; }");
  lines.Add("li\t{ margin-top: 2pt; }");
  lines.Add("ul li\t{ padding-top: 2pt; }");
  lines.Add("ul\t{ margin-top: 2pt; margin-bottom: 2pt; }");
  lines.Add("menu\t{ margin-top: 2pt; margin-bottom: 2pt; }");
  lines.SaveToFile(path, job.OutputFolder);
}

ByteString PopupFontLine() { return ByteString("popfont=\"") + kFontName + ",10\""; }

void WritePopupFile(ConversionJob& job) {
  if (!job.CombinePopups || job.PopupLines.Empty()) return;
  job.PopupLines.Insert(0, PopupFontLine());
  job.PopupLines.SaveToFile(job.OutputFolder + "html\\popup.js", job.OutputFolder);
}

}  // namespace quorvex
