#include "hlp/TopicNaming.h"

#include <algorithm>

namespace quorvex {
namespace {

constexpr std::size_t kMaxTitleName = 40;

bool IsAsciiLetterOrDigit(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9'); }

}  // namespace

ByteString NameFromTitle(const DocText& title) {
  ByteString name;
  for (char32_t c : title) {
    if (IsAsciiLetterOrDigit(c)) {
      if (name.size() >= kMaxTitleName) break;
      name.push_back(static_cast<char>(c >= U'A' && c <= U'Z' ? c + 32 : c));
    } else if (!name.empty() && name.back() != '_') {
      name.push_back('_');
    }
  }
  while (!name.empty() && name.back() == '_') name.pop_back();
  return name;
}

TopicNaming::TopicNaming(HelpDocument& document, const std::vector<HelpTopic>& topics, const TextDecoder& decoder)
    : document_(document), topics_(topics), decoder_(decoder), names_(topics.size()), otherNames_(topics.size()) {
  offsets_.reserve(topics.size());
  for (const HelpTopic& topic : topics) offsets_.push_back(topic.Offset);
}

std::optional<std::size_t> TopicNaming::TopicAt(std::uint32_t offset) const {
  auto after = std::upper_bound(offsets_.begin(), offsets_.end(), offset);
  if (after == offsets_.begin()) return std::nullopt;
  return static_cast<std::size_t>(after - offsets_.begin() - 1);
}

bool TopicNaming::Take(const ByteString& name) { return used_.insert(LowerCase(name)).second; }

ByteString TopicNaming::UniqueName(const ByteString& base) {
  if (Take(base)) return base;
  for (long long n = 2;; ++n) {
    ByteString name = base + "_" + DecimalText(n);
    if (Take(name)) return name;
  }
}

void TopicNaming::NameTopics(const std::vector<HashedContext>& contexts, const ContextNames& names) {
  // Recovered names first: they are unique already (one name per hash).
  std::vector<std::optional<ContextNames::Source>> best(topics_.size());
  for (const HashedContext& context : contexts) {
    const ByteString* name = names.Find(context.Hash);
    std::optional<std::size_t> topic = TopicAt(context.Offset);
    if (!name || !topic || !Take(*name)) continue;
    if (context.Offset != offsets_[*topic]) {
      places_[context.Offset].push_back(*name);
      continue;
    }
    const ContextNames::Source source = names.SourceOf(context.Hash);
    if (!best[*topic] || source < *best[*topic]) {
      if (!names_[*topic].empty()) otherNames_[*topic].push_back(names_[*topic]);
      names_[*topic] = *name;
      best[*topic] = source;
    } else {
      otherNames_[*topic].push_back(*name);
    }
  }
  for (std::size_t t = 0; t < topics_.size(); ++t) {
    if (!names_[t].empty()) continue;
    ByteString base = NameFromTitle(topics_[t].Title);
    names_[t] = UniqueName(base.empty() ? "topic_" + DecimalText(static_cast<long long>(t + 1)) : base);
  }
}

std::optional<ByteString> TopicNaming::PlaceName(std::uint32_t offset) {
  std::optional<std::size_t> topic = TopicAt(offset);
  if (!topic) return std::nullopt;
  if (offset == offsets_[*topic]) return names_[*topic];
  auto found = places_.find(offset);
  if (found != places_.end() && !found->second.empty()) return found->second.front();
  return AddName(offset, names_[*topic] + "_place");
}

std::optional<ByteString> TopicNaming::AddName(std::uint32_t offset, const ByteString& base) {
  std::optional<std::size_t> topic = TopicAt(offset);
  if (!topic) return std::nullopt;
  ByteString name = UniqueName(base);
  if (offset == offsets_[*topic]) {
    otherNames_[*topic].push_back(name);
  } else {
    places_[offset].push_back(name);
  }
  return name;
}

void TopicNaming::WriteNames() {
  auto text = [this](const ByteString& name) {
    DocText decoded;
    decoder_.Decode(name, nullptr, decoded);
    return decoded;
  };
  for (std::size_t t = 0; t < topics_.size(); ++t) {
    std::vector<Footnote>& notes = document_.Topics[t].Footnotes;
    std::vector<Footnote> names{Footnote{U'#', text(names_[t])}};
    for (const ByteString& name : otherNames_[t]) names.push_back(Footnote{U'#', text(name)});
    notes.insert(notes.begin(), names.begin(), names.end());
  }
  // Places last: their anchors go in front of the pieces of their paragraph.
  for (const auto& [offset, placeNames] : places_) {
    const std::size_t t = *TopicAt(offset);
    Topic& topic = document_.Topics[t];
    std::size_t paragraph = 0;
    for (const auto& [recordOffset, first] : topics_[t].Records) {
      if (recordOffset <= offset) paragraph = first;
    }
    if (topic.Paragraphs.empty()) topic.Paragraphs.emplace_back();
    const bool atEnd = paragraph >= topic.Paragraphs.size();
    std::vector<Inline>& pieces = topic.Paragraphs[atEnd ? topic.Paragraphs.size() - 1 : paragraph].Inlines;
    std::size_t at = atEnd ? pieces.size() : 0;
    for (const ByteString& name : placeNames) {
      Inline anchor;
      anchor.Kind = InlineKind::Anchor;
      anchor.Text = text(name);
      pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(at++), anchor);
      topic.Footnotes.push_back(Footnote{U'#', anchor.Text, true});
    }
  }
}

}  // namespace quorvex
