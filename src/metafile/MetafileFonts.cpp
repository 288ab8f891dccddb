#include "metafile/MetafileFonts.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <cctype>

namespace quorvex {

namespace {

// Windows faces that have no namesake here and the IPA fonts that stand in.
struct Alias {
  const char* Windows;
  const char* Here;
};
constexpr Alias kAliases[] = {
    {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"MS PGothic", "IPAPGothic"},
    {"ＭＳ ゴシック", "IPAGothic"},    {"MS Gothic", "IPAGothic"},
    {"ＭＳ ＵＩ Gothic", "IPAPGothic"}, {"MS UI Gothic", "IPAPGothic"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"},     {"MS PMincho", "IPAPMincho"},
    {"ＭＳ 明朝", "IPAMincho"},        {"MS Mincho", "IPAMincho"},
    {"メイリオ", "IPAPGothic"},         {"Meiryo", "IPAPGothic"},
    {"Meiryo UI", "IPAPGothic"},        {"System", "IPAGothic"},
    {"Terminal", "IPAGothic"},          {"Fixedsys", "IPAGothic"},
};

bool SameAscii(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return i == a.size() && !b[i];
}

constexpr int kFixedPitch = 1;
constexpr int kFamilyRoman = 0x10;
constexpr int kFamilyModern = 0x30;

bool FixedPitch(int pitchAndFamily) {
  return (pitchAndFamily & 3) == kFixedPitch || (pitchAndFamily & 0xF0) == kFamilyModern;
}

// The font Japanese text falls back to.
const char* JapaneseFallback(int pitchAndFamily) {
  const bool roman = (pitchAndFamily & 0xF0) == kFamilyRoman;
  if (FixedPitch(pitchAndFamily)) return roman ? "IPAMincho" : "IPAGothic";
  return roman ? "IPAPMincho" : "IPAPGothic";
}

// A generic family for a face name fontconfig does not know.
const char* GenericFamily(int pitchAndFamily) {
  if (FixedPitch(pitchAndFamily)) return "monospace";
  return (pitchAndFamily & 0xF0) == kFamilyRoman ? "serif" : "sans-serif";
}

bool HasFamily(FcPattern* pattern, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (SameAscii(reinterpret_cast<const char*>(name), family.c_str())) return true;
  }
  return false;
}

FcPattern* MatchFamily(const std::string& family, const FontRequest& request) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, request.Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, request.Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  if (request.Japanese) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  return match;
}

}  // namespace

std::string SubstituteFamily(const std::string& family) {
  for (const Alias& alias : kAliases) {
    if (SameAscii(family, alias.Windows)) return alias.Here;
  }
  return family;
}

FontLibrary::~FontLibrary() {
  for (auto& [key, entry] : cache_) {
    if (entry.Face) cairo_font_face_destroy(entry.Face);
    if (entry.Charset) FcCharSetDestroy(static_cast<FcCharSet*>(entry.Charset));
  }
}

FontLibrary::Entry FontLibrary::Match(const FontRequest& request) {
  std::string family = SubstituteFamily(request.Family);
  if (family.empty()) family = request.Japanese ? JapaneseFallback(request.PitchAndFamily) : GenericFamily(request.PitchAndFamily);
  FcPattern* match = MatchFamily(family, request);
  // A face fontconfig does not have gives its default font, which for
  // Japanese text must be a Japanese one.
  if (match && request.Japanese && !HasFamily(match, family)) {
    FcPatternDestroy(match);
    match = MatchFamily(JapaneseFallback(request.PitchAndFamily), request);
  }
  Entry entry;
  if (!match) return entry;
  FcCharSet* charset = nullptr;
  if (FcPatternGetCharSet(match, FC_CHARSET, 0, &charset) == FcResultMatch) entry.Charset = FcCharSetCopy(charset);
  entry.Face = cairo_ft_font_face_create_for_pattern(match);
  FcPatternDestroy(match);
  if (cairo_font_face_status(entry.Face) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(entry.Face);
    entry.Face = nullptr;
  }
  return entry;
}

FontLibrary::Entry& FontLibrary::Find(const FontRequest& request) {
  auto key = std::make_tuple(request.Family, request.Bold, request.Italic, request.Japanese, request.PitchAndFamily);
  auto it = cache_.find(key);
  if (it == cache_.end()) it = cache_.emplace(key, Match(request)).first;
  return it->second;
}

cairo_font_face_t* FontLibrary::Face(const FontRequest& request) { return Find(request).Face; }

cairo_font_face_t* FontLibrary::FaceFor(const FontRequest& request, char32_t c) {
  Entry& own = Find(request);
  if (c < 0x20 || !own.Charset || FcCharSetHasChar(static_cast<FcCharSet*>(own.Charset), c)) return own.Face;
  FontRequest fallback = request;
  fallback.Family = JapaneseFallback(request.PitchAndFamily);
  fallback.Japanese = true;
  Entry& other = Find(fallback);
  if (other.Face && other.Charset && FcCharSetHasChar(static_cast<FcCharSet*>(other.Charset), c)) return other.Face;
  return own.Face;
}

}  // namespace quorvex
