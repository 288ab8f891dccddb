#include "platform/Metafile.h"

namespace quorvex {

std::vector<std::uint8_t> EnhancedToPlaceableMetafile(std::span<const std::uint8_t>) {
  throw EInvalidGraphic("Enhanced metafiles are not translated yet");
}

}  // namespace quorvex
