#pragma once
// The keyword index (.hhk) from the topics' "K" footnotes.

#include "job/ConversionJob.h"

namespace quorvex {

/// Writes OutputFolder + base + ".hhk" from IndexKeywords/IndexPages when
/// there is at least one keyword; sets HasIndex and takes every entry's page
/// out of PopupPages. Nothing happens without keywords.
void WriteKeywordIndex(ConversionJob& job);

}  // namespace quorvex
