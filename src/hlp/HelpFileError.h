#pragma once
// Problems met while reading a compiled help file. Every one names the
// internal file and the offset inside it where the reading went wrong; with
// keep-going the reader collects them as warnings and goes on with what it
// can read, otherwise the first one ends the reading.

#include <cstdint>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "base/ByteString.h"
#include "base/Errors.h"

namespace quorvex {

/// A compiled help file that cannot be read: "<internal file>, offset <n>: <what>".
class EHelpFileError : public Exception {
 public:
  EHelpFileError(std::string_view internalFile, std::uint64_t offset, std::string_view what);
};

/// Where the problems of one reading go.
class ReadProblems {
 public:
  explicit ReadProblems(bool keepGoing) : keepGoing_(keepGoing) {}

  /// Records the problem as a warning when reading keeps going; throws it otherwise.
  void Report(const EHelpFileError& problem);
  /// Report, but a problem of the same `key` is recorded once only.
  void ReportOnce(std::string_view key, const EHelpFileError& problem);
  /// A problem that never ends the reading (something the reader skips as unknown).
  void Note(std::string_view internalFile, std::uint64_t offset, std::string_view what);
  /// Note, once for each `key`: a help may repeat the same thing many times.
  void NoteOnce(std::string_view key, std::string_view internalFile, std::uint64_t offset, std::string_view what);

  bool KeepGoing() const { return keepGoing_; }
  const std::vector<ByteString>& Warnings() const { return warnings_; }

 private:
  bool keepGoing_;
  std::vector<ByteString> warnings_;
  std::unordered_set<ByteString> noted_;
};

}  // namespace quorvex
