#include "project/HelpProjectWriter.h"

#include "base/Files.h"
#include "base/Texts.h"
#include "project/NameMap.h"

namespace quorvex {

ByteString ProjectBaseName(const ConversionJob& job) {
  return ChangeFileExt(ExtractFileName(job.ProjectPath), "");
}

namespace {

ByteString MainWindowLine(const ConversionJob& job, const ByteString& base) {
  ByteString line = "main=,";
  line += job.HasContents ? "\"" + base + ".hhc\"," : ",";
  line += job.HasIndex ? "\"" + base + ".hhk\"," : ",";
  line += "\"html/" + PageName(job, job.ContentsTopic) + "\",,,,,,0x2120,,0x300e,,,,,,,,0";
  return line;
}

}  // namespace

void WriteHelpProject(ConversionJob& job) {
  job.ReportStatus(kStatusProject);
  ByteString base = ProjectBaseName(job);
  StringList lines;
  lines.Add("[OPTIONS]");
  lines.Add("Compatibility=1.1 or later");
  lines.Add("Compiled file=" + base + ".chm");
  if (job.HasContents) lines.Add("Contents file=" + base + ".hhc");
  lines.Add("Default Window=main");
  lines.Add("Default topic=html/" + PageName(job, job.ContentsTopic));
  lines.Add("Display compile progress=No");
  lines.Add("Error log file=log.txt");
  if (job.HasIndex) lines.Add("Index file=" + base + ".hhk");
  lines.Add(ByteString("Language=0x411 ") + kJapanese);
  lines.Add("Title=" + job.Title);
  lines.Add("");
  lines.Add("[WINDOWS]");
  lines.Add(MainWindowLine(job, base));
  lines.Add("");
  lines.Add("[FILES]");
  for (const ByteString& page : ListFiles(job.OutputFolder + "html\\", "*.htm*")) {
    lines.Add("html/" + LowerCase(page));
  }
  if (job.CombinePopups && !job.PopupTopics.Empty()) lines.Add("html/popup.js");
  lines.Add("");
  lines.Add("[INFOTYPES]");
  lines.SaveToFile(job.OutputFolder + base + ".hhp", job.OutputFolder);
}

}  // namespace quorvex
