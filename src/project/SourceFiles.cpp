#include "project/SourceFiles.h"

#include "base/Files.h"

namespace quorvex {
namespace {

ByteString FindRelative(const ConversionJob& job, const std::vector<ByteString>& folders, const ByteString& name) {
  ByteString first;
  for (const ByteString& folder : folders) {
    ByteString path = ProjectFolderPath(job, folder) + name;
    if (FileExists(path)) return path;
    if (first.empty()) first = path;
  }
  ByteString inProject = job.ProjectFolder + name;
  if (first.empty() || FileExists(inProject)) return inProject;
  return first;
}

// The tails of a path, longest first: "a\b\c.rtf" gives "b\c.rtf" and "c.rtf".
std::vector<ByteString> PathTails(const ByteString& path) {
  std::vector<ByteString> tails;
  for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
    if (path[i] == '\\' || path[i] == '/' || path[i] == ':') {
      if (i + 1 < path.size() && path[i + 1] != '\\' && path[i + 1] != '/') tails.push_back(path.substr(i + 1));
    }
  }
  return tails;
}

// Projects name files by paths of the machine they were written on
// ("C:\HELP\MAIN.RTF", "\work\art\a.bmp") or by a folder layout that
// was not shipped along; such a file usually lies in or below the project, so
// a name with folders that finds nothing is looked up by the tails of its
// path, down to its bare file name.
ByteString FindIn(const ConversionJob& job, const std::vector<ByteString>& folders, const ByteString& name) {
  const ByteString path = IsAbsoluteProjectPath(name) ? name : FindRelative(job, folders, name);
  if (FileExists(path)) return path;
  for (const ByteString& tail : PathTails(name)) {
    if (tail.find("..") != ByteString::npos) continue;
    const ByteString found = FindRelative(job, folders, tail);
    if (!FileExists(found)) continue;
    job.WarnOnce(found, "named " + name + ", which is not there; read from this file");
    return found;
  }
  return path;
}

}  // namespace

ByteString LocalFolder(const ConversionJob& job, const ByteString& folder) {
  if (!IsAbsoluteProjectPath(folder) || DirectoryExists(folder)) return folder;
  for (const ByteString& tail : PathTails(folder)) {
    if (tail.find("..") == ByteString::npos && DirectoryExists(job.ProjectFolder + tail)) return tail;
  }
  return ByteString();
}

ByteString BareFileName(const ByteString& name) {
  ByteString bare = ExtractFileName(name);
  bare.erase(0, bare.rfind('/') + 1);
  return bare;
}

bool IsAbsoluteProjectPath(const ByteString& path) {
  return (!path.empty() && (path[0] == '\\' || path[0] == '/')) || (path.size() >= 2 && path[1] == ':');
}

ByteString ProjectFolderPath(const ConversionJob& job, const ByteString& folder) {
  return IsAbsoluteProjectPath(folder) ? folder : job.ProjectFolder + folder;
}

ByteString ProjectFilePath(const ConversionJob& job, const ByteString& name) { return FindIn(job, {}, name); }

ByteString TopicFilePath(const ConversionJob& job, const ByteString& name) {
  return FindIn(job, job.TopicFolders, name);
}

// A reference that names a picture the folders do not hold may name a file
// the project lists under [BITMAPS] by its path, as help compilers find it.
ByteString PictureFilePath(const ConversionJob& job, const ByteString& name) {
  ByteString path = FindIn(job, job.BitmapFolders, name);
  if (FileExists(path)) return path;
  const ByteString bare = BareFileName(name);
  for (const ByteString& listed : job.BitmapFiles) {
    if (!SameText(BareFileName(listed), bare)) continue;
    ByteString found = FindIn(job, {}, listed);
    if (FileExists(found)) return found;
  }
  return path;
}

}  // namespace quorvex
