#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/Encoding.h"
#include "base/Files.h"

namespace quorvex::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "quorvex-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot create a temporary folder";
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

ByteString TempDir::Engine() const { return EnginePath(path_) + "\\"; }

void TempDir::Write(const std::string& relative, const std::string& bytes) const {
  fs::path file = fs::path(path_) / relative;
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

std::string TempDir::Read(const std::string& relative) const {
  std::ifstream in(fs::path(path_) / relative, std::ios::binary);
  EXPECT_TRUE(in.good()) << "missing file " << relative;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool TempDir::Exists(const std::string& relative) const { return fs::exists(fs::path(path_) / relative); }

std::string CrLf(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string Sjis(const std::string& utf8) {
  std::optional<std::string> bytes = Utf8ToCp932(utf8);
  EXPECT_TRUE(bytes.has_value()) << utf8;
  return bytes.value_or("");
}

}  // namespace quorvex::test
