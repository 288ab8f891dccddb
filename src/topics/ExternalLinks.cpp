#include "topics/ExternalLinks.h"

#include <cctype>

#include "base/Errors.h"
#include "base/Files.h"
#include "project/ProjectReader.h"
#include "project/SourceFiles.h"

namespace quorvex {
namespace {

// "name:" with a name of two or more letters, digits, "+", "-" or "." that
// starts with a letter; one letter before ":" is a drive.
bool HasScheme(std::string_view text) {
  std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(text[0]))) return false;
  for (std::size_t i = 1; i < colon; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

// A file name as a relative URL: the bytes that would end the attribute or
// change the URL's meaning percent-encoded.
ByteString FileHref(const ByteString& name) {
  static constexpr std::string_view kEncoded = "\"<> #%?&'";
  ByteString href;
  for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (CharLength(name, i) == 1 && (c < 0x20 || kEncoded.find(static_cast<char>(c)) != std::string_view::npos)) {
      href += PercentEscaped(c);
    } else {
      href.append(name, i, CharLength(name, i));
    }
  }
  return href;
}

}  // namespace

bool IsLinkableUrl(std::string_view url) {
  for (std::string_view scheme : {"http:", "https:", "mailto:", "ftp:", "news:", "ms-its:"}) {
    if (StartsWithIgnoreCase(url, scheme)) return true;
  }
  return false;
}

std::optional<ByteString> ExternalHref(ConversionJob& job, const ByteString& target, const ByteString& where) {
  const ByteString text = Trimmed(target);
  if (text.empty()) return std::nullopt;
  if (IsLinkableUrl(text)) return text;
  if (HasScheme(text)) {
    job.WarnOnce(where, "the link to " + text + " is not a web or mail address; left as text");
    return std::nullopt;
  }
  const ByteString source = TopicFilePath(job, text);
  if (!FileExists(source)) {
    job.WarnOnce(where, "the linked file " + text + " is not there; left as text");
    return std::nullopt;
  }
  const ByteString name = BareFileName(text), copy = job.OutputFolder + "html\\" + name;
  const ByteString data = ReadFile(source);
  if (name == "." || name == ".." || (FileExists(copy) && ReadFile(copy) != data)) {
    job.WarnOnce(where, "the linked file " + text + " would take the place of another file of the help; left as text");
    return std::nullopt;
  }
  WriteFileInside(job.OutputFolder, copy, data);
  return FileHref(name);
}

}  // namespace quorvex
