#pragma once
// Popup texts of topics that live in documents.

#include "document/DocumentSet.h"
#include "job/TopicTexts.h"

namespace quorvex {

/// A topic's popup text: its visible paragraphs joined by the script's
/// paragraph mark (backslash and "n"), hotspots as plain text, pictures and
/// hidden text left out; the content of a script string.
ByteString TopicPopupText(const Topic& topic);

class DocumentPopups : public TopicTexts {
 public:
  explicit DocumentPopups(const DocumentSet& set) : set_(set) {}
  std::optional<ByteString> PopupText(ConversionJob& job, const ByteString& context) override;

 private:
  const DocumentSet& set_;
};

}  // namespace quorvex
