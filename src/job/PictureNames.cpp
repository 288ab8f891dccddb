#include "job/PictureNames.h"

namespace quorvex {

ByteString PictureNames::Claim(std::string_view source, const ByteString& wanted) {
  const ByteString key = LowerCase(source);
  if (auto known = bySource_.find(key); known != bySource_.end()) return known->second;
  const ByteString stem = ChangeFileExt(wanted, ""), extension = ExtractFileExt(wanted);
  ByteString name = wanted;
  for (int n = 2; owners_.count(LowerCase(name)) > 0; ++n) name = stem + "_" + DecimalText(n) + extension;
  owners_.emplace(LowerCase(name), key);
  bySource_.emplace(key, name);
  return name;
}

}  // namespace quorvex
