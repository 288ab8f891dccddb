#pragma once
// One paragraph's inline pieces as page text: formatting tags, hotspot links,
// pictures, anchors.

#include "base/ByteString.h"
#include "document/DocumentLinks.h"
#include "document/DocumentSet.h"
#include "topics/TopicPage.h"

namespace quorvex {

class InlineHtml {
 public:
  InlineHtml(TopicPage& page, const DocumentFile& file, DocumentLinks& links)
      : page_(page), file_(file), links_(links) {}

  /// The paragraph's content. In the non-scrolling region bold shows as a heading.
  ByteString Paragraph(const quorvex::Paragraph& paragraph, bool nonScrolling);

 private:
  struct Tag {
    char Kind;  ///< 'c' colour, 'z' size, 'b' bold (or heading), 'i', 'p' superscript, 's' subscript
    ByteString Open, Close;
    bool operator==(const Tag& other) const { return Kind == other.Kind && Open == other.Open; }
  };

  void Piece(const Inline& piece);
  void FormatFor(const CharFormat& format);
  void CloseTags();
  std::vector<Tag> TagsFor(const CharFormat& format) const;

  TopicPage& page_;
  const DocumentFile& file_;
  DocumentLinks& links_;
  ByteString out_;
  std::vector<Tag> open_;
  bool nonScrolling_ = false;
  bool inFieldLink_ = false;
};

}  // namespace quorvex
