#include "hlp/HelpFileError.h"

namespace quorvex {
namespace {

// Internal files carry their names with the "|" WinHelp gives them; offsets
// are written in hexadecimal, as a byte dump shows them.
ByteString Describe(std::string_view internalFile, std::uint64_t offset, std::string_view what) {
  return ByteString(internalFile) + ", offset 0x" + HexText(offset) + ": " + ByteString(what);
}

}  // namespace

EHelpFileError::EHelpFileError(std::string_view internalFile, std::uint64_t offset, std::string_view what)
    : Exception(Describe(internalFile, offset, what)) {}

void ReadProblems::Report(const EHelpFileError& problem) {
  if (!keepGoing_) throw problem;
  warnings_.push_back(problem.Message());
}

void ReadProblems::ReportOnce(std::string_view key, const EHelpFileError& problem) {
  if (!keepGoing_) throw problem;
  if (noted_.insert(ByteString(key)).second) warnings_.push_back(problem.Message());
}

void ReadProblems::Note(std::string_view internalFile, std::uint64_t offset, std::string_view what) {
  warnings_.push_back(EHelpFileError(internalFile, offset, what).Message());
}

void ReadProblems::NoteOnce(std::string_view key, std::string_view internalFile, std::uint64_t offset,
                            std::string_view what) {
  if (noted_.insert(ByteString(key)).second) Note(internalFile, offset, what);
}

}  // namespace quorvex
