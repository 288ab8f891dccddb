#pragma once
// The browser help: web/ beside the HTML Help project, a viewer (contents,
// index, search, popups) that works from the file system and from any static
// web server, without a network.

#include "job/ConversionJob.h"

namespace quorvex {

/// Writes OutputFolder\web from what the conversion wrote: the pages of
/// html\ as UTF-8 copies that load our page script, help.css, popup.js, the
/// pictures of img\, the contents and index read back from the .hhc and .hhk,
/// the search data, and the viewer's own files. Files left in web\html,
/// web\img and web\webhelp by an earlier conversion are deleted first, so the
/// folder holds this help only. Runs after the .hhp is written.
void WriteWebHelp(ConversionJob& job);

}  // namespace quorvex
