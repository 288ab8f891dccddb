#include "topics/TopicLayout.h"

namespace quorvex {

int FindContentStart(const StringList& lines) {
  if (lines.Count() < 2) return 1;
  return StartsWith(lines[1], "{\\colortbl") ? 2 : 1;
}

void JoinViewkindLine(StringList& lines, int contentStart) {
  if (contentStart >= lines.Count()) return;
  const ByteString& line = lines[contentStart];
  if (line.size() < 2 || line[line.size() - 2] != '}') return;
  // Without a following line there is nothing to join; the page goes on
  // with the line as it is.
  if (contentStart + 1 >= lines.Count()) return;
  if (!StartsWith(lines[contentStart + 1], "\\viewkind")) return;
  lines.Set(contentStart, lines[contentStart] + lines[contentStart + 1]);
  lines.Delete(contentStart + 1);
}

}  // namespace quorvex
