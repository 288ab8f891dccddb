#pragma once
// The window's conversion options, kept between runs of the program in the
// user's settings (QSettings: the organisation and application names of the
// running QApplication).

class QSettings;

namespace quorvex {

struct WindowOptions {
  bool CombinePopups = true;   ///< one shared html/popup.js
  bool CompiledHelp = false;   ///< also compile the .chm
  bool BrowserHelp = false;    ///< also write the browser help into web/
  /// Missing topic files and unreadable pictures are warnings. On by default
  /// in the window: a help author would rather have the help and a list of
  /// what was missing than nothing.
  bool KeepGoing = true;

  bool operator==(const WindowOptions&) const = default;
};

/// The options stored in `settings`; the defaults for what is not stored.
WindowOptions LoadWindowOptions(QSettings& settings);

/// Stores the options in `settings`.
void SaveWindowOptions(QSettings& settings, const WindowOptions& options);

}  // namespace quorvex
