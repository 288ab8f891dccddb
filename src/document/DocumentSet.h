#pragma once
// The topic files of a project that are read as documents, and everything
// known about their topics once all of them are read: pages, titles,
// contexts, keywords. Jumps into a later file resolve because pages are
// written only after every file has been read.

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/ByteString.h"
#include "job/ConversionJob.h"
#include "model/HelpDocument.h"
#include "project/NameMap.h"

namespace quorvex {

/// What the project knows about one topic of a document.
struct TopicEntry {
  ByteString Page;                   ///< page file name, no folder
  ByteString Title;                  ///< "$" footnote as page text (HTML), or empty
  std::vector<ByteString> Contexts;  ///< "#" footnotes, as written
  std::vector<DocText> Keywords;     ///< "K" footnotes, whole
  std::vector<DocText> ALinks;       ///< "A" footnotes, whole
};

struct DocumentFile {
  ByteString Entry;  ///< the [FILES] line
  ByteString Path;   ///< where it was read from
  ByteString Name;   ///< the file's name without folder and extension, lower-cased
  HelpDocument Document;
  std::vector<TopicEntry> Topics;  ///< parallel to Document.Topics
};

/// Where a topic lives: file and topic index.
struct TopicRef {
  std::size_t File = 0;
  std::size_t Topic = 0;
};

class DocumentSet {
 public:
  std::vector<DocumentFile> Files;

  /// Takes a document read elsewhere (a compiled help) as the one of its Entry
  /// (an entry known already keeps its first document).
  DocumentFile& Add(DocumentFile file);
  /// The document read for a [FILES] entry, or null when the entry is no document.
  DocumentFile* Find(const ByteString& entry);
  /// The topic a context string (aliases followed already) belongs to.
  const TopicRef* FindContext(const ByteString& context) const;
  /// Topics carrying a "K" (or with `alinks`, an "A") keyword, letter case ignored, in reading order.
  const std::vector<TopicRef>* FindKeyword(const ByteString& keyword, bool alinks) const;
  const TopicEntry& Entry(const TopicRef& ref) const { return Files[ref.File].Topics[ref.Topic]; }
  const Topic& TopicOf(const TopicRef& ref) const { return Files[ref.File].Document.Topics[ref.Topic]; }

  /// A page name no topic or generated page has yet, recorded as taken:
  /// `base` + ".html", else with "_2", "_3", ... before ".html".
  ByteString ClaimPage(const ByteString& base, bool& collided);
  /// Records a page name as taken (pages of one-topic files).
  void TakePage(const ByteString& page) { takenPages_.insert(LowerCase(page)); }
  bool IsTaken(const ByteString& page) const { return takenPages_.count(LowerCase(page)) > 0; }

  /// Read from a compiled help (one document): its topics in the order
  /// contents made without a .cnt list them.
  bool FromCompiledHelp = false;
  std::vector<std::size_t> TopicOrder;

  /// The page of the project's first topic, for JumpContents() without CONTENTS=.
  ByteString FirstPage;
  /// Pages written for keyword links that find several topics, by kind and keywords.
  std::unordered_map<ByteString, ByteString> ListPages;

 private:
  friend void ReadDocuments(ConversionJob& job, DocumentSet& set);
  friend void IndexDocuments(ConversionJob& job, DocumentSet& set);
  std::unordered_map<ByteString, std::size_t> byEntry_;
  std::unordered_map<ByteString, TopicRef> contexts_;
  std::unordered_map<ByteString, std::vector<TopicRef>> keywords_, alinks_;
  std::unordered_set<ByteString> takenPages_;
};

/// Pass one: reads every [FILES] entry that is a document (see IsDocumentForm)
/// into the set. Entries that are missing, unreadable or one-topic files are
/// left to the topic converter, which reports them as it always has.
void ReadDocuments(ConversionJob& job, DocumentSet& set);

/// Names every topic's page and records its contexts (in job.Topics too),
/// title and keywords. A topic is named after its first "#" context; one
/// without any after its file and number, with a warning; names that collide
/// get "_2", "_3", ... with a warning.
void IndexDocuments(ConversionJob& job, DocumentSet& set);

}  // namespace quorvex
