#pragma once
// Where a link to a context string goes, for jumps, popups, contents entries,
// the default topic and the context map alike, also into another help
// ("ctx@other.hlp").

#include <string_view>

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

struct TopicLink {
  ByteString Context;  ///< the context after following [ALIAS]
  ByteString Page;     ///< the page file name (no folder); empty for an empty context
  ByteString Anchor;   ///< a place on the page, or empty
  bool Indexed = false;  ///< the context belongs to a topic read as a document
  ByteString Chm;      ///< the compiled help of another help the link leads into; empty for this help
  const OtherHelp* Other = nullptr;  ///< that help, when the run converts it too

  /// From a page of html/: "page", "page#anchor", or for another help
  /// "ms-its:other.chm::/html/page".
  ByteString Href() const;
  /// From the project's folder (.hhc and .hhk Locals, the .hhp): "html/page",
  /// or for another help "other.chm::/html/page".
  ByteString LocalHref() const;
};

/// Follows the [ALIAS] chain from `context`; an alias whose target is no
/// topic read as a document while `context` itself is one gives `context`,
/// with a warning.
ByteString ResolveAlias(const ConversionJob& job, std::string_view context);

/// Follows the [ALIAS] chain from `context`, then asks the topics read as
/// documents; a context they do not know gets the page PageName gives it.
/// "ctx@file.hlp" naming this project's own help file is "ctx"; naming
/// another help it is that help's topic: as that help's conversion names it
/// when the run converts it too, else as Quorvex names the pages of a help.
TopicLink ResolveTopic(const ConversionJob& job, std::string_view context);

/// For a link into another help: what is wrong with it, or empty when
/// nothing is (the run converts that help, and it has the topic).
ByteString OtherHelpProblem(const TopicLink& link);

}  // namespace quorvex
