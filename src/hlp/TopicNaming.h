#pragma once
// Names for the topics and places of a compiled help. A topic is named after
// the best context name recovered for its start, else after its title (ASCII
// letters and digits, lower case), else "topic_<n>"; places inside a topic
// that something reaches get an anchor. Names are unique, letter case ignored.

#include <cstdint>
#include <map>
#include <optional>
#include <unordered_set>
#include <vector>

#include "base/ByteString.h"
#include "hlp/ContextNames.h"
#include "hlp/HelpTopic.h"
#include "hlp/IndexFiles.h"
#include "model/HelpDocument.h"
#include "model/TextDecoder.h"

namespace quorvex {

/// A name made from a title: ASCII letters and digits in lower case, runs of
/// anything else as one "_", at most 40 characters; empty when the title has
/// no letter or digit of ASCII.
ByteString NameFromTitle(const DocText& title);

class TopicNaming {
 public:
  /// `topics` parallel to `document.Topics`, in file order.
  TopicNaming(HelpDocument& document, const std::vector<HelpTopic>& topics, const TextDecoder& decoder);

  /// The topic whose text holds `offset`, or nothing.
  std::optional<std::size_t> TopicAt(std::uint32_t offset) const;

  /// Names every topic, and keeps the other recovered names of the contexts:
  /// at a topic's start they name its page too, inside it a place.
  void NameTopics(const std::vector<HashedContext>& contexts, const ContextNames& names);

  const ByteString& TopicName(std::size_t topic) const { return names_[topic]; }

  /// The context that reaches `offset`: the topic's name at its start, else
  /// an anchor there (made the first time); nothing outside every topic.
  std::optional<ByteString> PlaceName(std::uint32_t offset);

  /// Gives the place at `offset` the name `base` (made unique), and returns
  /// it; nothing outside every topic.
  std::optional<ByteString> AddName(std::uint32_t offset, const ByteString& base);

  /// Writes the "#" footnotes (the topic's name first) and the anchors of
  /// the places into the document. Call once, after every name is given and
  /// every hotspot target written (anchors shift the pieces of a paragraph).
  void WriteNames();

 private:
  ByteString UniqueName(const ByteString& base);
  bool Take(const ByteString& name);

  HelpDocument& document_;
  const std::vector<HelpTopic>& topics_;
  const TextDecoder& decoder_;
  std::vector<std::uint32_t> offsets_;
  std::vector<ByteString> names_;
  std::vector<std::vector<ByteString>> otherNames_;          // more names of a topic's start
  std::map<std::uint32_t, std::vector<ByteString>> places_;  // names of places inside topics
  std::unordered_set<ByteString> used_;                      // lower-cased
};

}  // namespace quorvex
