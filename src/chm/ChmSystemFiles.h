#pragma once
// The system files HTML Help reads about a compiled help: #SYSTEM (title,
// default topic, contents and index file, language, flags), #WINDOWS (the
// window definitions), #IVB (context ids of context-sensitive help) and the
// topic tables #TOPICS, #URLTBL and #URLSTR. Their texts go into #STRINGS.
// Texts are the project's bytes (its ANSI code page), as HTML Help expects.

#include <cstdint>
#include <string>
#include <vector>

#include "base/ByteString.h"
#include "chm/ChmStringTable.h"
#include "chm/HelpProjectFile.h"

namespace quorvex {

/// A page of the compiled help with its title.
struct ChmTopic {
  ByteString path;  ///< "html/a.html", relative, "/" separated
  ByteString title;
  bool inContents = false;
};

/// A context id and the page it opens ("html/a.html#part").
struct ChmContextId {
  std::uint32_t id = 0;
  ByteString target;
};

/// #SYSTEM for the project; `compiler` names the program that wrote it.
std::string SystemFile(const HelpProjectFile& project, const ByteString& compiler);

/// #WINDOWS for the project's window definitions.
std::string WindowsFile(const std::vector<HhpWindow>& windows, ChmStringTable& strings);

/// #IVB: the context ids in ascending order with the #STRINGS offset of their page.
std::string ContextIdFile(std::vector<ChmContextId> ids, ChmStringTable& strings);

struct ChmTopicTables {
  std::string topics, urlTable, urlStrings;
};

/// #TOPICS, #URLTBL and #URLSTR for the pages, in their order.
ChmTopicTables TopicTables(const std::vector<ChmTopic>& topics, ChmStringTable& strings);

/// True for the languages whose ANSI code page has two-byte characters
/// (Japanese, Chinese, Korean).
bool IsDoubleByteLanguage(std::uint32_t lcid);

}  // namespace quorvex
