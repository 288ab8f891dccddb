#pragma once
// Where a document's hotspots and buttons go: jumps to pages (and places on
// them), popups, and the macros that have a counterpart in a page.

#include <optional>
#include <set>

#include "base/ByteString.h"
#include "document/DocumentSet.h"
#include "document/Hotspots.h"
#include "job/ConversionJob.h"
#include "topics/TopicPage.h"

namespace quorvex {

class DocumentLinks {
 public:
  DocumentLinks(ConversionJob& job, DocumentSet& set, const DocumentFile& file) : job_(job), set_(set), file_(file) {}

  /// The href of a hotspot (the hidden target after its text); nothing when
  /// it leads nowhere a page can go, and then the text stays unlinked.
  std::optional<ByteString> Hotspot(TopicPage& page, const DocText& target, bool jump);
  /// The href of a URL or file named by a HYPERLINK field or ExecFile:
  /// web and mail addresses, and files the help carries along; nothing for
  /// other schemes (javascript:, ...) and files that are not there.
  std::optional<ByteString> Url(const ByteString& url);
  /// The href of a button's macro, likewise.
  std::optional<ByteString> Button(TopicPage& page, const DocText& macro);

 private:
  std::optional<ByteString> Jump(const ByteString& context);
  std::optional<ByteString> Popup(TopicPage& page, const ByteString& context);
  std::optional<ByteString> Macro(TopicPage& page, const HotspotTarget& target);
  std::optional<ByteString> KeywordLink(const std::vector<DocText>& arguments, bool alink);
  ByteString ListPage(const ByteString& keywords, const std::vector<TopicRef>& topics, bool alink);
  void Warn(const ByteString& what);

  ConversionJob& job_;
  DocumentSet& set_;
  const DocumentFile& file_;
  std::set<ByteString> warned_;
};

/// A URL as an href: "&" and the double quote escaped.
ByteString UrlHref(const ByteString& url);

}  // namespace quorvex
