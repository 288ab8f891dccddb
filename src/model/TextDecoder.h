#pragma once
// Bytes of help text (RTF topic files, compiled help files) into model text.
// Double-byte characters are read in the document's double-byte code page
// (its \ansicpg, else the project's), never in the one a font claims: fonts
// declare character sets that lie. Whether a run is double-byte at all is the
// font's word unless the document's \ansicpg is double-byte. Single high bytes
// are read in the font's code page, else the document's.

#include <string_view>

#include "model/DocText.h"
#include "model/SymbolFonts.h"

namespace quorvex {

/// What a font of the font table says about the bytes written in it.
struct FontInfo {
  int CodePage = 0;     ///< from \cpg or \fcharset; 0 when it says none
  bool Symbol = false;  ///< \fcharset2: the bytes are pictures
  SymbolFont Table = SymbolFont::Symbol;
};

class TextDecoder {
 public:
  /// `ansiCodePage`: the document's \ansicpg (0 when it has none);
  /// `projectCodePage`: the project's code page (0 when not said).
  TextDecoder(int ansiCodePage, int projectCodePage);

  /// Appends the characters of `bytes`, written in `font` (null: no font), to `out`.
  void Decode(std::string_view bytes, const FontInfo* font, DocText& out) const;

  /// The double-byte code page in force; 0 for none.
  int DoubleByteCodePage() const { return doubleByte_; }

 private:
  char32_t SingleByte(std::uint8_t byte, const FontInfo* font) const;
  bool ReadsDoubleByte(const FontInfo* font) const;

  int doubleByte_ = 0;
  bool documentDoubleByte_ = false;  ///< the double-byte code page is the document's \ansicpg
  int singleByte_ = 1252;
};

}  // namespace quorvex
