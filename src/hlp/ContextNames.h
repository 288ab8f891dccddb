#pragma once
// Context names recovered from the text that comes with a help: WinHelp keeps
// only hashes of context strings, so a name is known again when a string
// met somewhere (a macro, a contents file, a picture's hotspot, a keyword)
// hashes to one of the help's contexts.

#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "base/ByteString.h"

namespace quorvex {

class ContextNames {
 public:
  /// Where a name was met; earlier sources are trusted more when two names
  /// of different spelling hash alike.
  enum class Source : std::uint8_t { TopicIds, ContentsFile, Pictures, Macros, Keywords, Titles };

  /// Offers `name` (code page bytes, blanks around it dropped) as it is.
  void Offer(std::string_view name, Source source);
  /// Offers every part of a macro or a hotspot target that could be a
  /// context: quoted strings, and the pieces between the macro language's
  /// separators, each also without a ">window" or "@file" after it.
  void OfferMacro(std::string_view macro, Source source);

  /// The name found for `hash`, or null.
  const ByteString* Find(std::uint32_t hash) const;
  /// Where the name for `hash` was found; only for hashes Find knows.
  Source SourceOf(std::uint32_t hash) const { return names_.at(hash).From; }

 private:
  struct Name {
    ByteString Text;
    Source From;
  };
  std::unordered_map<std::uint32_t, Name> names_;
};

}  // namespace quorvex
