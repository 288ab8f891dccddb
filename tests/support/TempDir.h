#pragma once
// A fresh folder per test, removed afterwards, with helpers to lay out a
// help project in it and read back what a conversion wrote.

#include <string>

#include "base/ByteString.h"

namespace quorvex::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  /// Native path of the folder, without a trailing slash.
  const std::string& Native() const { return path_; }
  /// Engine path of the folder, ending in "\".
  ByteString Engine() const;

  /// Writes a file; `relative` is native (UTF-8, "/" separated). Folders are created.
  void Write(const std::string& relative, const std::string& bytes) const;
  /// Reads a file back; fails the test when it is missing.
  std::string Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

 private:
  std::string path_;
};

/// Joins lines with CR LF after each, as every output text file is written.
std::string CrLf(std::initializer_list<std::string> lines);

/// UTF-8 text to Shift-JIS bytes (the test fails when it does not convert).
std::string Sjis(const std::string& utf8);

}  // namespace quorvex::test
