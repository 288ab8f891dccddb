#pragma once
// Qt strings in GoogleTest's failure messages as text, not as bytes.

#include <ostream>

#include <QString>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
