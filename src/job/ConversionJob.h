#pragma once
// The state of one conversion: what the project says, what the topics pass
// collects, and what the writers read at the end.

#include "base/ByteString.h"
#include "base/StringList.h"
#include "job/StatusSink.h"

namespace quorvex {

struct ConversionJob {
  ByteString ProjectPath;    ///< the chosen .hpj file
  ByteString ProjectFolder;  ///< folder of ProjectPath, ending in "\" (or ":")
  ByteString OutputFolder;   ///< destination folder, ending in "\"
  ByteString Title;          ///< TITLE=
  ByteString BitmapRoot;     ///< BMROOT= plus "\", or empty
  ByteString TopicRoot;      ///< ROOT= plus "\", or empty
  ByteString ContentsTopic;  ///< CONTENTS=: topic name of the default topic
  ByteString BodyColorAttr;  ///< " bgcolor=#rrggbb" from the main window's colour, or empty

  bool CombinePopups = false;      ///< popups are collected in html\popup.js
  bool HasContents = false;        ///< the .hhc got at least one entry
  bool HasIndex = false;           ///< the .hhk was written
  bool TableBorder = false;        ///< the next table of the page gets a border
  bool PageUsesPopupFile = false;  ///< the page being built links a popup of popup.js
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
};

}  // namespace quorvex
