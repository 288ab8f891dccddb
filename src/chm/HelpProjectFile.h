#pragma once
// The HTML Help project file (.hhp) as the compiler reads it: options,
// window definitions, listed files and the context-sensitive help sections.
// It is file data: any bytes read without failing; what makes no sense is
// reported in `problems` and left out.

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/ByteString.h"

namespace quorvex {

/// One [WINDOWS] line: its name and the comma-separated fields after "=",
/// quotes removed; a bracketed field ("[10,20,500,400]") stays one field.
struct HhpWindow {
  ByteString name;
  std::vector<ByteString> fields;
};

/// One context id of [MAP] with the alias name it belongs to.
struct HhpContextId {
  ByteString name;
  std::uint32_t id = 0;
};

/// One [ALIAS] line: alias name and the page (relative, an "#anchor" allowed).
struct HhpAlias {
  ByteString name;
  ByteString target;
};

struct HelpProjectFile {
  ByteString compiledFile;
  ByteString contentsFile;
  ByteString indexFile;
  ByteString defaultTopic;
  ByteString defaultWindow;
  ByteString defaultFont;
  ByteString title;
  std::uint32_t language = 0x409;
  bool fullTextSearch = false;
  bool binaryIndex = false;
  bool binaryToc = false;
  std::vector<HhpWindow> windows;
  std::vector<ByteString> files;
  std::vector<HhpAlias> aliases;
  std::vector<HhpContextId> contextIds;
  std::vector<ByteString> includes;  ///< files named by "#include" in [ALIAS] or [MAP]
  std::vector<ByteString> problems;  ///< lines not understood, one text each
};

/// Reads the project file's bytes.
HelpProjectFile ReadHelpProjectFile(std::string_view bytes);

/// Adds the "#define NAME NUMBER" lines of a map include file (a C header)
/// to `project.contextIds` and any "NAME=page" lines to `project.aliases`.
void ReadContextInclude(std::string_view bytes, HelpProjectFile& project);

}  // namespace quorvex
