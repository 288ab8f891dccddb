#pragma once
// Fonts of the symbol character set (\fcharset2): their bytes are pictures,
// not letters. Help files use them for bullets, arrows and Greek letters.

#include <cstdint>
#include <string_view>

namespace quorvex {

enum class SymbolFont : std::uint8_t { Symbol, Wingdings };

/// Which table a symbol font's bytes go through, by the font's name.
SymbolFont SymbolFontOf(std::string_view fontName);

/// The Unicode character that `byte` shows in the font; bytes without a
/// counterpart of their own show as a bullet, which is what help files use
/// these fonts for most.
char32_t SymbolChar(SymbolFont font, std::uint8_t byte);

}  // namespace quorvex
