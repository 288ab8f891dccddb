#pragma once
// Where popup texts of topics that live inside documents come from; the
// conversion driver lends one to the topics pass.

#include <optional>

#include "base/ByteString.h"

namespace quorvex {

struct ConversionJob;

class TopicTexts {
 public:
  virtual ~TopicTexts() = default;
  /// The popup text (the content of a script string) of the topic `context`
  /// names, its page recorded as serving popups; nothing when no document
  /// holds such a topic.
  virtual std::optional<ByteString> PopupText(ConversionJob& job, const ByteString& context) = 0;
};

}  // namespace quorvex
