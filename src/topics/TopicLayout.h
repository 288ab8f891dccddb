#pragma once
// Where the content of a topic file starts: after the RTF header line and,
// when there is one, the colour table line.

#include "base/StringList.h"

namespace quorvex {

/// Index of the first content line: 2 when line 1 is the colour table, else 1.
int FindContentStart(const StringList& lines);

/// When line `contentStart` ends in "}" plus one byte and the next line begins
/// "\viewkind", appends that line to it and removes it. A missing next line
/// joins nothing.
void JoinViewkindLine(StringList& lines, int contentStart);

}  // namespace quorvex
