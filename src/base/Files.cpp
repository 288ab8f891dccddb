#include "base/Files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <unordered_map>

#include "base/CodePageText.h"
#include "base/Encoding.h"
#include "base/Errors.h"

namespace quorvex {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Components of an engine path. Separators inside double-byte characters are
// not separators: 0x5C is a common trail byte in Shift-JIS.
std::vector<std::string> SplitComponents(const ByteString& path) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < path.size();) {
    std::size_t len = CharLength(path, i);
    if (len == 1 && IsSeparator(path[i])) {
      parts.emplace_back();
    } else {
      parts.back().append(path, i, len);
    }
    i += len;
  }
  return parts;
}

bool Exists(const std::string& native) {
  struct stat st;
  return lstat(native.c_str(), &st) == 0;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::vector<std::string> DirectoryEntries(const std::string& nativeFolder) {
  std::vector<std::string> names;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(nativeFolder.empty() ? "." : nativeFolder.c_str()), closedir);
  if (!dir) return names;
  while (dirent* entry = readdir(dir.get())) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

ByteString AsciiLower(std::string_view name) {
  ByteString lower(name);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// The entries of the folders looked into, by their names with letter case
// ignored, so that a folder of thousands of pages is not listed again for
// every page written into it. A folder whose modification time changed is
// listed anew; the files we write ourselves are added as we write them.
class FolderNames {
 public:
  // The entry whose name equals `name` with letter case ignored, if any.
  std::optional<std::string> Find(const std::string& nativeFolder, const std::string& name) {
    Listing* listing = Current(nativeFolder);
    if (!listing) return std::nullopt;
    auto found = listing->byLowerName.find(AsciiLower(name));
    if (found == listing->byLowerName.end()) return std::nullopt;
    return found->second;
  }

  // A file we just created in the folder.
  void Created(const std::string& nativePath) {
    std::size_t slash = nativePath.rfind('/');
    std::string folder = slash == std::string::npos ? "" : nativePath.substr(0, slash + 1);
    auto found = listings_.find(folder);
    if (found == listings_.end()) return;
    struct stat st;
    if (stat(folder.empty() ? "." : folder.c_str(), &st) != 0) return;
    std::string name = nativePath.substr(slash == std::string::npos ? 0 : slash + 1);
    found->second.byLowerName.emplace(AsciiLower(name), name);
    found->second.modified = st.st_mtim;
  }

 private:
  struct Listing {
    timespec modified{};
    std::unordered_map<std::string, std::string> byLowerName;  // the first entry in name order wins
  };

  Listing* Current(const std::string& nativeFolder) {
    struct stat st;
    if (stat(nativeFolder.empty() ? "." : nativeFolder.c_str(), &st) != 0) return nullptr;
    Listing& listing = listings_[nativeFolder];
    if (listing.modified.tv_sec != st.st_mtim.tv_sec || listing.modified.tv_nsec != st.st_mtim.tv_nsec ||
        listing.byLowerName.empty()) {
      listing.byLowerName.clear();
      for (const std::string& entry : DirectoryEntries(nativeFolder)) listing.byLowerName.emplace(AsciiLower(entry), entry);
      listing.modified = st.st_mtim;
    }
    return &listing;
  }

  std::unordered_map<std::string, Listing> listings_;
};

FolderNames& Folders() {
  static FolderNames folders;
  return folders;
}

int& NameCodePage() {
  static int codePage = 0;
  return codePage;
}

// The native name of one component inside `nativeFolder` (which is empty or ends in "/").
std::string ResolveComponent(const std::string& nativeFolder, const std::string& component) {
  if (component == "." || component == "..") return component;
  if (Exists(nativeFolder + component)) return component;
  std::optional<std::string> utf8 = Cp932ToUtf8(component);
  const bool sameInUtf8 = utf8 && *utf8 == component;  // ASCII names
  if (utf8 && !sameInUtf8 && Exists(nativeFolder + *utf8)) return *utf8;
  const std::string& wanted = utf8 ? *utf8 : component;
  if (std::optional<std::string> entry = Folders().Find(nativeFolder, wanted)) return *entry;
  if (!sameInUtf8 && utf8) {
    if (std::optional<std::string> entry = Folders().Find(nativeFolder, component)) return *entry;
  }
  // Names written in the project's own code page (cp1251, cp1252, ...).
  if (!sameInUtf8 && NameCodePage() != 0) {
    const std::string inCodePage = Utf8FromCodePage(component, NameCodePage());
    if (Exists(nativeFolder + inCodePage)) return inCodePage;
    if (std::optional<std::string> entry = Folders().Find(nativeFolder, inCodePage)) return *entry;
  }
  return wanted;
}

// Folders already found during this conversion: engine prefix (ending in a
// separator) -> native prefix, so that every file of a folder of thousands
// does not look up the folders above it again.
std::unordered_map<ByteString, std::string>& FoundFolders() {
  static std::unordered_map<ByteString, std::string> folders;
  return folders;
}

std::optional<ByteString> ReadWhole(const std::string& native) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(native.c_str(), "rb"), std::fclose);
  if (!file) return std::nullopt;
  struct stat st;
  if (fstat(fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  if (static_cast<std::uint64_t>(st.st_size) > kMaxInputFileSize) return std::nullopt;
  ByteString data;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    data.append(buffer, n);
    if (data.size() > kMaxInputFileSize) return std::nullopt;
  }
  if (std::ferror(file.get())) return std::nullopt;
  return data;
}

}  // namespace

std::string NativePath(const ByteString& enginePath) {
  // The longest folder of the path found before.
  std::size_t known = 0;
  std::string native;
  for (std::size_t i = 0; i < enginePath.size(); i += CharLength(enginePath, i)) {
    if (CharLength(enginePath, i) == 1 && IsSeparator(enginePath[i])) {
      auto found = FoundFolders().find(enginePath.substr(0, i + 1));
      if (found != FoundFolders().end()) {
        known = i + 1;
        native = found->second;
      }
    }
  }
  std::vector<std::string> parts = SplitComponents(enginePath.substr(known));
  if (known == 0 && parts.size() > 1 && parts[0].empty()) native.push_back('/');  // an absolute path
  std::size_t consumed = known;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    consumed += parts[i].size() + 1;
    if (parts[i].empty()) continue;
    native += ResolveComponent(native, parts[i]);
    if (i + 1 < parts.size()) {
      native += '/';
      struct stat st;
      if (stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) FoundFolders()[enginePath.substr(0, consumed)] = native;
    }
  }
  return native;
}

void ForgetFoundFolders() { FoundFolders().clear(); }

void SetNameCodePage(int codePage) {
  if (codePage == 932) codePage = 0;
  if (codePage != NameCodePage()) FoundFolders().clear();
  NameCodePage() = codePage;
}

ByteString EnginePath(const std::string& nativePath) {
  std::optional<ByteString> cp932 = Utf8ToCp932(nativePath);
  ByteString path = cp932 ? *cp932 : nativePath;
  for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
    if (path[i] == '/') path[i] = '\\';
  }
  return path;
}

bool FileExists(const ByteString& path) {
  struct stat st;
  return stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const ByteString& path) {
  struct stat st;
  return stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

ByteString ReadFile(const ByteString& path) {
  std::optional<ByteString> data = ReadWhole(NativePath(path));
  if (!data) throw EFOpenError(path);
  return *data;
}

bool IsInsideFolder(const ByteString& folder, const ByteString& path) {
  if (folder.empty() || !StartsWith(path, folder) || path.size() == folder.size()) return false;
  ByteString rest = path.substr(folder.size());
  for (const std::string& part : SplitComponents(rest)) {
    if (part.empty() || part == ".." || part.find(':') != std::string::npos) return false;
  }
  return true;
}

void WriteFileInside(const ByteString& outputFolder, const ByteString& path, std::string_view data) {
  if (!IsInsideFolder(outputFolder, path)) throw EFCreateError(path);
  std::string native = NativePath(path);
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(native.c_str(), "wb"), std::fclose);
  if (!file) throw EFCreateError(path);
  bool ok = std::fwrite(data.data(), 1, data.size(), file.get()) == data.size();
  ok = (std::fclose(file.release()) == 0) && ok;
  if (!ok) throw EFCreateError(path);
  Folders().Created(native);
}

bool DeleteFileInside(const ByteString& outputFolder, const ByteString& path) {
  if (!IsInsideFolder(outputFolder, path)) return false;
  return unlink(NativePath(path).c_str()) == 0;
}

void ForceDirectories(const ByteString& path) {
  std::string native = NativePath(path);
  for (std::size_t i = 1; i <= native.size(); ++i) {
    if (i == native.size() || native[i] == '/') {
      mkdir(native.substr(0, i).c_str(), 0777);  // existing folders fail harmlessly
    }
  }
}

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
  // Iterative matching with one backtrack point for the last "*".
  std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || SameNameIgnoringCase(name.substr(n, 1), pattern.substr(p, 1)))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<ByteString> ListFiles(const ByteString& folder, const ByteString& pattern, HiddenFiles hidden) {
  std::string nativeFolder = NativePath(folder);
  if (!nativeFolder.empty() && nativeFolder.back() != '/') nativeFolder += '/';
  std::vector<ByteString> names;
  for (const std::string& entry : DirectoryEntries(nativeFolder)) {
    if (entry[0] == '.' && hidden == HiddenFiles::Skipped) continue;
    struct stat st;
    if (stat((nativeFolder + entry).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    std::optional<ByteString> name = Utf8ToCp932(entry);
    ByteString engineName = name ? *name : entry;
    if (MatchesWildcard(engineName, pattern)) names.push_back(std::move(engineName));
  }
  // Letter case ignored first, as a Windows folder lists its files.
  std::sort(names.begin(), names.end(), [](const ByteString& a, const ByteString& b) {
    ByteString lowerA = LowerCase(a), lowerB = LowerCase(b);
    return lowerA != lowerB ? lowerA < lowerB : a < b;
  });
  return names;
}

}  // namespace quorvex
