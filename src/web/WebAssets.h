#pragma once
// The viewer's fixed files (index.html, its scripts and styles), taken from
// src/web/assets into the program when it is built, so that an installed
// converter writes them without the source tree.

#include <span>
#include <string_view>

namespace quorvex {

struct WebAsset {
  std::string_view path;  ///< relative to web/, "/" between folders
  std::string_view data;
};

/// Every file under src/web/assets, sorted by path.
std::span<const WebAsset> WebAssets();

}  // namespace quorvex
