#include "cli/ChmCompiler.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <unordered_set>
#include <vector>

#include "base/Encoding.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "base/StringList.h"
#include "cli/Process.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

// chmcmd takes file names from the project as bytes, so the pages must exist
// under their Shift-JIS names; ours are UTF-8 on disk. We therefore compile
// from a staging copy whose names are the project's own bytes. It lives
// inside the output folder so that nothing is written anywhere else.
constexpr char kStagingFolder[] = ".quorvex-chm";

struct ProjectFiles {
  ByteString compiledFile;
  std::vector<ByteString> listed;  // [FILES] entries plus the contents and index files
};

ProjectFiles ReadProjectFile(const StringList& lines) {
  ProjectFiles project;
  bool inFiles = false;
  for (const ByteString& line : lines) {
    if (!line.empty() && line[0] == '[') {
      inFiles = SameText(line, "[FILES]");
    } else if (inFiles) {
      if (!line.empty()) project.listed.push_back(line);
    } else if (StartsWith(line, "Compiled file=")) {
      project.compiledFile = line.substr(14);
    } else if (StartsWith(line, "Contents file=") || StartsWith(line, "Index file=")) {
      project.listed.push_back(line.substr(line.find('=') + 1));
    }
  }
  return project;
}

// An engine path inside the output folder for a name written with "/".
ByteString InOutput(const ByteString& outputFolder, ByteString name) {
  for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    if (name[i] == '/') name[i] = '\\';
  }
  return outputFolder + name;
}

// The project's byte name as a path in the staging folder.
fs::path StagedPath(const fs::path& staging, const ByteString& name) {
  ByteString native = name;
  for (std::size_t i = 0; i < native.size(); i += CharLength(native, i)) {
    if (native[i] == '\\') native[i] = '/';
  }
  return staging / native;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  if (!out) throw fs::filesystem_error("cannot write", path, std::make_error_code(std::errc::io_error));
}

// Copies the listed files and everything in html\ and img\ (the style
// sheet and the pictures that the pages use) under their own byte names.
// Returns the names that the project did not list.
std::vector<ByteString> Stage(const ByteString& outputFolder, const ProjectFiles& project, const fs::path& staging) {
  std::vector<ByteString> unlisted;
  for (const char* folder : {"html", "img"}) {
    for (const ByteString& name : ListFiles(outputFolder + folder + "\\", "*", HiddenFiles::Listed)) {
      ByteString listedName = ByteString(folder) + "/" + name;
      bool listed = false;
      for (const ByteString& entry : project.listed) listed = listed || SameText(entry, listedName);
      if (!listed) unlisted.push_back(listedName);
    }
  }
  std::vector<ByteString> staged = project.listed;
  staged.insert(staged.end(), unlisted.begin(), unlisted.end());
  for (const ByteString& name : staged) {
    WriteBytes(StagedPath(staging, name), ReadFile(InOutput(outputFolder, name)));
  }
  return unlisted;
}

// chmcmd takes a context-sensitive alias only to a plain file, and only one
// alias per file (a second one makes it lose the first and stop). Its copy of
// [ALIAS] therefore keeps the first alias of each page, without anchors, and
// [MAP] the numbers of the aliases kept; the .hhp keeps them all for hhc.exe.
StringList ContextSectionsForChmcmd(const StringList& hhp) {
  StringList out;
  std::unordered_set<ByteString> pages, kept;
  ByteString section;
  for (const ByteString& line : hhp) {
    if (!line.empty() && line[0] == '[') section = LowerCase(line);
    std::size_t equals = line.find('=');
    if (section == "[alias]" && line[0] != '[' && equals != ByteString::npos) {
      ByteString target = line.substr(equals + 1);
      target = target.substr(0, target.find('#'));
      if (!pages.insert(LowerCase(target)).second) continue;
      kept.insert(LowerCase(line.substr(0, equals)));
      out.Add(line.substr(0, equals + 1) + target);
      continue;
    }
    if (section == "[map]" && StartsWith(line, "#define ")) {
      ByteString rest = line.substr(8);
      if (!kept.count(LowerCase(rest.substr(0, rest.find(' '))))) continue;
    }
    out.Add(line);
  }
  return out;
}

// The project file chmcmd compiles: a text index, because its binary index
// turns Japanese keywords into "?", and every staged file listed, because its
// scan of the pages takes popup links ("JavaScript:...") for missing files and
// is therefore turned off. The project file itself stays as written.
StringList CompilerProject(StringList hhp, const std::vector<ByteString>& unlisted) {
  hhp = ContextSectionsForChmcmd(hhp);
  for (int i = 0; i < hhp.Count(); ++i) {
    if (SameText(hhp[i], "[OPTIONS]")) {
      hhp.Insert(i + 1, "Binary Index=No");
      break;
    }
  }
  int files = hhp.IndexOf("[FILES]");
  if (files < 0) {
    hhp.Add("[FILES]");
    files = hhp.Count() - 1;
  }
  for (const ByteString& name : unlisted) hhp.Insert(++files, name);
  return hhp;
}

// chmcmd reads every 0x5C byte of a name as a folder separator, also the
// second byte of characters such as "表" or "ソ", and then cannot find the file.
bool HasBackslashTrailByte(const ByteString& name) {
  for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    if (CharLength(name, i) == 2 && name[i + 1] == '\\') return true;
  }
  return false;
}

bool HasWarning(const std::string& output) {
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("Warning:", 0) == 0) return true;
  }
  return false;
}

ChmOutcome Failure(std::string report) { return ChmOutcome{false, "", std::move(report)}; }

}  // namespace

ChmOutcome CompileChm(const ByteString& outputFolder, const ByteString& base) {
  const char* override = std::getenv("QUORVEX_CHMCMD");
  std::string compiler = override && *override ? override : "chmcmd";
  if (!FindProgram(compiler)) {
    return Failure(compiler + " is not installed; it comes with the Debian package fp-utils (apt-get install fp-utils)");
  }

  StringList hhp;
  hhp.LoadFromFile(outputFolder + base + ".hhp");
  ProjectFiles project = ReadProjectFile(hhp);
  std::string missing;
  for (const ByteString& name : project.listed) {
    if (!IsInsideFolder(outputFolder, InOutput(outputFolder, name))) {
      return Failure("the project names a file outside its folder: " + DisplayText(name));
    }
    if (!FileExists(InOutput(outputFolder, name))) missing += "  " + DisplayText(name) + "\n";
  }
  if (!missing.empty()) return Failure("the project lists files that do not exist:\n" + missing);
  for (const ByteString& name : project.listed) {
    if (HasBackslashTrailByte(name)) {
      return Failure("chmcmd cannot compile a file name with a character whose second byte is a backslash "
                     "(such as \xE8\xA1\xA8 or \xE3\x82\xBD): " + DisplayText(name));
    }
  }
  if (!IsInsideFolder(outputFolder, InOutput(outputFolder, project.compiledFile))) {
    return Failure("the project's compiled file must lie in its folder: " + DisplayText(project.compiledFile));
  }

  fs::path staging = fs::path(NativePath(outputFolder)) / kStagingFolder;
  fs::path chm = NativePath(InOutput(outputFolder, project.compiledFile));
  std::error_code ignored;
  fs::remove_all(staging, ignored);
  fs::remove(chm, ignored);
  std::optional<ProcessResult> run;
  try {
    std::vector<ByteString> unlisted = Stage(outputFolder, project, staging);
    const ByteString hhpName = base + ".hhp";
    WriteBytes(StagedPath(staging, hhpName), CompilerProject(hhp, unlisted).Text());
    run = RunProcess({compiler, "--no-html-scan", hhpName}, staging.string());
    if (run) fs::rename(StagedPath(staging, project.compiledFile), chm, ignored);
  } catch (const Exception& error) {
    fs::remove_all(staging, ignored);
    return Failure("cannot prepare the compile: " + error.DisplayMessage());
  } catch (const std::exception& error) {
    fs::remove_all(staging, ignored);
    return Failure(std::string("cannot prepare the compile: ") + error.what());
  }
  fs::remove_all(staging, ignored);

  if (!run) return Failure("cannot start " + compiler);
  bool written = fs::exists(chm, ignored) && fs::file_size(chm, ignored) > 0;
  if (run->exitCode != 0 || HasWarning(run->output) || !written) {
    fs::remove(chm, ignored);  // a failed compile leaves no .chm, empty or not
    return Failure(compiler + " failed (exit status " + std::to_string(run->exitCode) + "):\n" + run->output);
  }
  return ChmOutcome{true, chm.string(), ""};
}

}  // namespace quorvex
