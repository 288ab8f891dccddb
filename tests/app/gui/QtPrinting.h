#pragma once
// Qt strings in GoogleTest's failure messages as text, not as bytes. Every
// test file of the window includes this: a file without it would print
// QString its own way, and the linker keeps either one.

#include <ostream>

#include <QString>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
