#include "document/CompiledHelpDocument.h"

#include "base/Files.h"
#include "document/TextOutput.h"
#include "hlp/CompiledHelpReader.h"
#include "hlp/HelpFileError.h"
#include "hlp/HelpFileSystem.h"
#include "hlp/SystemFile.h"
#include "project/ContentsConverter.h"
#include "project/ProjectReader.h"
#include "project/SourceFiles.h"

namespace quorvex {
namespace {

std::span<const std::uint8_t> BytesOf(std::string_view data) {
  return {reinterpret_cast<const std::uint8_t*>(data.data()), data.size()};
}

// The topics a contents file names ("level name=topic"), for the help's
// reader to match against its hashes; a missing file names none.
std::vector<ByteString> NamesInContents(const ConversionJob& job) {
  std::vector<ByteString> names;
  const ByteString path = ContentsFilePath(job);
  if (!FileExists(path)) return names;
  StringList lines;
  lines.LoadFromFile(path);
  for (const ByteString& line : lines) {
    const std::size_t equals = line.find('=');
    if (equals != ByteString::npos && !line.empty() && line[0] != ':' && line[0] != ';') {
      names.push_back(line.substr(equals + 1));
    }
  }
  return names;
}

ByteString HexNumber(std::uint32_t value) { return "0x" + LowerCase(HexText(value)); }

// WinHelp finds the contents file the help names, else the one named after the help.
void ChooseContentsFile(ConversionJob& job, const ByteString& named) {
  job.ContentsFile.clear();
  if (!named.empty() && FileExists(job.ProjectFolder + ExtractFileName(named))) job.ContentsFile = ExtractFileName(named);
}

// The contents file's name, found before the help is read: the names it holds help read the help.
ByteString ContentsFileNamed(std::string_view data) {
  try {
    ReadProblems quiet(true);
    HelpFileSystem files(BytesOf(data), quiet);
    if (std::optional<InternalFile> system = files.Find("|SYSTEM")) return ReadSystem(*system, quiet).ContentsFileName;
  } catch (const Exception&) {
    // the reading proper reports what is wrong
  }
  return ByteString();
}

}  // namespace

bool IsCompiledHelpData(std::string_view data) { return IsCompiledHelp(BytesOf(data)); }

std::vector<std::size_t> ReadCompiledHelpDocument(ConversionJob& job, std::string_view data, int codePage,
                                                  DocumentSet& set) {
  const ByteString fileName = ExtractFileName(job.ProjectPath);
  ChooseContentsFile(job, ContentsFileNamed(data));
  CompiledHelpOptions options;
  options.CodePage = codePage;
  options.KeepGoing = job.KeepGoing;
  options.FileName = fileName;
  options.KnownNames = NamesInContents(job);
  CompiledHelp help;
  try {
    help = ReadCompiledHelp(BytesOf(data), options);
  } catch (const EHelpFileError& problem) {
    throw Exception(fileName + ": " + problem.Message());
  }
  for (const ByteString& warning : help.Warnings) job.Warn(job.ProjectPath, warning);

  job.Title = PlainText(help.Title);
  job.ContentsTopic = help.ContentsTopic;
  job.CodePage = help.CodePage;
  if (help.Background) job.BodyColorAttr = BackgroundColorAttr(*help.Background);
  for (const HelpMapEntry& entry : help.Map) job.HelpContexts.Add(entry.Context, HexNumber(entry.Id));
  for (const auto& [hash, context] : help.HashedContexts) job.HashedContexts.emplace(hash, context);
  job.ProjectFiles.Add(fileName);

  DocumentFile file;
  file.Entry = fileName;
  file.Path = job.ProjectPath;
  file.Name = LowerCase(ChangeFileExt(fileName, ""));
  file.Document = std::move(help.Document);
  set.Add(std::move(file));
  return help.BrowseOrder;
}

void WriteTopicContents(ConversionJob& job, DocumentSet& set, const std::vector<std::size_t>& order) {
  if (set.Files.empty()) return;
  const DocumentFile& file = set.Files.front();
  StringList lines;
  for (std::size_t index : order) {
    if (index >= file.Topics.size()) continue;
    const TopicEntry& topic = file.Topics[index];
    if (topic.Title.empty() || topic.Contexts.empty()) continue;
    const bool popupOnly = job.PopupPages.IndexOf(topic.Page) >= 0 && job.JumpPages.IndexOf(topic.Page) < 0 &&
                           job.IndexPages.IndexOf(topic.Page) < 0;
    if (popupOnly) continue;
    ByteString title;
    for (char c : topic.Title) title += c == '=' ? ByteString("&#61;") : ByteString(1, c);
    lines.Add("1 " + title + "=" + topic.Contexts.front());
  }
  if (!lines.Empty()) ConvertContentsLines(job, lines);
}

}  // namespace quorvex
