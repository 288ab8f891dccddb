#pragma once
// The file names pictures get under img\. Every picture lands in img\ itself,
// whatever folder its reference names, so two picture files of one name from
// different folders must not overwrite each other.

#include <string_view>
#include <unordered_map>

#include "base/ByteString.h"

namespace quorvex {

class PictureNames {
 public:
  /// The name under img\ for the picture read from `source` (a path, or any
  /// text that tells the picture apart), which would like to be called
  /// `wanted` (no folder). The same source always gets the same name; another
  /// source that wants a taken name gets "_2", "_3", ... before the extension.
  ByteString Claim(std::string_view source, const ByteString& wanted);
  void Clear() {
    bySource_.clear();
    owners_.clear();
  }

 private:
  std::unordered_map<ByteString, ByteString> bySource_;  // lower-cased source -> name
  std::unordered_map<ByteString, ByteString> owners_;    // lower-cased name -> lower-cased source
};

}  // namespace quorvex
