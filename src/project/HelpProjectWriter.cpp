#include "project/HelpProjectWriter.h"

#include "base/CodePageText.h"
#include "base/Files.h"
#include "base/Texts.h"
#include "project/TopicLinks.h"

namespace quorvex {

ByteString ProjectBaseName(const ConversionJob& job) {
  return ChangeFileExt(ExtractFileName(job.ProjectPath), "");
}

namespace {

ByteString MainWindowLine(const ConversionJob& job, const ByteString& base, const ByteString& defaultPage) {
  ByteString line = "main=,";
  line += job.HasContents ? "\"" + base + ".hhc\"," : ",";
  line += job.HasIndex ? "\"" + base + ".hhk\"," : ",";
  line += "\"html/" + defaultPage + "\",,,,,,0x2120,,0x300e,,,,,,,,0";
  return line;
}

bool WrotePage(const ConversionJob& job, const ByteString& page) {
  for (const ByteString& written : job.WrittenPages) {
    if (SameText(written, page)) return true;
  }
  return false;
}

bool PageExists(const ConversionJob& job, const ByteString& page) {
  return !page.empty() && FileExists(job.OutputFolder + "html\\" + page);
}

// [ALIAS] and [MAP] for context-sensitive help: every mapped context whose
// topic has a page. Mapped contexts without one are reported once.
void AddContextSections(ConversionJob& job, StringList& lines) {
  StringList aliases, defines;
  int missing = 0;
  for (const MappedContext& entry : job.HelpContexts.Entries()) {
    TopicLink link = ResolveTopic(job, entry.Context);
    if (!link.Chm.empty() || !PageExists(job, link.Page)) {
      ++missing;
      continue;
    }
    aliases.Add(entry.Context + "=html/" + link.Href());
    defines.Add("#define " + entry.Context + " " + entry.Id);
  }
  if (missing > 0) {
    job.Warn(ExtractFileName(job.ProjectPath),
             DecimalText(missing) + " mapped context(s) have no topic; left out of [MAP]");
  }
  if (aliases.Empty()) return;
  lines.Add("[ALIAS]");
  for (const ByteString& line : aliases) lines.Add(line);
  lines.Add("");
  lines.Add("[MAP]");
  for (const ByteString& line : defines) lines.Add(line);
  lines.Add("");
}

}  // namespace

ByteString DefaultPage(const ConversionJob& job) {
  if (!job.ContentsTopic.empty()) return ResolveTopic(job, job.ContentsTopic).Href();
  // WinHelp opens the first topic of the first topic file.
  for (const ByteString& page : job.WrittenPages) {
    if (PageExists(job, page)) return page;
  }
  return ByteString();
}

void WriteHelpProject(ConversionJob& job) {
  job.ReportStatus(kStatusProject);
  ByteString base = ProjectBaseName(job);
  StringList lines;
  lines.Add("[OPTIONS]");
  lines.Add("Compatibility=1.1 or later");
  lines.Add("Compiled file=" + base + ".chm");
  if (job.HasContents) lines.Add("Contents file=" + base + ".hhc");
  lines.Add("Default Window=main");
  const ByteString defaultPage = DefaultPage(job);
  lines.Add("Default topic=html/" + defaultPage);
  lines.Add("Display compile progress=No");
  lines.Add("Error log file=log.txt");
  if (job.HasIndex) lines.Add("Index file=" + base + ".hhk");
  lines.Add(ByteString("Language=0x411 ") + kJapanese);
  lines.Add("Title=" + ShiftJisFromCodePage(job.Title, job.CodePage, Unrepresentable::QuestionMark));
  lines.Add("");
  lines.Add("[WINDOWS]");
  lines.Add(MainWindowLine(job, base, defaultPage));
  lines.Add("");
  lines.Add("[FILES]");
  // Hidden files stay out, but a page this conversion wrote is no hidden file
  // even when its context string begins with a dot (".HVCNA").
  for (const ByteString& page : ListFiles(job.OutputFolder + "html\\", "*.htm*", HiddenFiles::Listed)) {
    if (page[0] == '.' && !WrotePage(job, page)) continue;
    lines.Add("html/" + LowerCase(page));
  }
  if (job.CombinePopups && !job.PopupTopics.Empty()) lines.Add("html/popup.js");
  lines.Add("");
  AddContextSections(job, lines);
  lines.Add("[INFOTYPES]");
  lines.SaveToFile(job.OutputFolder + base + ".hhp", job.OutputFolder);
}

}  // namespace quorvex
