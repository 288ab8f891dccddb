#pragma once
// What the window converts: WinHelp projects (.hpj) and compiled helps
// (.hlp), picked or dropped on the window, one or several at once.

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace quorvex {

/// True for an existing plain file named *.hpj or *.hlp (letter case ignored).
bool IsHelpInput(const QString& path);

/// The native paths of dropped `urls` when every one is a help input (local,
/// existing, .hpj or .hlp); none when any is not, so that a drop of the wrong
/// files is refused as a whole rather than half converted.
QStringList HelpInputsOf(const QList<QUrl>& urls);

}  // namespace quorvex
