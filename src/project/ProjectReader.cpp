#include "project/ProjectReader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

#include "base/Errors.h"

namespace quorvex {
namespace {

constexpr std::size_t kMaxValueLength = 255;

// The lines after the section header `name` (found ignoring case), up to the
// end, an empty line or the next line beginning with "[".
std::vector<ByteString> SectionLines(const StringList& lines, std::string_view name) {
  std::vector<ByteString> section;
  int header = lines.IndexOf(name);
  if (header < 0) return section;
  for (int i = header + 1; i < lines.Count(); ++i) {
    const ByteString& line = lines[i];
    if (line.empty() || line[0] == '[') break;
    section.push_back(line);
  }
  return section;
}

// Up to 255 bytes of the line from `start` (0-based).
ByteString ValueFrom(const ByteString& line, std::size_t start) {
  return start >= line.size() ? ByteString() : line.substr(start, kMaxValueLength);
}

void ReadOptions(ConversionJob& job, const StringList& lines) {
  for (const ByteString& line : SectionLines(lines, "[OPTIONS]")) {
    if (StartsWith(line, "TITLE=")) {
      job.Title = ValueFrom(line, 6);
    } else if (StartsWith(line, "TITLE =")) {
      job.Title = ValueFrom(line, 7);
    } else if (StartsWith(line, "BMROOT=")) {
      job.BitmapRoot = ValueFrom(line, 7) + "\\";
    } else if (StartsWith(line, "ROOT=")) {
      job.TopicRoot = ValueFrom(line, 5) + "\\";
    } else if (StartsWith(line, "CONTENTS=")) {
      job.ContentsTopic = ValueFrom(line, 9);
    }
  }
}

void ReadWindows(ConversionJob& job, const StringList& lines) {
  for (const ByteString& line : SectionLines(lines, "[WINDOWS]")) {
    if (!StartsWith(line, "main=\"")) break;
    if (std::optional<ByteString> attr = MainWindowColorAttr(line)) job.BodyColorAttr = *attr;
  }
}

}  // namespace

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
  std::size_t start = std::min(pos + 2, line.size());  // "(" and the letter r
  std::size_t end = line.find(')', start);
  if (end == std::string_view::npos) end = line.size();
  auto bgr = static_cast<std::uint32_t>(ParseInteger(line.substr(start, end - start)));
  std::uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
  char digits[8];
  std::snprintf(digits, sizeof digits, "%06x", rgb);
  return ByteString(" bgcolor=#") + digits;
}

void ReadProject(ConversionJob& job) {
  for (StringList* list : {&job.ProjectFiles, &job.PopupPages, &job.JumpPages, &job.NameMapKeys,
                           &job.NameMapValues, &job.IndexKeywords, &job.IndexPages, &job.PopupTopics,
                           &job.PopupLines}) {
    list->Clear();
  }
  job.Title.clear();
  job.TopicRoot.clear();
  job.BitmapRoot.clear();
  job.BodyColorAttr.clear();
  job.ContentsTopic.clear();
  job.HasContents = false;
  job.HasIndex = false;

  StringList lines;
  lines.LoadFromFile(job.ProjectPath);
  ReadOptions(job, lines);
  for (const ByteString& line : SectionLines(lines, "[FILES]")) job.ProjectFiles.Add(line);
  ReadWindows(job, lines);
}

}  // namespace quorvex
