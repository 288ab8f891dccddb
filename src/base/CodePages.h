#pragma once
// Which Windows code page a font character set or a language names.

namespace quorvex {

/// The code page of a font character set (\fcharsetN, CHARSET=): 0 ANSI ->
/// 1252, 128 Shift-JIS -> 932, 238 Eastern Europe -> 1250, ...; 0 for the
/// default (1), symbol (2) and unknown sets.
int CharsetCodePage(int charset);

/// The ANSI code page of a Windows language id (LCID=0x411 -> 932); 0 when unknown.
int LanguageCodePage(int lcid);

/// True for the double-byte code pages: 932, 936, 949, 950.
constexpr bool IsDoubleByteCodePage(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

}  // namespace quorvex
