#pragma once
// Where a link to a context string goes, for jumps, popups, contents entries,
// the default topic and the context map alike.

#include <string_view>

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

struct TopicLink {
  ByteString Context;  ///< the context after following [ALIAS]
  ByteString Page;     ///< the page file name (no folder); empty for an empty context
  ByteString Anchor;   ///< a place on the page, or empty
  bool Indexed = false;  ///< the context belongs to a topic read as a document

  /// "page" or "page#anchor".
  ByteString Href() const { return Anchor.empty() ? Page : Page + "#" + Anchor; }
};

/// Follows the [ALIAS] chain from `context`; an alias whose target is no
/// topic read as a document while `context` itself is one gives `context`,
/// with a warning.
ByteString ResolveAlias(const ConversionJob& job, std::string_view context);

/// Follows the [ALIAS] chain from `context`, then asks the topics read as
/// documents; a context they do not know gets the page PageName gives it.
TopicLink ResolveTopic(const ConversionJob& job, std::string_view context);

}  // namespace quorvex
