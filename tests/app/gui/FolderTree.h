#pragma once
// What a folder holds, to compare two conversions or a folder before and
// after one.

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace quorvex::test {

/// Every file and folder below `root`: relative path -> content ("/" for a
/// folder); `skip` (a relative path) and what lies below it are left out.
inline std::map<std::string, std::string> Tree(const std::string& root, const std::string& skip = "") {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> tree;
  if (!fs::exists(root)) return tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string relative = fs::relative(entry.path(), root).string();
    if (!skip.empty() && (relative == skip || relative.rfind(skip + "/", 0) == 0)) continue;
    if (entry.is_directory()) {
      tree[relative] = "/";
    } else {
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream content;
      content << in.rdbuf();
      std::string bytes = content.str();
      // A PNG records when it was written; two conversions may straddle a second.
      std::size_t time = bytes.find("tIME");
      if (time != std::string::npos && time + 4 + 7 + 4 <= bytes.size()) bytes.replace(time + 4, 11, 11, '\0');
      tree[relative] = bytes;
    }
  }
  return tree;
}

}  // namespace quorvex::test
