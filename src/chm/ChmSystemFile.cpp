#include "chm/ChmBytes.h"
#include "chm/ChmSystemFiles.h"

namespace quorvex {
namespace {

void AddEntry(std::string& out, std::uint32_t code, const std::string& data) {
  AppendU16(out, code);
  AppendU16(out, static_cast<std::uint32_t>(data.size()));
  out += data;
}

void AddText(std::string& out, std::uint32_t code, const ByteString& text) {
  // Entries hold at most 64 KiB; no real option is near that.
  AddEntry(out, code, text.substr(0, 0xFFFE) + '\0');
}

// The compiled file's name without folder and extension, lower-cased, as
// HTML Help finds a help's own name in it.
ByteString CompiledStem(const ByteString& compiledFile) {
  std::size_t slash = compiledFile.find_last_of("\\/");
  ByteString name = slash == ByteString::npos ? compiledFile : compiledFile.substr(slash + 1);
  std::size_t dot = name.rfind('.');
  return LowerCase(dot == ByteString::npos ? name : name.substr(0, dot));
}

}  // namespace

bool IsDoubleByteLanguage(std::uint32_t lcid) {
  std::uint32_t primary = lcid & 0x3FF;
  return primary == 0x11 || primary == 0x04 || primary == 0x12;
}

std::string SystemFile(const HelpProjectFile& project, const ByteString& compiler) {
  std::string out;
  AppendU32(out, 3);
  AddText(out, 9, compiler);
  // Language and flags; the time stamp stays 0 so that the output is reproducible.
  std::string flags;
  AppendU32(flags, project.language);
  AppendU32(flags, IsDoubleByteLanguage(project.language) ? 1 : 0);
  AppendU32(flags, 0);  // no full-text search index
  AppendU32(flags, 0);  // no binary keyword index (KLinks)
  AppendU32(flags, 0);  // no associative links (ALinks)
  AppendU64(flags, 0);
  AppendU32(flags, 0);
  AppendU32(flags, 0);
  AddEntry(out, 4, flags);
  if (!project.defaultTopic.empty()) AddText(out, 2, project.defaultTopic);
  AddText(out, 3, project.title);
  if (!project.defaultFont.empty()) AddText(out, 16, project.defaultFont);
  AddText(out, 6, CompiledStem(project.compiledFile));
  if (!project.contentsFile.empty()) AddText(out, 0, project.contentsFile);
  if (!project.indexFile.empty()) AddText(out, 1, project.indexFile);
  if (!project.defaultWindow.empty()) AddText(out, 5, project.defaultWindow);
  return out;
}

}  // namespace quorvex
