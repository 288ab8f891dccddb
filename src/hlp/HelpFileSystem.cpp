#include "hlp/HelpFileSystem.h"

#include "base/ByteReader.h"
#include "hlp/BTree.h"

namespace quorvex {
namespace {

constexpr std::uint32_t kMagic = 0x00035F3F;
constexpr std::size_t kFileHeaderSize = 9;  // reserved space, used space, flags
constexpr char kFileHeader[] = "(file header)";
constexpr char kDirectory[] = "(directory)";

ByteString ReadName(ByteReader& reader) {
  ByteString name;
  for (std::uint8_t c = reader.U8(); c != 0; c = reader.U8()) name.push_back(static_cast<char>(c));
  return name;
}

}  // namespace

bool IsCompiledHelp(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 4) return false;
  return (bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t{bytes[3]} << 24)) == kMagic;
}

InternalFile ReadInternalFile(std::span<const std::uint8_t> file, std::uint64_t offset, std::string_view name) {
  if (offset > file.size() || file.size() - offset < kFileHeaderSize) {
    throw EHelpFileError(name, offset, "the internal file's header lies outside the help file");
  }
  ByteReader header(file.subspan(offset, kFileHeaderSize));
  header.Skip(4);  // reserved space
  const std::uint32_t used = header.U32LE();
  const std::uint64_t start = offset + kFileHeaderSize;
  if (used > file.size() - start) {
    throw EHelpFileError(name, offset, "the internal file runs past the end of the help file (" +
                                           DecimalText(used) + " bytes announced)");
  }
  return InternalFile{file.subspan(start, used), start};
}

HelpFileSystem::HelpFileSystem(std::span<const std::uint8_t> file, ReadProblems& problems) {
  if (!IsCompiledHelp(file)) throw EHelpFileError(kFileHeader, 0, "not a WinHelp file (no magic number)");
  if (file.size() < 16) throw EHelpFileError(kFileHeader, 0, "the file header is cut short");
  ByteReader header(file);
  header.Skip(4);
  const std::uint32_t directoryStart = header.U32LE();
  const InternalFile directory = ReadInternalFile(file, directoryStart, kDirectory);
  BTree tree(directory.Bytes, kDirectory);
  tree.ForEachEntry(problems, [&](ByteReader& entry) {
    ByteString name = ReadName(entry);
    const std::uint32_t offset = entry.U32LE();
    try {
      files_.emplace(name, ReadInternalFile(file, offset, name));
    } catch (const EHelpFileError& problem) {
      problems.Report(problem);
    }
  });
}

std::optional<InternalFile> HelpFileSystem::Find(std::string_view name) const {
  auto found = files_.find(ByteString(name));
  if (found == files_.end()) return std::nullopt;
  return found->second;
}

}  // namespace quorvex
