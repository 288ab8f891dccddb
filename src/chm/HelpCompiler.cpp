#include "chm/HelpCompiler.h"

#include <map>
#include <set>

#include "base/Encoding.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "chm/ChmContainer.h"
#include "chm/ChmNames.h"
#include "chm/ChmSystemFiles.h"
#include "chm/HelpProjectFile.h"
#include "chm/PageReferences.h"

namespace quorvex {
namespace {

struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const { return ChmNameLess(a, b); }
};

bool HasExtension(std::string_view path, std::initializer_list<std::string_view> extensions) {
  std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return false;
  for (std::string_view extension : extensions) {
    if (SameText(path.substr(dot), extension)) return true;
  }
  return false;
}

bool IsPage(std::string_view path) { return HasExtension(path, {".htm", ".html"}); }

// The files that go into the compiled help, each once (names compared as
// the compiled help compares them), in the order they were found.
class FileCollector {
 public:
  FileCollector(const ByteString& folder, ChmReporter& reporter) : folder_(folder), reporter_(reporter) {}

  /// Adds the file at `path` (relative, "/" separated) if it exists; false if not.
  bool Add(const ByteString& path) {
    std::string name = ChmName(path);
    if (names_.count(name)) return true;
    if (name.size() > kMaxChmNameLength) {
      throw Exception("the name is too long for a compiled help (" + DecimalText(static_cast<long long>(name.size())) +
                      " bytes, at most " + DecimalText(kMaxChmNameLength) + "): " + path);
    }
    ByteString engine = EnginePathOf(path);
    if (!IsInsideFolder(folder_, engine) || !FileExists(engine)) return false;
    names_.insert(name);
    paths_.push_back(path);
    files_.push_back({name, ReadFile(engine)});
    return true;
  }

  /// Adds what the pages, style sheets, contents and index files refer to,
  /// also from the files found that way.
  void AddReferenced() {
    for (std::size_t i = 0; i < paths_.size(); ++i) {
      if (!HasExtension(paths_[i], {".htm", ".html", ".hhc", ".hhk", ".css"})) continue;
      const ByteString from = paths_[i];
      const std::string data = files_[i].data;
      for (const ByteString& reference : PageReferences(data)) {
        std::optional<ByteString> path = ResolveReference(FolderOf(from), reference);
        if (path && !Add(*path) && missing_.insert(ChmName(*path)).second) {
          reporter_.Warn(from, "refers to " + *path + ", which is not in the project's folder; left out");
        }
      }
    }
  }

  bool Has(const ByteString& path) const { return names_.count(ChmName(path)) > 0; }
  const std::vector<ByteString>& Paths() const { return paths_; }
  std::vector<ChmFile>& Files() { return files_; }

  /// The name inside the compiled help: UTF-8, from the top.
  static std::string ChmName(const ByteString& path) { return "/" + Cp932ToUtf8Replacing(path); }

  ByteString EnginePathOf(const ByteString& path) const {
    ByteString engine = folder_;
    for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
      engine.append(path.substr(i, CharLength(path, i)));
      if (path[i] == '/') engine.back() = '\\';
    }
    return engine;
  }

 private:
  ByteString folder_;
  ChmReporter& reporter_;
  std::set<std::string, NameLess> names_, missing_;
  std::vector<ByteString> paths_;
  std::vector<ChmFile> files_;
};

// A project path as written ("html\a.html", "./b.htm") from the top.
std::optional<ByteString> ProjectPath(const ByteString& written) { return ResolveReference("", written); }

void ReadIncludes(const ByteString& folder, const ByteString& projectName, HelpProjectFile& project,
                  ChmReporter& reporter) {
  for (const ByteString& include : project.includes) {
    std::optional<ByteString> path = ProjectPath(include);
    ByteString engine = path ? folder + *path : ByteString();
    for (char& c : engine) c = c == '/' ? '\\' : c;
    if (!path || !IsInsideFolder(folder, engine) || !FileExists(engine)) {
      reporter.Warn(projectName, "the map include file " + include + " is not in the project's folder; its ids are left out");
      continue;
    }
    ReadContextInclude(ReadFile(engine), project);
  }
}

void WarnUnwritten(const HelpProjectFile& project, const ByteString& projectName, ChmReporter& reporter) {
  if (project.fullTextSearch) {
    reporter.Warn(projectName, "Full-text search=Yes: the full-text search index is not written yet; "
                               "the compiled help has no search");
  }
  if (project.binaryIndex) {
    reporter.Warn(projectName, "Binary Index=Yes: no binary index is written; the index file goes in as it is");
  }
  if (project.binaryToc) {
    reporter.Warn(projectName, "Binary TOC=Yes: no binary contents are written; the contents file goes in as it is");
  }
}

// The files a project names outside [FILES] that a viewer opens.
std::vector<ByteString> NamedPages(const HelpProjectFile& project) {
  std::vector<ByteString> named = {project.defaultTopic};
  for (const HhpWindow& window : project.windows) {
    for (std::size_t field : {1, 2, 3, 4}) {
      if (field < window.fields.size()) named.push_back(window.fields[field]);
    }
  }
  for (const HhpAlias& alias : project.aliases) named.push_back(alias.target);
  return named;
}

// Context ids with their pages: each [MAP] id whose alias names a page of
// the compiled help.
std::vector<ChmContextId> ContextIds(const HelpProjectFile& project, const FileCollector& files,
                                     const ByteString& projectName, ChmReporter& reporter) {
  std::map<ByteString, ByteString> targets;
  for (const HhpAlias& alias : project.aliases) targets.emplace(LowerCase(alias.name), alias.target);
  std::vector<ChmContextId> ids;
  for (const HhpContextId& context : project.contextIds) {
    auto alias = targets.find(LowerCase(context.name));
    if (alias == targets.end()) {
      reporter.Warn(projectName, "[MAP] " + context.name + " has no [ALIAS] line; left out");
      continue;
    }
    std::optional<ByteString> page = ProjectPath(alias->second);
    if (!page || !files.Has(*page)) {
      reporter.Warn(projectName, "[ALIAS] " + context.name + "=" + alias->second + " names no page of the help; left out");
      continue;
    }
    std::size_t hash = alias->second.find('#');
    ids.push_back({context.id, *page + (hash == ByteString::npos ? ByteString() : alias->second.substr(hash))});
  }
  return ids;
}

std::vector<ChmTopic> Topics(const FileCollector& files, std::vector<ChmFile>& data, const ByteString& contentsFile) {
  std::set<std::string, NameLess> inContents;
  for (std::size_t i = 0; i < files.Paths().size(); ++i) {
    if (!contentsFile.empty() && FileCollector::ChmName(files.Paths()[i]) == FileCollector::ChmName(contentsFile)) {
      for (const ByteString& reference : PageReferences(data[i].data)) {
        if (std::optional<ByteString> path = ResolveReference("", reference)) inContents.insert(FileCollector::ChmName(*path));
      }
    }
  }
  std::vector<ChmTopic> topics;
  for (std::size_t i = 0; i < files.Paths().size(); ++i) {
    const ByteString& path = files.Paths()[i];
    if (!IsPage(path)) continue;
    topics.push_back({path, PageTitle(data[i].data), inContents.count(FileCollector::ChmName(path)) > 0});
  }
  return topics;
}

}  // namespace

ByteString CompileHelpProject(const ByteString& folder, const ByteString& projectName, const ByteString& compiler,
                              ChmReporter& reporter) {
  reporter.Status(projectName);
  HelpProjectFile project = ReadHelpProjectFile(ReadFile(folder + projectName));
  for (const ByteString& problem : project.problems) reporter.Warn(projectName, problem);
  ReadIncludes(folder, projectName, project, reporter);
  WarnUnwritten(project, projectName, reporter);
  if (project.compiledFile.empty()) project.compiledFile = ChangeFileExt(projectName, ".chm");

  FileCollector files(folder, reporter);
  std::optional<ByteString> compiledPath = ProjectPath(project.compiledFile);
  if (!compiledPath) throw Exception("the compiled file must lie in the project's folder: " + project.compiledFile);
  ByteString chmPath = files.EnginePathOf(*compiledPath);
  // A failed compile leaves no compiled file, not even an old one.
  DeleteFileInside(folder, chmPath);

  // Listed files must be there; the contents and index files too.
  std::vector<ByteString> listed = project.files;
  for (const ByteString& named : {project.contentsFile, project.indexFile}) {
    if (!named.empty()) listed.push_back(named);
  }
  ByteString missing;
  for (const ByteString& name : listed) {
    std::optional<ByteString> path = ProjectPath(name);
    if (!path || !files.Add(*path)) missing += "\n  " + name;
  }
  if (!missing.empty()) throw Exception("the project lists files that are not in its folder:" + missing);
  for (const ByteString& name : NamedPages(project)) {
    std::optional<ByteString> path = name.empty() ? std::nullopt : ProjectPath(name);
    if (path && !files.Add(*path)) reporter.Warn(projectName, "names " + name + ", which is not in its folder");
  }
  files.AddReferenced();

  ChmStringTable strings;
  std::vector<ChmFile> system;
  system.push_back({"/#SYSTEM", SystemFile(project, compiler)});
  if (!project.windows.empty()) system.push_back({"/#WINDOWS", WindowsFile(project.windows, strings)});
  std::vector<ChmContextId> ids = ContextIds(project, files, projectName, reporter);
  if (!ids.empty()) system.push_back({"/#IVB", ContextIdFile(ids, strings)});
  ChmTopicTables tables = TopicTables(Topics(files, files.Files(), project.contentsFile), strings);
  system.push_back({"/#TOPICS", tables.topics});
  system.push_back({"/#URLTBL", tables.urlTable});
  system.push_back({"/#URLSTR", tables.urlStrings});
  system.push_back({"/#STRINGS", strings.Bytes()});
  system.push_back({"/#ITBITS", ""});

  // Project files cannot take a system file's name: "#" ends a path.
  std::vector<ChmFile> all = std::move(files.Files());
  all.insert(all.end(), system.begin(), system.end());
  reporter.Status("compressing " + DecimalText(static_cast<long long>(all.size())) + " files");
  ChmContainerSettings settings;
  settings.lcid = project.language;
  WriteFileInside(folder, chmPath, BuildChmContainer(std::move(all), settings));
  return chmPath;
}

}  // namespace quorvex
