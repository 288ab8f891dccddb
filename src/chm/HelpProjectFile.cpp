#include "chm/HelpProjectFile.h"

#include <optional>

namespace quorvex {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> Lines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= bytes.size(); ++i) {
    if (i == bytes.size() || bytes[i] == '\n' || bytes[i] == '\r') {
      if (i > start) lines.push_back(bytes.substr(start, i - start));
      start = i + 1;
    }
  }
  return lines;
}

// A number as C writes it: decimal, or hexadecimal after "0x"; nothing for
// anything else or a value beyond 32 bits.
std::optional<std::uint32_t> Number(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0 || digit >= base) return std::nullopt;
    value = value * base + digit;
  }
  if (value > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

bool IsYes(std::string_view value) { return SameText(Trim(value), "Yes"); }

// The fields of a window definition: commas separate, except inside quotes
// and brackets.
std::vector<ByteString> WindowFields(std::string_view text) {
  std::vector<ByteString> fields(1);
  bool quoted = false;
  int brackets = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
    char c = text[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == '[') {
      ++brackets;
      fields.back() += c;
    } else if (!quoted && c == ']') {
      brackets = brackets > 0 ? brackets - 1 : 0;
      fields.back() += c;
    } else if (!quoted && brackets == 0 && c == ',') {
      fields.emplace_back();
    } else {
      fields.back().append(text.substr(i, CharLength(text, i)));
    }
  }
  for (ByteString& field : fields) field = ByteString(Trim(field));
  return fields;
}

void ReadOption(std::string_view key, std::string_view value, HelpProjectFile& project) {
  value = Trim(value);
  if (SameText(key, "Compiled file")) project.compiledFile = value;
  else if (SameText(key, "Contents file")) project.contentsFile = value;
  else if (SameText(key, "Index file")) project.indexFile = value;
  else if (SameText(key, "Default topic")) project.defaultTopic = value;
  else if (SameText(key, "Default Window")) project.defaultWindow = value;
  else if (SameText(key, "Default Font")) project.defaultFont = value;
  else if (SameText(key, "Title")) project.title = value;
  else if (SameText(key, "Full-text search")) project.fullTextSearch = IsYes(value);
  else if (SameText(key, "Binary Index")) project.binaryIndex = IsYes(value);
  else if (SameText(key, "Binary TOC")) project.binaryToc = IsYes(value);
  else if (SameText(key, "Language")) {
    // "0x411 Japanese": the number comes first.
    std::optional<std::uint32_t> language = Number(value.substr(0, value.find_first_of(" \t")));
    if (language) project.language = *language;
    else project.problems.push_back("Language=" + ByteString(value) + " is not a language number");
  }
}

// "#define NAME NUMBER" (also with tabs) into a context id.
bool ReadDefine(std::string_view line, HelpProjectFile& project) {
  if (!StartsWith(line, "#define")) return false;
  std::string_view rest = Trim(line.substr(7));
  std::size_t space = rest.find_first_of(" \t");
  if (space == std::string_view::npos) return false;
  std::string_view name = rest.substr(0, space);
  std::string_view value = Trim(rest.substr(space));
  value = value.substr(0, value.find_first_of(" \t/"));
  std::optional<std::uint32_t> id = Number(value);
  if (!id) return false;
  project.contextIds.push_back({ByteString(name), *id});
  return true;
}

bool ReadAliasLine(std::string_view line, HelpProjectFile& project) {
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || equals == 0) return false;
  std::string_view name = Trim(line.substr(0, equals)), target = Trim(line.substr(equals + 1));
  if (name.empty() || target.empty()) return false;
  project.aliases.push_back({ByteString(name), ByteString(target)});
  return true;
}

std::optional<ByteString> IncludeName(std::string_view line) {
  if (!StartsWith(line, "#include")) return std::nullopt;
  std::string_view name = Trim(line.substr(8));
  if (name.size() >= 2 && (name.front() == '"' || name.front() == '<')) name = name.substr(1, name.size() - 2);
  return ByteString(Trim(name));
}

}  // namespace

HelpProjectFile ReadHelpProjectFile(std::string_view bytes) {
  HelpProjectFile project;
  ByteString section;
  for (std::string_view raw : Lines(bytes)) {
    std::string_view line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[' && line.back() == ']') {
      section = LowerCase(line);
      continue;
    }
    bool understood = true;
    if (section == "[options]") {
      std::size_t equals = line.find('=');
      if (equals == std::string_view::npos) understood = false;
      else ReadOption(Trim(line.substr(0, equals)), line.substr(equals + 1), project);
    } else if (section == "[windows]") {
      std::size_t equals = line.find('=');
      if (equals == std::string_view::npos || equals == 0) understood = false;
      else project.windows.push_back({ByteString(Trim(line.substr(0, equals))), WindowFields(line.substr(equals + 1))});
    } else if (section == "[files]") {
      project.files.push_back(ByteString(line));
    } else if (section == "[alias]" || section == "[map]") {
      if (std::optional<ByteString> include = IncludeName(line)) project.includes.push_back(*include);
      else if (section == "[alias]") understood = ReadAliasLine(line, project);
      else understood = ReadDefine(line, project);
    }
    if (!understood) project.problems.push_back(section + " line not understood: " + ByteString(line));
  }
  return project;
}

void ReadContextInclude(std::string_view bytes, HelpProjectFile& project) {
  for (std::string_view raw : Lines(bytes)) {
    std::string_view line = Trim(raw);
    if (!ReadDefine(line, project) && line.find('=') != std::string_view::npos && line[0] != '#' && line[0] != '/') {
      ReadAliasLine(line, project);
    }
  }
}

}  // namespace quorvex
