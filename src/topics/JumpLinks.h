#pragma once
// Jumps to other topics' pages.

#include <string_view>

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// The page (with its anchor, if any) a jump to `topic` links to; the page is
/// recorded once in JumpPages so the final clean-up keeps it.
ByteString AddJumpLink(ConversionJob& job, std::string_view topic);

}  // namespace quorvex
