#include "project/ContextMapReader.h"

#include <cctype>

#include "base/Errors.h"
#include "base/Files.h"
#include "project/ProjectReader.h"
#include "project/SourceFiles.h"

namespace quorvex {
namespace {

// Includes that include each other stop here.
constexpr int kMaxIncludeDepth = 16;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The line without a // comment or a /* ... */ comment that closes on it.
ByteString WithoutCComments(std::string_view line) {
  ByteString out;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line.substr(i, 2) == "//") break;
    if (line.substr(i, 2) == "/*") {
      std::size_t end = line.find("*/", i + 2);
      if (end == std::string_view::npos) break;
      i = end + 1;
      out += ' ';
      continue;
    }
    out += line[i];
  }
  return out;
}

// Splits "name value", "name=value" or "name = value" into its two words.
bool SplitDefinition(std::string_view text, ByteString& name, ByteString& value) {
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end]) && text[end] != '=') ++end;
  name = ByteString(text.substr(0, end));
  std::size_t start = end;
  while (start < text.size() && (IsBlank(text[start]) || text[start] == '=')) ++start;
  value = Trimmed(text.substr(start));
  return !name.empty() && !value.empty();
}

// The file name of an #include: in <>, in double quotes, or the rest of the line.
ByteString IncludedName(std::string_view rest) {
  ByteString text = Trimmed(rest);
  if (text.size() >= 2 && ((text.front() == '<' && text.back() == '>') || (text.front() == '"' && text.back() == '"'))) {
    return Trimmed(std::string_view(text).substr(1, text.size() - 2));
  }
  return text;
}

class MapReader {
 public:
  explicit MapReader(ConversionJob& job) : job_(job) {}

  // `folder`: where the lines come from, for the includes they name.
  void ReadLines(const std::vector<ByteString>& lines, const ByteString& folder, int depth) {
    for (const ByteString& raw : lines) ReadLine(raw, folder, depth);
  }

 private:
  void ReadLine(const ByteString& raw, const ByteString& folder, int depth) {
    ByteString line = Trimmed(WithoutComment(WithoutCComments(raw)));
    if (line.empty()) return;
    if (StartsWithIgnoreCase(line, "#include")) {
      Include(IncludedName(std::string_view(line).substr(8)), folder, depth);
      return;
    }
    if (StartsWithIgnoreCase(line, "#define") && line.size() > 7 && IsBlank(line[7])) {
      line = Trimmed(std::string_view(line).substr(7));
    } else if (line[0] == '#') {
      return;  // #ifndef, #pragma and the like
    }
    ByteString name, value;
    if (!SplitDefinition(line, name, value)) return;
    if (std::optional<ByteString> number = MapNumber(value)) job_.HelpContexts.Add(name, *number);
  }

  // An included file is looked up beside the file that includes it, then in the project folder.
  void Include(const ByteString& name, const ByteString& folder, int depth) {
    if (name.empty() || depth >= kMaxIncludeDepth) return;
    ByteString path = IsAbsoluteProjectPath(name) ? name : folder + name;
    if (!FileExists(path)) path = ProjectFilePath(job_, name);
    if (!FileExists(path)) {
      job_.Warn(path, "included map file not found");
      return;
    }
    StringList lines;
    try {
      lines.LoadFromFile(path);
    } catch (const Exception& error) {
      if (!job_.KeepGoing) throw;
      job_.Warn(path, error.Message());
      return;
    }
    ReadLines(std::vector<ByteString>(lines.begin(), lines.end()), ExtractFilePath(path), depth + 1);
  }

  ConversionJob& job_;
};

}  // namespace

std::optional<ByteString> MapNumber(std::string_view text) {
  while (!text.empty() && (text.back() == 'u' || text.back() == 'U' || text.back() == 'l' || text.back() == 'L')) {
    text.remove_suffix(1);
  }
  const std::string_view number = text;
  bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  if (hex) text.remove_prefix(2);
  if (text.empty() || text.size() > (hex ? 8 : 10)) return std::nullopt;
  for (char c : text) {
    bool digit = hex ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c));
    if (!digit) return std::nullopt;
  }
  return ByteString(number);
}

void ReadContextMap(ConversionJob& job, const std::vector<ByteString>& lines) {
  MapReader(job).ReadLines(lines, job.ProjectFolder, 0);
}

}  // namespace quorvex
