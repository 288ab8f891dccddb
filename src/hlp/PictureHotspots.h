#pragma once
// The hotspot targets of a picture in the .shg form (|bm files and pictures
// kept in topic records): context names as the author wrote them, and
// macros. Such names are the best clue to the names of the topics they reach.

#include <cstdint>
#include <span>
#include <vector>

#include "base/ByteString.h"

namespace quorvex {

/// The target strings of every hotspot of every resolution of `picture`;
/// what cannot be read gives nothing.
std::vector<ByteString> PictureHotspotTargets(std::span<const std::uint8_t> picture);

}  // namespace quorvex
