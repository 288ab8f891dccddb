#pragma once
// What the line scanner remembers from one line of a topic file to the next.

namespace quorvex {

struct TopicScanState {
  bool NonScrolling = false;  ///< inside the non-scrolling region ("\keepn " in the header) until "\pard "
  bool Bold = false;          ///< bold is on
  unsigned CurrentColor = 0;  ///< RTF colour number of the open colour tag; 0 when none is open
  bool InTable = false;       ///< a table element is open
  bool InCell = false;        ///< a table cell is open
  bool InList = false;        ///< a bulleted list is open
  bool InMenu = false;        ///< an indented block is open
  bool AfterRule = false;     ///< a paragraph border rule was just written; the next paragraph break writes nothing
};

}  // namespace quorvex
