#include "app/WindowOptions.h"

#include <QSettings>

namespace quorvex {
namespace {

constexpr char kCombinePopupsKey[] = "options/combinePopups";
constexpr char kCompiledHelpKey[] = "options/compiledHelp";
constexpr char kBrowserHelpKey[] = "options/browserHelp";
constexpr char kKeepGoingKey[] = "options/keepGoing";

}  // namespace

WindowOptions LoadWindowOptions(QSettings& settings) {
  const WindowOptions defaults;
  WindowOptions options;
  options.CombinePopups = settings.value(kCombinePopupsKey, defaults.CombinePopups).toBool();
  options.CompiledHelp = settings.value(kCompiledHelpKey, defaults.CompiledHelp).toBool();
  options.BrowserHelp = settings.value(kBrowserHelpKey, defaults.BrowserHelp).toBool();
  options.KeepGoing = settings.value(kKeepGoingKey, defaults.KeepGoing).toBool();
  return options;
}

void SaveWindowOptions(QSettings& settings, const WindowOptions& options) {
  settings.setValue(kCombinePopupsKey, options.CombinePopups);
  settings.setValue(kCompiledHelpKey, options.CompiledHelp);
  settings.setValue(kBrowserHelpKey, options.BrowserHelp);
  settings.setValue(kKeepGoingKey, options.KeepGoing);
}

}  // namespace quorvex
