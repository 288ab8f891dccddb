#pragma once
// Fonts for metafile text: the face name of a logical font looked up through
// fontconfig, the Windows Japanese faces mapped to the IPA fonts, and a
// Japanese font for every character the chosen font lacks.

#include <cairo.h>

#include <map>
#include <string>
#include <tuple>

namespace quorvex {

/// What a logical font asks for.
struct FontRequest {
  std::string Family;     ///< face name in UTF-8
  bool Bold = false;
  bool Italic = false;
  bool Japanese = false;  ///< the font's character set takes Shift-JIS text
  int PitchAndFamily = 0;
};

/// The faces found so far; they live as long as the library.
class FontLibrary {
 public:
  FontLibrary() = default;
  ~FontLibrary();
  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;

  /// The face to draw character `c` of a text in `request`'s font with: the
  /// font's own face when it has the character, else the Japanese fallback
  /// (IPA P Gothic, or IPA Gothic for a fixed-pitch font) when that has it.
  /// Null only when fontconfig finds no font at all.
  cairo_font_face_t* FaceFor(const FontRequest& request, char32_t c);

  /// The font's own face.
  cairo_font_face_t* Face(const FontRequest& request);

 private:
  struct Entry {
    cairo_font_face_t* Face = nullptr;
    void* Charset = nullptr;  ///< the FcCharSet of the matched font
  };
  Entry& Find(const FontRequest& request);
  Entry Match(const FontRequest& request);

  std::map<std::tuple<std::string, bool, bool, bool, int>, Entry> cache_;
};

/// The family fontconfig is asked for: the IPA font standing in for a
/// Windows Japanese face name, else the name itself.
std::string SubstituteFamily(const std::string& family);

}  // namespace quorvex
