#include "project/ContentsConverter.h"

#include <limits>

#include "base/CodePageText.h"
#include "base/Files.h"
#include "base/Texts.h"
#include "project/HelpProjectWriter.h"
#include "project/ProjectReader.h"
#include "project/SourceFiles.h"
#include "project/TopicLinks.h"

namespace quorvex {
namespace {

ByteString Tabs(int count) { return ByteString(static_cast<std::size_t>(count > 0 ? count : 0), '\t'); }

void RemoveFirst(StringList& list, const ByteString& text) {
  int found = list.IndexOf(text);
  if (found >= 0) list.Delete(found);
}

// Writes the .hhc lines and keeps the nesting of the lists.
class ContentsBuilder {
 public:
  ContentsBuilder() {
    for (const char* line : {"<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">", "<HTML>", "<HEAD>",
                             "<meta name=\"GENERATOR\" content=\"Quorvex\">", "<!-- Sitemap 1.0 -->",
                             "</HEAD><BODY>", "<OBJECT type=\"text/site properties\">",
                             "\t<param name=\"FrameName\" value=\"main\">", "</OBJECT>", "<UL>"}) {
      lines_.Add(line);
    }
  }

  // Opens at most one list when the entry goes deeper; closes every list it leaves.
  void NestTo(int level) {
    if (level > level_) {
      lines_.Add(Tabs(level_) + "<UL>");
      ++level_;
    } else if (level < level_) {
      for (int k = level_ - 1; k >= level; --k) lines_.Add(Tabs(k) + "</UL>");
      level_ = level;
    }
  }

  void Add(const ByteString& text, int extraIndent) { lines_.Add(Tabs(level_ + extraIndent) + text); }

  const StringList& Finish() {
    for (int k = level_ - 1; k >= 0; --k) lines_.Add(Tabs(k) + "</UL>");
    lines_.Add("</BODY></HTML>");
    return lines_;
  }

 private:
  StringList lines_;
  int level_ = 1;  // the header's list is the list of level 1
};

// Leading decimal digits; 0 when there are none. Absurdly long numbers stop growing.
int ReadLevel(const ByteString& line, std::size_t& pos) {
  long long level = 0;
  for (; pos < line.size() && line[pos] >= '0' && line[pos] <= '9'; ++pos) {
    if (level < std::numeric_limits<int>::max()) level = level * 10 + (line[pos] - '0');
  }
  while (pos < line.size() && line[pos] == ' ') ++pos;
  return static_cast<int>(std::min<long long>(level, std::numeric_limits<int>::max()));
}

// The entry's name up to "=" or the end; one trailing single-byte blank is dropped.
ByteString ReadName(const ByteString& line, std::size_t& pos) {
  ByteString name;
  bool lastWasBlank = false;
  while (pos < line.size() && line[pos] != '=') {
    std::size_t len = CharLength(line, pos);
    name.append(line, pos, len);
    lastWasBlank = len == 1 && line[pos] == ' ';
    pos += len;
  }
  if (lastWasBlank) name.pop_back();
  return name;
}

// The topic of an entry ends at a blank or ">" (the window), but contexts may
// hold blanks ("=Starting and Quitting_Eudora"): a whole text that names a
// topic of the project wins.
ByteString EntryTopic(const ConversionJob& job, const ByteString& rest) {
  const ByteString whole = Trimmed(rest.substr(0, rest.find('>')));
  if (whole.find(' ') != ByteString::npos && job.Topics.Find(ResolveAlias(job, whole))) return whole;
  return rest.substr(0, rest.find_first_of(" >"));
}

void AddEntry(ConversionJob& job, ContentsBuilder& out, const ByteString& line) {
  std::size_t pos = 0;
  out.NestTo(ReadLevel(line, pos));
  out.Add("<LI> <OBJECT type=\"text/sitemap\">", 0);
  ByteString name = ReadName(line, pos);
  if (!name.empty()) {
    out.Add("<param name=\"Name\" value=\"" + name + "\">", 1);
    if (pos < line.size() && line[pos] == '=') ++pos;
    TopicLink link = ResolveTopic(job, EntryTopic(job, line.substr(pos)));
    RemoveFirst(job.PopupPages, link.Page);
    if (!link.Page.empty()) out.Add("<param name=\"Local\" value=\"" + link.LocalHref() + "\">", 1);
    if (!link.Chm.empty()) {
      if (ByteString problem = OtherHelpProblem(link); !problem.empty()) {
        job.Warn(ContentsFilePath(job), "the entry " + name + " " + problem + " (" + link.LocalHref() + ")");
      }
    } else if (!link.Page.empty() && !link.Indexed && !FileExists(job.OutputFolder + "html\\" + link.Page)) {
      job.Warn(ContentsFilePath(job), "the entry " + name + " names no topic of the project (page " + link.Page + ")");
    }
  }
  out.Add("</OBJECT>", 1);
}

}  // namespace

// WinHelp finds the contents beside the help file, which HLP= may name
// differently from the project.
ByteString ContentsFilePath(const ConversionJob& job) {
  if (!job.ContentsFile.empty()) return ProjectFilePath(job, job.ContentsFile);
  const ByteString besideProject = ChangeFileExt(job.ProjectPath, ".cnt");
  const ByteString besideHelp = job.ProjectFolder + ChangeFileExt(job.HelpFileName, ".cnt");
  return FileExists(besideProject) || !FileExists(besideHelp) ? besideProject : besideHelp;
}

void ConvertContents(ConversionJob& job) {
  ByteString input = ContentsFilePath(job);
  if (!FileExists(input)) return;
  StringList lines;
  lines.LoadFromFile(input);
  ConvertContentsLines(job, lines);
}

void ConvertContentsLines(ConversionJob& job, const StringList& lines) {
  job.ReportStatus(kStatusContents);
  ContentsBuilder out;
  for (const ByteString& raw : lines) {
    if (raw.empty() || raw[0] == ':' || raw[0] == ';' || Trimmed(raw).empty()) continue;
    job.HasContents = true;
    // Read in the project's code page: in cp1251 or cp1252 text, bytes that
    // would lead a Shift-JIS pair must not swallow the "=".
    AddEntry(job, out, ShiftJisFromCodePage(raw, job.CodePage, Unrepresentable::CharacterReference));
  }
  if (job.HasContents) {
    out.Finish().SaveToFile(job.OutputFolder + ProjectBaseName(job) + ".hhc", job.OutputFolder);
  }
}

}  // namespace quorvex
