#include "topics/Keywords.h"

namespace quorvex {
namespace {

struct KeywordEntry {
  ByteString first;
  ByteString second;
  bool hasComma = false;
};

void AddEntry(ConversionJob& job, const KeywordEntry& entry, const ByteString& pageName) {
  AddIndexEntry(job, entry.first, entry.hasComma ? std::optional<ByteString>(entry.second) : std::nullopt, pageName);
}

}  // namespace

void AddIndexEntry(ConversionJob& job, const ByteString& first, const std::optional<ByteString>& second,
                   const ByteString& pageName) {
  if (!second) {
    job.IndexKeywords.Add(first);
    job.IndexPages.Add(pageName);
    return;
  }
  const ByteString subEntry = "  " + *second;
  int found = job.IndexKeywords.IndexOf(first);
  if (found < 0) {
    job.IndexKeywords.Add(first);
    job.IndexPages.Add("");
  }
  if (found < 0 || found == job.IndexKeywords.Count() - 1) {
    job.IndexKeywords.Add(subEntry);
    job.IndexPages.Add(pageName);
  } else {
    // Later topics' second-level keywords go directly under the heading, so
    // they end up in front of the ones filed earlier.
    job.IndexKeywords.Insert(found + 1, subEntry);
    job.IndexPages.Insert(found + 1, pageName);
  }
}

void AddKeywords(ConversionJob& job, std::string_view text, const ByteString& pageName) {
  KeywordEntry entry;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = CharLength(text, i);
    std::string_view character = text.substr(i, length);
    i += length;
    if (character == ";") {
      // An empty entry between two ";" still counts as a keyword.
      AddEntry(job, entry, pageName);
      entry = KeywordEntry();
    } else if (character == "," && !entry.hasComma) {
      entry.hasComma = true;
    } else {
      (entry.hasComma ? entry.second : entry.first) += character;
    }
  }
  if (!entry.first.empty()) AddEntry(job, entry, pageName);
}

}  // namespace quorvex
