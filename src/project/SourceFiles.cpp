#include "project/SourceFiles.h"

#include "base/Files.h"

namespace quorvex {
namespace {

ByteString FindIn(const ConversionJob& job, const std::vector<ByteString>& folders, const ByteString& name) {
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

}  // namespace

bool IsAbsoluteProjectPath(const ByteString& path) {
  return (!path.empty() && (path[0] == '\\' || path[0] == '/')) || (path.size() >= 2 && path[1] == ':');
}

ByteString ProjectFolderPath(const ConversionJob& job, const ByteString& folder) {
  return IsAbsoluteProjectPath(folder) ? folder : job.ProjectFolder + folder;
}

ByteString TopicFilePath(const ConversionJob& job, const ByteString& name) {
  return FindIn(job, job.TopicFolders, name);
}

ByteString PictureFilePath(const ConversionJob& job, const ByteString& name) {
  return FindIn(job, job.BitmapFolders, name);
}

}  // namespace quorvex
