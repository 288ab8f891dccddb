#pragma once
// WinHelp hotspots in a paragraph: underlined, double-underlined or struck
// text (and pictures) followed by hidden text that names the target. Only the
// character formatting finds them: either part may span many groups, or none.

#include <vector>

#include "model/HelpDocument.h"

namespace quorvex {

/// A stretch of a paragraph's inline pieces [First, Last): plain pieces, or a
/// hotspot's visible pieces with its target (the hidden pieces after them are
/// not part of any stretch).
struct Stretch {
  std::size_t First = 0, Last = 0;
  bool Hotspot = false;
  bool Jump = false;  ///< double underline or strike; else a popup
  DocText Target;     ///< the hidden text after it, trimmed
};

/// The paragraph's pieces in stretches. Hidden text wins over underline; an
/// underline without hidden text after it is plain text; hidden text after no
/// hotspot is in no stretch (it is dropped).
std::vector<Stretch> SplitHotspots(const Paragraph& paragraph);

/// A hotspot's target, taken apart.
struct HotspotTarget {
  bool IsMacro = false;
  DocText Context;        ///< the context string (no window, no file)
  DocText File;           ///< "ctx@file.hlp" (or "ctx>window@file.hlp"): the help file named, else empty
  DocText MacroName;      ///< "JI", "AL", ... as written
  std::vector<DocText> Arguments;  ///< the macro's arguments, quotes removed
};

/// "%" and "*" in front are dropped, ">window" is dropped; "!" starts a macro
/// (only the first of several is kept).
HotspotTarget ParseTarget(const DocText& target);

}  // namespace quorvex
