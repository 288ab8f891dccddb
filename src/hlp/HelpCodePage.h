#pragma once
// Which code page the text of a compiled help is written in.

#include <vector>

#include "hlp/FontTable.h"
#include "hlp/SystemFile.h"

namespace quorvex {

/// `asked` when not 0; else the code page of the help's language, else of
/// its character set; else the face names tell, as WinHelp 3.1 files name no
/// language: Shift-JIS names say 932, the script in the names of the Windows
/// 3.1 fonts for other scripts ("Arial Cyr", "... CE", "Greek", "Tur",
/// "Baltic") its code page; else 1252.
int HelpCodePage(const SystemInfo& system, const std::vector<HelpFont>& fonts, int asked);

}  // namespace quorvex
