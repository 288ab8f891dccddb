#include "document/Hotspots.h"

namespace quorvex {
namespace {

bool IsLinkFormatted(const Inline& piece) {
  bool visible = piece.Kind == InlineKind::Text || piece.Kind == InlineKind::PictureRef || piece.Kind == InlineKind::Picture;
  return visible && !piece.Format.Hidden && (piece.Format.Underlined != Underline::None || piece.Format.Strike);
}

bool IsHiddenText(const Inline& piece) { return piece.Kind == InlineKind::Text && piece.Format.Hidden; }

// Splits "a, 'b', `c'" at top-level commas; quotes ("", '', `') are removed.
std::vector<DocText> SplitArguments(std::u32string_view text) {
  std::vector<DocText> arguments;
  DocText current;
  char32_t quote = 0;
  int depth = 0;
  for (char32_t c : text) {
    if (quote != 0) {
      if (c == quote || (quote == U'\'' && c == U'\'')) {
        quote = 0;
      } else {
        current.push_back(c);
      }
    } else if (c == U'"' || c == U'`') {
      quote = c == U'`' ? U'\'' : c;
    } else if (c == U'(') {
      ++depth;
      current.push_back(c);
    } else if (c == U')') {
      --depth;
      current.push_back(c);
    } else if (c == U',' && depth == 0) {
      arguments.push_back(TrimBlanks(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!TrimBlanks(current).empty() || !arguments.empty()) arguments.push_back(TrimBlanks(current));
  return arguments;
}

}  // namespace

std::vector<Stretch> SplitHotspots(const Paragraph& paragraph) {
  const std::vector<Inline>& pieces = paragraph.Inlines;
  std::vector<Stretch> stretches;
  std::size_t i = 0;
  while (i < pieces.size()) {
    if (IsHiddenText(pieces[i])) {
      ++i;
      continue;
    }
    if (!IsLinkFormatted(pieces[i])) {
      stretches.push_back(Stretch{i, i + 1});
      ++i;
      continue;
    }
    std::size_t end = i;
    bool jump = false;
    while (end < pieces.size() && IsLinkFormatted(pieces[end])) {
      jump = jump || pieces[end].Format.Underlined == Underline::Double || pieces[end].Format.Strike;
      ++end;
    }
    DocText target;
    std::size_t after = end;
    while (after < pieces.size() && IsHiddenText(pieces[after])) target += pieces[after++].Text;
    target = TrimBlanks(target);
    if (target.empty()) {
      for (std::size_t k = i; k < end; ++k) stretches.push_back(Stretch{k, k + 1});
    } else {
      stretches.push_back(Stretch{i, end, true, jump, target});
    }
    i = after;
  }
  return stretches;
}

HotspotTarget ParseTarget(const DocText& target) {
  HotspotTarget result;
  std::size_t start = 0;
  while (start < target.size() && (target[start] == U'%' || target[start] == U'*' || IsBlankChar(target[start]))) ++start;
  std::u32string_view text = std::u32string_view(target).substr(start);
  if (!text.empty() && text[0] == U'!') {
    result.IsMacro = true;
    text.remove_prefix(1);
    // Only the first of several macros (separated by ";" or ":") is kept.
    std::size_t open = text.find(U'(');
    std::size_t close = text.rfind(U')');
    if (open == std::u32string_view::npos) {
      std::size_t end = text.find_first_of(U";:");
      result.MacroName = TrimBlanks(text.substr(0, end));
      return result;
    }
    result.MacroName = TrimBlanks(text.substr(0, open));
    std::size_t depth = 0, end = open;
    for (; end < text.size(); ++end) {
      if (text[end] == U'(') ++depth;
      if (text[end] == U')' && --depth == 0) break;
    }
    if (end >= text.size()) end = close == std::u32string_view::npos ? text.size() : close;
    result.Arguments = SplitArguments(text.substr(open + 1, end - open - 1));
    return result;
  }
  std::size_t cut = text.find_first_of(U">@");
  result.Context = TrimBlanks(text.substr(0, cut));
  if (std::size_t at = text.find(U'@'); at != std::u32string_view::npos) {
    std::u32string_view file = text.substr(at + 1);
    result.File = TrimBlanks(file.substr(0, file.find(U'>')));
  }
  return result;
}

}  // namespace quorvex
