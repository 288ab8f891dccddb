#pragma once
// Texts for the window: the engine's Shift-JIS constants turned into Qt strings.

#include <string_view>

#include <QString>

#include "base/Encoding.h"

namespace quorvex {

/// The application's title, also the caption of the main window and of error boxes.
inline constexpr char kApplicationTitle[] = "Quorvex";

/// A Shift-JIS text (a Texts.h constant, a status text) as a Qt string.
inline QString Ui(std::string_view cp932) { return QString::fromStdString(DisplayText(cp932)); }

}  // namespace quorvex
