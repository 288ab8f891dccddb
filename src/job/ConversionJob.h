#pragma once
// The state of one conversion: what the project says, what the topics pass
// collects, and what the writers read at the end.

#include <map>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/ByteString.h"
#include "base/StringList.h"
#include "job/ContextMap.h"
#include "job/PictureNames.h"
#include "job/StatusSink.h"
#include "job/TopicIndex.h"
#include "job/TopicTexts.h"

namespace quorvex {

struct ConversionJob;

/// Another help that this help's references may lead into ("ctx@other.hlp").
struct OtherHelp {
  ByteString HelpFile;   ///< the .hlp file references name it by, no folder
  ByteString Chm;        ///< the .chm it becomes, no folder
  ByteString Folder;     ///< its folder beside this help's in the run's output folder
  const ConversionJob* Job = nullptr;  ///< its conversion, read before any page of the run is written
};

struct ConversionJob {
  ByteString ProjectPath;    ///< the chosen .hpj file
  ByteString ProjectFolder;  ///< folder of ProjectPath, ending in "\" (or ":")
  ByteString OutputFolder;   ///< destination folder, ending in "\"
  ByteString Title;          ///< TITLE=
  ByteString ContentsTopic;  ///< CONTENTS=: topic name of the default topic
  ByteString ContentsFile;   ///< CNT=: the contents file relative to ProjectFolder, or empty
  ByteString HelpFileName;   ///< the .hlp file the project makes (HLP=, else named after the project), no folder
  ByteString BodyColorAttr;  ///< " bgcolor=#rrggbb" from the main window's colour, or empty
  int CodePage = 0;          ///< the project's code page (CHARSET=, LCID= or --codepage); 0: not said

  /// Folders named by ROOT= (topic files) and BMROOT= (pictures), in the order
  /// given, each ending in "\"; relative ones are relative to ProjectFolder.
  /// The project folder itself is searched after them.
  std::vector<ByteString> TopicFolders;
  std::vector<ByteString> BitmapFolders;
  /// [BITMAPS]: pictures by path, for references that name only the file.
  std::vector<ByteString> BitmapFiles;

  Aliases TopicAliases;      ///< [ALIAS]: context -> context
  ContextMap HelpContexts;   ///< [MAP]: context -> numeric id, for context-sensitive help
  TopicIndex Topics;         ///< contexts of the topics read as documents -> their pages
  std::vector<ByteString> WrittenPages;  ///< pages written by the topics pass, in order
  PictureNames ImageNames;   ///< names of the pictures written into the folder img
  std::vector<OtherHelp> OtherHelps;  ///< the other helps of a run converted together
  /// A compiled help's context hashes and the contexts that stand for them.
  std::unordered_map<std::uint32_t, ByteString> HashedContexts;
  /// Pictures of a compiled help written into the folder img so far, with their width and height.
  std::map<ByteString, std::pair<int, int>> HelpPictures;

  bool CombinePopups = false;      ///< popups are collected in html\popup.js
  bool HasContents = false;        ///< the .hhc got at least one entry
  bool HasIndex = false;           ///< the .hhk was written
  bool TableBorder = false;        ///< the next table of the page gets a border
  bool PageUsesPopupFile = false;  ///< the page being built links a popup of popup.js
  bool KeepGoing = false;          ///< missing topic files and unreadable pictures or includes are warnings
  bool WebHelp = false;            ///< also write the browser help into web\ (chosen before the conversion)

  StringList ProjectFiles;   ///< [FILES] lines, in file order
  StringList PopupPages;     ///< pages of topics read as popup text, each once
  StringList JumpPages;      ///< pages that jumps reach, each once
  StringList NameMapKeys;    ///< cnv.txt first fields, lower-cased
  StringList NameMapValues;  ///< cnv.txt second fields, parallel to NameMapKeys
  StringList IndexKeywords;  ///< index entries; second-level ones start with two blanks
  StringList IndexPages;     ///< page of each index entry, empty for a bare heading
  StringList PopupTopics;    ///< topics in popup.js; position + 1 is the popup number
  StringList PopupLines;     ///< lines of popup.js

  /// Popup texts of topics read as documents; not owned, may be null.
  TopicTexts* Documents = nullptr;

  /// Where status texts go; not owned, may be null.
  StatusSink* Status = nullptr;

  /// Sends a status text to the sink, if there is one.
  void ReportStatus(const ByteString& text) const {
    if (Status) Status->SetStatus(text);
  }
  /// Lets the window repaint, if there is one.
  void ProcessPendingEvents() const {
    if (Status) Status->ProcessPendingEvents();
  }
  /// One more unit of work (a page, a picture) done of ProgressTotal.
  void Advance() {
    ++ProgressDone;
    if (Status) Status->Progress(ProgressDone, ProgressTotal);
  }
  long ProgressDone = 0;   ///< pages and pictures written so far
  long ProgressTotal = 0;  ///< pages and pictures the topics pass expects to write

  /// Reports a problem that does not stop the conversion.
  void Warn(const ByteString& file, const ByteString& what) const {
    if (Status) Status->Warn(file, what);
  }
  /// Warns only the first time this file and text come up in the conversion.
  void WarnOnce(const ByteString& file, const ByteString& what) const {
    if (WarnedOnce.insert(file + '\0' + what).second) Warn(file, what);
  }
  /// What WarnOnce has said already.
  mutable std::unordered_set<ByteString> WarnedOnce;
};

}  // namespace quorvex
