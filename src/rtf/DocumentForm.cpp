#include "rtf/DocumentForm.h"

namespace quorvex {
namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// True when `data` holds the control word `word` (with its backslash) ending there.
bool HoldsWord(std::string_view data, std::string_view word) {
  for (std::size_t at = data.find(word); at != std::string_view::npos; at = data.find(word, at + word.size())) {
    const std::size_t next = at + word.size();
    if (next >= data.size() || !IsLetter(data[next])) return true;
  }
  return false;
}

// The \ansicpg a file declares; 0 when it declares none.
int DeclaredCodePage(std::string_view data) {
  const std::size_t at = data.find("\\ansicpg");
  if (at == std::string_view::npos) return 0;
  int codePage = 0;
  for (std::size_t i = at + 8; i < data.size() && i < at + 14 && data[i] >= '0' && data[i] <= '9'; ++i) {
    codePage = codePage * 10 + (data[i] - '0');
  }
  return codePage;
}

// The line-by-line form is a one-topic file as a plain editor writes it:
// formatting switched on and off in the running text, groups only for
// footnotes, hotspots and list marks. Word and other authoring tools put
// formatted text in groups ("{\b Title}"), which that form would drop.
bool WrittenByAnAuthoringTool(std::string_view data) {
  if (data.find("{\\stylesheet") != std::string_view::npos || HoldsWord(data, "\\page")) return true;
  for (std::string_view group : {"{\\b", "{\\i", "{\\plain", "{\\cf", "{\\fs", "{\\cs", "{\\super", "{\\up",
                                 "{\\field", "{\\pard", "{\\trowd", "{\\footnote {"}) {
    if (HoldsWord(data, group)) return true;
  }
  // Word repeats a footnote's mark inside it: "#{\footnote # context}".
  for (std::string_view mark : {"#{\\footnote # ", "${\\footnote $ ", "K{\\footnote K "}) {
    if (data.find(mark) != std::string_view::npos) return true;
  }
  return false;
}

// The line-by-line form writes a file's bytes into the Shift-JIS pages as
// they are, which serves Japanese text only.
bool WrittenInOtherCodePage(std::string_view data, int projectCodePage) {
  if (projectCodePage != 0 && projectCodePage != 932) return true;
  const int declared = DeclaredCodePage(data);
  return declared != 0 && declared != 932 && data.find("\\fcharset128") == std::string_view::npos;
}

}  // namespace

bool IsDocumentForm(std::string_view data, int projectCodePage) {
  return WrittenByAnAuthoringTool(data) || WrittenInOtherCodePage(data, projectCodePage);
}

}  // namespace quorvex
