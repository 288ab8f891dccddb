#pragma once
// Fonts of the window and the about box. The Windows faces they name are
// rarely installed here; a Japanese face stands behind each so that the
// captions never fall back to a font without kana and kanji.

#include <QFont>
#include <QString>
#include <QStringList>

namespace quorvex {

/// `family` at `pixelSize`, followed by the installed Japanese Gothic faces.
inline QFont JapaneseFont(const QString& family, int pixelSize) {
  QFont font;
  font.setFamilies(QStringList{family, "IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic"});
  font.setPixelSize(pixelSize);
  return font;
}

/// The font of the main window and the about box: "MS UI Gothic", 12 pixels.
inline QFont WindowFont() { return JapaneseFont("MS UI Gothic", 12); }

}  // namespace quorvex
