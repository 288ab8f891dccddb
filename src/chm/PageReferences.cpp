#include "chm/PageReferences.h"

#include <algorithm>

namespace quorvex {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Case-insensitive search for an ASCII word.
std::size_t FindWord(std::string_view text, std::string_view word, std::size_t from) {
  for (std::size_t i = from; i + word.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < word.size() && Lower(text[i + k]) == word[k]) ++k;
    if (k == word.size()) return i;
  }
  return std::string_view::npos;
}

// Longest reference looked for; longer ones are no file names, and the
// bound keeps the scan of any input linear.
constexpr std::size_t kMaxReference = 2048;

// The attribute value at `at` (after "name="): quoted or up to white space or ">".
ByteString AttributeValue(std::string_view text, std::size_t at) {
  text = text.substr(0, std::min(text.size(), at + kMaxReference));
  while (at < text.size() && IsSpace(text[at])) ++at;
  if (at >= text.size()) return {};
  char quote = text[at];
  if (quote == '"' || quote == '\'') {
    std::size_t end = text.find(quote, at + 1);
    return ByteString(text.substr(at + 1, end == std::string_view::npos ? text.size() - at - 1 : end - at - 1));
  }
  std::size_t end = at;
  while (end < text.size() && !IsSpace(text[end]) && text[end] != '>') ++end;
  return ByteString(text.substr(at, end - at));
}

// Every value of an attribute `name=` that starts a word (after white space).
void Attributes(std::string_view text, std::string_view name, std::vector<std::pair<std::size_t, ByteString>>& out) {
  for (std::size_t at = FindWord(text, name, 0); at != std::string_view::npos; at = FindWord(text, name, at + 1)) {
    if (at == 0 || !IsSpace(text[at - 1])) continue;
    std::size_t equals = at + name.size();
    while (equals < text.size() && IsSpace(text[equals])) ++equals;
    if (equals < text.size() && text[equals] == '=') out.emplace_back(at, AttributeValue(text, equals + 1));
  }
}

}  // namespace

std::vector<ByteString> PageReferences(std::string_view page) {
  std::vector<std::pair<std::size_t, ByteString>> found;
  Attributes(page, "src", found);
  Attributes(page, "href", found);
  // <param name="Local" value="html/a.html"> in contents and index files.
  for (std::size_t at = FindWord(page, "\"local\"", 0); at != std::string_view::npos;
       at = FindWord(page, "\"local\"", at + 1)) {
    // "value" follows within the tag; a short window keeps any input linear.
    std::string_view window = page.substr(0, std::min(page.size(), at + 80));
    window = window.substr(0, std::min(window.size(), window.find('>', at)));
    std::size_t value = FindWord(window, "value", at);
    if (value == std::string_view::npos) continue;
    std::size_t equals = value + 5;
    while (equals < page.size() && IsSpace(page[equals])) ++equals;
    if (equals < page.size() && page[equals] == '=') found.emplace_back(at, AttributeValue(page, equals + 1));
  }
  for (std::size_t at = FindWord(page, "url(", 0); at != std::string_view::npos; at = FindWord(page, "url(", at + 1)) {
    std::size_t end = page.substr(0, std::min(page.size(), at + kMaxReference)).find(')', at);
    if (end == std::string_view::npos) continue;
    std::string_view inner = page.substr(at + 4, end - at - 4);
    while (!inner.empty() && (IsSpace(inner.front()) || inner.front() == '"' || inner.front() == '\'')) inner.remove_prefix(1);
    while (!inner.empty() && (IsSpace(inner.back()) || inner.back() == '"' || inner.back() == '\'')) inner.remove_suffix(1);
    found.emplace_back(at, ByteString(inner));
  }
  std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<ByteString> references;
  for (auto& [at, value] : found) {
    if (!value.empty()) references.push_back(std::move(value));
  }
  return references;
}

ByteString PageTitle(std::string_view page) {
  std::size_t open = FindWord(page, "<title", 0);
  if (open == std::string_view::npos) return {};
  std::size_t start = page.find('>', open);
  if (start == std::string_view::npos) return {};
  std::size_t end = FindWord(page, "</title", start);
  std::string_view raw = page.substr(start + 1, (end == std::string_view::npos ? page.size() : end) - start - 1);
  ByteString title;
  bool space = false;
  for (std::size_t i = 0; i < raw.size(); i += CharLength(raw, i)) {
    if (IsSpace(raw[i])) {
      space = !title.empty();
      continue;
    }
    if (space) title += ' ';
    space = false;
    std::string_view rest = raw.substr(i);
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
    bool entity = false;
    for (const auto& [name, c] : kEntities) {
      if (StartsWith(rest, name)) {
        title += c;
        i += name.size() - 1;
        entity = true;
        break;
      }
    }
    if (!entity) title.append(raw.substr(i, CharLength(raw, i)));
  }
  return title;
}

ByteString FolderOf(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? ByteString() : ByteString(path.substr(0, slash + 1));
}

std::optional<ByteString> ResolveReference(std::string_view folder, std::string_view reference) {
  // Fragment and query end the path; a backslash (not a trail byte) separates too.
  ByteString path;
  for (std::size_t i = 0; i < reference.size(); i += CharLength(reference, i)) {
    char c = reference[i];
    if (c == '#' || c == '?') break;
    if (c == ':') return std::nullopt;  // a scheme or a drive: another place
    if (c == '%' && i + 2 < reference.size() && HexDigitValue(reference[i + 1]) >= 0 && HexDigitValue(reference[i + 2]) >= 0) {
      path += static_cast<char>(HexDigitValue(reference[i + 1]) * 16 + HexDigitValue(reference[i + 2]));
      i += 2;
      continue;
    }
    path.append(reference.substr(i, CharLength(reference, i)));
    if (CharLength(reference, i) == 1 && c == '\\') path.back() = '/';
  }
  if (path.empty() || path[0] == '/') return std::nullopt;
  std::vector<ByteString> parts;
  ByteString full = ByteString(folder) + path;
  std::size_t start = 0;
  while (start <= full.size()) {
    std::size_t slash = full.find('/', start);
    ByteString part = full.substr(start, slash == ByteString::npos ? ByteString::npos : slash - start);
    if (part == "..") {
      if (parts.empty()) return std::nullopt;
      parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    if (slash == ByteString::npos) break;
    start = slash + 1;
  }
  if (parts.empty() || full.back() == '/') return std::nullopt;
  ByteString resolved;
  for (const ByteString& part : parts) resolved += (resolved.empty() ? "" : "/") + part;
  return resolved;
}

}  // namespace quorvex
