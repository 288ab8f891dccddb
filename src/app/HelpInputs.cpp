#include "app/HelpInputs.h"

#include <QFileInfo>

namespace quorvex {

bool IsHelpInput(const QString& path) {
  const QFileInfo file(path);
  const QString suffix = file.suffix().toLower();
  return (suffix == "hpj" || suffix == "hlp") && file.isFile();
}

QStringList HelpInputsOf(const QList<QUrl>& urls) {
  QStringList paths;
  for (const QUrl& url : urls) {
    if (!url.isLocalFile() || !IsHelpInput(url.toLocalFile())) return {};
    paths << url.toLocalFile();
  }
  return paths;
}

}  // namespace quorvex
