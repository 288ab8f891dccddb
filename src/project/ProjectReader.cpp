#include "project/ProjectReader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

#include "base/CodePages.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "project/ContextMapReader.h"
#include "project/SourceFiles.h"

namespace quorvex {
namespace {

constexpr std::size_t kMaxValueLength = 255;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A line whose first non-blank character is ";" is a comment, in every section.
bool IsCommentLine(std::string_view line) {
  std::size_t first = line.find_first_not_of(" \t");
  return first != std::string_view::npos && line[first] == ';';
}

bool IsBlankLine(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// The lines after the section header `name` (found ignoring case), up to the
// end or the next line beginning with "[". Real project files put blank lines
// anywhere, right after the header too, so blank lines and comments are left
// out rather than ending the section.
std::vector<ByteString> SectionLines(const StringList& lines, std::string_view name) {
  std::vector<ByteString> section;
  int header = lines.IndexOf(name);
  if (header < 0) return section;
  for (int i = header + 1; i < lines.Count(); ++i) {
    const ByteString& line = lines[i];
    if (!line.empty() && line[0] == '[') break;
    if (!IsBlankLine(line) && !IsCommentLine(line)) section.push_back(line);
  }
  return section;
}

// Up to 255 bytes of the line from `start` (0-based), without a trailing comment.
ByteString ValueFrom(const ByteString& line, std::size_t start) {
  return start >= line.size() ? ByteString() : WithoutComment(line.substr(start, kMaxValueLength));
}

// The first hexadecimal or decimal number of a value such as "0x411 0x0 0x0".
int LeadingNumber(std::string_view text) {
  unsigned long value = 0;
  char* end = nullptr;
  ByteString copy(text.substr(0, 16));
  value = std::strtoul(copy.c_str(), &end, 0);
  return end == copy.c_str() ? 0 : static_cast<int>(value & 0x7FFFFFFF);
}

// The folders of a ROOT= or BMROOT= value: a comma list, except that a folder
// that exists under the whole name (commas and all) is one folder. Paths of
// the author's machine are taken as the folder below the project they end
// in, and left out when there is none.
void AddFolders(const ConversionJob& job, std::vector<ByteString>& folders, const ByteString& value) {
  std::vector<ByteString> names;
  if (value.find(',') != ByteString::npos && DirectoryExists(ProjectFolderPath(job, value))) {
    names.push_back(value);
  } else {
    std::size_t start = 0;
    for (;;) {
      std::size_t comma = value.find(',', start);
      names.push_back(Trimmed(value.substr(start, comma == ByteString::npos ? ByteString::npos : comma - start)));
      if (comma == ByteString::npos) break;
      start = comma + 1;
    }
  }
  for (ByteString& name : names) {
    if (name.empty()) continue;
    name = LocalFolder(job, name);
    if (name.empty()) continue;
    if (name.back() != '\\' && name.back() != '/') name += '\\';
    folders.push_back(name);
  }
}

// The key of an option line ("bmroot = art" gives "BMROOT") and where its
// value starts; an empty key for a line without "=".
std::pair<ByteString, std::size_t> OptionKey(const ByteString& line) {
  const std::size_t equals = line.find('=');
  if (equals == ByteString::npos) return {ByteString(), 0};
  ByteString key = Trimmed(line.substr(0, equals));
  for (char& c : key) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return {key, equals + 1};
}

// Help compilers take option names in any letter case and with blanks around
// "=" ("Title=", "bmroot = art"), as hand-written project files use them.
// The title keeps what follows "=" as it is.
void ReadOptions(ConversionJob& job, const StringList& lines) {
  int charsetCodePage = 0, languageCodePage = 0;
  ByteString indexTopic;  // WinHelp 3.0 named the contents topic INDEX=
  for (const ByteString& line : SectionLines(lines, "[OPTIONS]")) {
    const auto [key, start] = OptionKey(line);
    const ByteString value = Trimmed(ValueFrom(line, start));
    if (key == "TITLE") {
      job.Title = ValueFrom(line, start);
    } else if (key == "BMROOT") {
      AddFolders(job, job.BitmapFolders, value);
    } else if (key == "ROOT") {
      AddFolders(job, job.TopicFolders, value);
    } else if (key == "CONTENTS") {
      job.ContentsTopic = value;
    } else if (key == "INDEX") {
      indexTopic = value;
    } else if (key == "HLP") {
      job.HelpFileName = ExtractFileName(value);
    } else if (key == "CNT") {
      job.ContentsFile = value;
    } else if (key == "CHARSET") {
      charsetCodePage = CharsetCodePage(LeadingNumber(value));
    } else if (key == "LCID") {
      languageCodePage = LanguageCodePage(LeadingNumber(value));
    }
  }
  job.CodePage = charsetCodePage ? charsetCodePage : languageCodePage;
  if (job.ContentsTopic.empty()) job.ContentsTopic = indexTopic;
}

void ReadWindows(ConversionJob& job, const StringList& lines) {
  for (const ByteString& line : SectionLines(lines, "[WINDOWS]")) {
    if (!StartsWith(line, "main=\"")) break;
    if (std::optional<ByteString> attr = MainWindowColorAttr(line)) job.BodyColorAttr = *attr;
  }
}

// [ALIAS] lines read "alias = context".
void ReadAliases(ConversionJob& job, const StringList& lines) {
  for (const ByteString& line : SectionLines(lines, "[ALIAS]")) {
    ByteString value = WithoutComment(line);
    std::size_t equals = value.find('=');
    if (equals == ByteString::npos) continue;
    ByteString from = Trimmed(value.substr(0, equals)), to = Trimmed(value.substr(equals + 1));
    if (!from.empty() && !to.empty()) job.TopicAliases.Add(from, to);
  }
}

// "(R,G,B)" with decimal components 0-255, as the colour 0xRRGGBB.
std::optional<std::uint32_t> ColourTriple(std::string_view text) {
  std::uint32_t rgb = 0;
  std::size_t pos = 0;
  for (int component = 0; component < 3; ++component) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    std::size_t start = pos;
    unsigned value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 3) {
      value = value * 10 + static_cast<unsigned>(text[pos++] - '0');
    }
    if (pos == start || value > 255) return std::nullopt;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos >= text.size() || text[pos] != (component < 2 ? ',' : ')')) return std::nullopt;
    ++pos;
    rgb = (rgb << 8) | value;
  }
  return rgb;
}

ByteString BgColorAttr(std::uint32_t rgb) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%06x", rgb & 0xFFFFFF);
  return ByteString(" bgcolor=#") + digits;
}

}  // namespace

ByteString BackgroundColorAttr(std::uint32_t rgb) { return BgColorAttr(rgb); }

ByteString Trimmed(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return ByteString();
  std::size_t last = text.find_last_not_of(" \t");
  return ByteString(text.substr(first, last - first + 1));
}

ByteString WithoutComment(std::string_view value) {
  for (std::size_t i = 1; i < value.size(); ++i) {
    if (value[i] == ';' && IsBlank(value[i - 1])) {
      std::size_t end = i;
      while (end > 0 && IsBlank(value[end - 1])) --end;
      return ByteString(value.substr(0, end));
    }
  }
  return ByteString(value);
}

int ParseInteger(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
  if (pos == text.size()) throw EConvertError(text);
  std::int64_t value = 0;
  for (; pos < text.size(); ++pos) {
    if (text[pos] < '0' || text[pos] > '9') throw EConvertError(text);
    value = value * 10 + (text[pos] - '0');
    if (value > std::int64_t{std::numeric_limits<int>::max()} + 1) throw EConvertError(text);
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) throw EConvertError(text);
  return static_cast<int>(value);
}

std::optional<ByteString> MainWindowColorAttr(std::string_view line) {
  // Skip the caption, stepping over double-byte characters so that a trail
  // byte 0x22 does not end it.
  std::size_t pos = 6;
  for (;;) {
    if (pos >= line.size()) return std::nullopt;
    if (line[pos] == '"') break;
    pos += CharLength(line, pos);
  }
  ++pos;
  // The colour is the parenthesised fourth field: count the commas that are
  // not inside parentheses.
  int commas = 0;
  bool inParentheses = false;
  for (; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == '(' && commas == 3) break;
    if (c == '(') inParentheses = true;
    if (c == ')') inParentheses = false;
    if (c == ',' && !inParentheses) ++commas;
  }
  if (pos >= line.size()) return std::nullopt;
  if (std::optional<std::uint32_t> rgb = ColourTriple(line.substr(pos + 1))) return BgColorAttr(*rgb);
  std::size_t start = std::min(pos + 2, line.size());  // "(" and the letter r
  std::size_t end = line.find(')', start);
  if (end == std::string_view::npos) end = line.size();
  auto bgr = static_cast<std::uint32_t>(ParseInteger(line.substr(start, end - start)));
  return BgColorAttr(((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF));
}

void ClearProject(ConversionJob& job) {
  for (StringList* list : {&job.ProjectFiles, &job.PopupPages, &job.JumpPages, &job.NameMapKeys,
                           &job.NameMapValues, &job.IndexKeywords, &job.IndexPages, &job.PopupTopics,
                           &job.PopupLines}) {
    list->Clear();
  }
  job.Title.clear();
  job.TopicFolders.clear();
  job.BitmapFolders.clear();
  job.BitmapFiles.clear();
  job.BodyColorAttr.clear();
  job.ContentsTopic.clear();
  job.ContentsFile.clear();
  job.HelpFileName = ChangeFileExt(ExtractFileName(job.ProjectPath), ".hlp");
  job.CodePage = 0;
  job.TopicAliases.Clear();
  job.HelpContexts.Clear();
  job.Topics.Clear();
  job.WrittenPages.clear();
  job.ImageNames.Clear();
  job.WarnedOnce.clear();
  job.HelpPictures.clear();
  job.HashedContexts.clear();
  job.HasContents = false;
  job.HasIndex = false;
}

void ReadProject(ConversionJob& job) {
  ClearProject(job);
  StringList lines;
  ByteString text = ReadFile(job.ProjectPath);
  // A project file re-saved by a newer editor may start with a UTF-8 mark,
  // which would hide a first section header.
  if (StartsWith(text, "\xEF\xBB\xBF")) text.erase(0, 3);
  lines.SetText(text);
  ReadOptions(job, lines);
  // A blank or a comment after a file name would hide the file.
  for (const ByteString& line : SectionLines(lines, "[FILES]")) job.ProjectFiles.Add(Trimmed(WithoutComment(line)));
  for (const ByteString& line : SectionLines(lines, "[BITMAPS]")) job.BitmapFiles.push_back(Trimmed(WithoutComment(line)));
  ReadWindows(job, lines);
  ReadAliases(job, lines);
  ReadContextMap(job, SectionLines(lines, "[MAP]"));
}

}  // namespace quorvex
