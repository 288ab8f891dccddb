#include "hlp/ContextNames.h"

#include "base/ContextHash.h"

namespace quorvex {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Context strings are no longer than this; longer texts are no names.
constexpr std::size_t kMaxNameLength = 255;

}  // namespace

void ContextNames::Offer(std::string_view name, Source source) {
  name = Trim(name);
  if (name.empty() || name.size() > kMaxNameLength) return;
  auto [entry, added] = names_.emplace(ContextHash(name), Name{ByteString(name), source});
  if (!added && source < entry->second.From) entry->second = Name{ByteString(name), source};
}

void ContextNames::OfferMacro(std::string_view macro, Source source) {
  // Quoted strings whole (they may hold blanks and separators).
  for (std::size_t i = 0; i < macro.size(); ++i) {
    const char open = macro[i];
    if (open != '"' && open != '`' && open != '\'') continue;
    const char close = open == '`' ? '\'' : open;
    const std::size_t end = macro.find(close, i + 1);
    if (end == std::string_view::npos) break;
    Offer(macro.substr(i + 1, end - i - 1), source);
  }
  // The pieces between separators, and each without a window or file after it.
  std::size_t start = 0;
  for (std::size_t i = 0; i <= macro.size(); ++i) {
    const bool separator = i == macro.size() || std::string_view("(),;:\"`'").find(macro[i]) != std::string_view::npos;
    if (!separator) continue;
    const std::string_view piece = macro.substr(start, i - start);
    Offer(piece, source);
    const std::size_t cut = piece.find_first_of(">@");
    if (cut != std::string_view::npos) Offer(piece.substr(0, cut), source);
    start = i + 1;
  }
}

const ByteString* ContextNames::Find(std::uint32_t hash) const {
  auto found = names_.find(hash);
  return found == names_.end() ? nullptr : &found->second.Text;
}

}  // namespace quorvex
