#pragma once
// The error that ends a conversion the user cancelled. The window raises it
// from its progress report; a run of several helps lets it end the whole run
// instead of marking one help failed.

#include "base/Errors.h"
#include "base/Texts.h"

namespace quorvex {

/// The user cancelled the conversion: "変換を中止しました".
class EConversionCancelled : public Exception {
 public:
  EConversionCancelled() : Exception(kConversionCancelled) {}
};

}  // namespace quorvex
