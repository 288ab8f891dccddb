#include "job/PictureNames.h"

#include <vector>

namespace quorvex {
namespace {

// The path lower-cased, with "\\" for "/" and its "." and "name\\.." steps
// taken, so that two ways of naming one file are one key.
ByteString SourceKey(std::string_view source) {
  std::vector<ByteString> parts;
  ByteString part;
  auto take = [&] {
    if (part == ".." && !parts.empty() && parts.back() != ".." && !parts.back().empty()) {
      parts.pop_back();
    } else if (part != ".") {
      parts.push_back(part);
    }
    part.clear();
  };
  const ByteString lower = LowerCase(source);
  for (std::size_t i = 0; i < lower.size(); i += CharLength(lower, i)) {
    if (lower[i] == '\\' || lower[i] == '/') {
      take();
    } else {
      part.append(lower, i, CharLength(lower, i));
    }
  }
  take();
  ByteString key;
  for (const ByteString& p : parts) key += (key.empty() && p.empty() ? "" : "\\") + p;
  return key;
}

}  // namespace

ByteString PictureNames::Claim(std::string_view source, const ByteString& wanted) {
  const ByteString key = SourceKey(source);
  if (auto known = bySource_.find(key); known != bySource_.end()) return known->second;
  const ByteString stem = ChangeFileExt(wanted, ""), extension = ExtractFileExt(wanted);
  ByteString name = wanted;
  for (int n = 2; owners_.count(LowerCase(name)) > 0; ++n) name = stem + "_" + DecimalText(n) + extension;
  owners_.emplace(LowerCase(name), key);
  bySource_.emplace(key, name);
  return name;
}

}  // namespace quorvex
