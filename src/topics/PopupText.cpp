#include "topics/PopupText.h"

#include "base/Files.h"
#include "base/StringList.h"
#include "project/NameMap.h"
#include "topics/LineCursor.h"
#include "topics/TopicLayout.h"

namespace quorvex {
namespace {

// The footnotes at the start of the first content line (and any other group
// that follows a single character there) are not part of the popup's text.
void SkipLeadingFootnotes(LineCursor& cursor) {
  while (!cursor.AtEnd() && !(cursor.Is('#') && cursor.Is('{', 1))) cursor.Step();
  bool groupPending = true;
  while (!cursor.AtEnd()) {
    if (groupPending) {
      cursor.AdvancePast('}');
      cursor.StepOverSpace();
      groupPending = false;
    } else if (cursor.Is('{', 1)) {
      cursor.Step(2);
      groupPending = true;
    } else {
      break;
    }
  }
}

// Bold cannot be shown in a text popup: "\b" and "\b0" are dropped with
// their space, longer words beginning with b like any control word.
void SkipBold(LineCursor& cursor) {
  cursor.Step(2);
  if (cursor.Is('0')) {
    cursor.Step();
    cursor.StepOverSpace();
  } else if (cursor.Is(' ')) {
    cursor.Step();
  } else if (!cursor.Is('\\') && !cursor.Is('{')) {
    cursor.SkipControlWord();
  }
}

void AppendLineText(LineCursor& cursor, ByteString& text) {
  bool groupPending = false;
  while (!cursor.AtEnd()) {
    if (groupPending) {
      cursor.AdvancePast('}');
      cursor.StepOverSpace();
      groupPending = false;
    } else if (cursor.LooksAt("\\'")) {
      cursor.Step(2);
      text += cursor.TakeHexByte();
    } else if (cursor.LooksAt("\\par ")) {
      cursor.Step(5);
      if (!cursor.Is('}')) text += "\\n";
    } else if (cursor.LooksAt("\\b")) {
      SkipBold(cursor);
    } else if (cursor.Is('\\')) {
      cursor.Step();
      cursor.SkipControlWord();
    } else if (cursor.Is('{')) {
      // The group's text up to its first "}" goes, hotspots included.
      cursor.Step();
      groupPending = true;
    } else {
      unsigned char c = static_cast<unsigned char>(cursor.Take());
      if (c >= 20 && c != '}') text += static_cast<char>(c);
    }
  }
}

}  // namespace

ByteString ReadPopupText(ConversionJob& job, const ByteString& path) {
  if (!FileExists(path)) return ByteString();
  ByteString page = PageName(job, ChangeFileExt(ExtractFileName(path), ""));
  if (job.PopupPages.IndexOf(page) < 0) job.PopupPages.Add(page);

  StringList lines;
  lines.LoadFromFile(path);
  int contentStart = FindContentStart(lines);
  JoinViewkindLine(lines, contentStart);

  ByteString text;
  for (int i = contentStart; i < lines.Count(); ++i) {
    if (lines[i].empty()) continue;
    LineCursor cursor(lines[i]);
    if (i == contentStart) SkipLeadingFootnotes(cursor);
    AppendLineText(cursor, text);
  }
  return text;
}

}  // namespace quorvex
