#include "project/NameMap.h"

#include "base/CodePageText.h"
#include "base/Files.h"

namespace quorvex {
namespace {

// Bytes that cannot stand in a page's file name or in a URL.
bool IsUnfitForPageName(char c) {
  static constexpr std::string_view kUnfit = " :(),/\\*?\"<>|#%&';";
  return kUnfit.find(c) != std::string_view::npos || static_cast<unsigned char>(c) < 0x20;
}

}  // namespace

ByteString FitForFileName(const ByteString& name) {
  ByteString out;
  for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    std::size_t length = CharLength(name, i);
    out += length == 1 && IsUnfitForPageName(name[i]) ? ByteString("_") : name.substr(i, length);
  }
  return out;
}

namespace {

bool IsBlankOrControl(char c) {
  auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

std::size_t SkipBlanks(std::string_view line, std::size_t pos) {
  while (pos < line.size() && IsBlankOrControl(line[pos])) ++pos;
  return pos;
}

// A field in double quotes; `pos` is on the opening quote and ends after the closing one.
ByteString QuotedField(std::string_view line, std::size_t& pos) {
  ByteString field;
  ++pos;
  while (pos < line.size()) {
    if (line[pos] == '"') {
      if (pos + 1 < line.size() && line[pos + 1] == '"') {
        field += '"';
        pos += 2;
        continue;
      }
      ++pos;
      break;
    }
    std::size_t len = CharLength(line, pos);
    field.append(line.substr(pos, len));
    pos += len;
  }
  return field;
}

ByteString PlainField(std::string_view line, std::size_t& pos) {
  std::size_t start = pos;
  while (pos < line.size() && line[pos] != ',' && static_cast<unsigned char>(line[pos]) > 32) {
    pos += CharLength(line, pos);
  }
  return ByteString(line.substr(start, pos - start));
}

}  // namespace

std::vector<ByteString> SplitNameMapFields(std::string_view line) {
  line = line.substr(0, line.find('\0'));
  std::vector<ByteString> fields;
  std::size_t pos = SkipBlanks(line, 0);
  while (pos < line.size()) {
    fields.push_back(line[pos] == '"' ? QuotedField(line, pos) : PlainField(line, pos));
    pos = SkipBlanks(line, pos);
    if (pos < line.size() && line[pos] == ',') {
      if (pos + 1 == line.size()) fields.emplace_back();
      pos = SkipBlanks(line, pos + 1);
    }
  }
  return fields;
}

void LoadNameMap(ConversionJob& job) {
  ByteString path = job.ProjectFolder + "cnv.txt";
  if (!FileExists(path)) return;
  StringList lines;
  lines.LoadFromFile(path);
  for (const ByteString& raw : lines) {
    // Names of the project's own code page, as the pages name them in Shift-JIS.
    std::vector<ByteString> fields = SplitNameMapFields(ShiftJisFromCodePage(raw, job.CodePage, Unrepresentable::QuestionMark));
    if (fields.size() != 2) continue;
    job.NameMapKeys.Add(LowerCase(fields[0]));
    job.NameMapValues.Add(fields[1]);
  }
}

ByteString PageName(const ConversionJob& job, std::string_view topic) {
  ByteString lower = LowerCase(topic);
  int mapped = job.NameMapKeys.IndexOf(lower);
  if (mapped >= 0) return job.NameMapValues[mapped] + ".html";
  if (!lower.empty()) return lower + ".html";
  return ByteString();
}

ByteString DocumentPageName(const ConversionJob& job, std::string_view context) {
  return FitForFileName(ChangeFileExt(PageName(job, context), "")) + ".html";
}

}  // namespace quorvex
