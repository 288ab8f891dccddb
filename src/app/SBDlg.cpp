#include "app/SBDlg.h"

#include <QWidget>

namespace quorvex {

unsigned OptionFlag(TSBDlgOption option) {
  switch (option) {
    case TSBDlgOption::biBrowseForComputer: return 0x1000;
    case TSBDlgOption::biBrowseForPrinter: return 0x2000;
    case TSBDlgOption::biDontGoBelowDomain: return 0x2;
    case TSBDlgOption::biReturnFSAncestors: return 0x8;
    case TSBDlgOption::biReturnOnlyFSDirs: return 0x1;
    case TSBDlgOption::biStatusText: return 0x4;
    case TSBDlgOption::biNewStyle: return 0x40;
    case TSBDlgOption::biEditBox: return 0x10;
  }
  return 0;
}

namespace {
constexpr TSBDlgOption kAllOptions[] = {
    TSBDlgOption::biBrowseForComputer, TSBDlgOption::biBrowseForPrinter, TSBDlgOption::biDontGoBelowDomain,
    TSBDlgOption::biReturnFSAncestors, TSBDlgOption::biReturnOnlyFSDirs, TSBDlgOption::biStatusText,
    TSBDlgOption::biNewStyle,          TSBDlgOption::biEditBox,
};

std::uint8_t Bit(TSBDlgOption option) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(option)); }
}  // namespace

TSBDlgOptions::TSBDlgOptions(std::initializer_list<TSBDlgOption> options) {
  for (TSBDlgOption option : options) Include(option);
}

bool TSBDlgOptions::Contains(TSBDlgOption option) const { return (bits_ & Bit(option)) != 0; }

void TSBDlgOptions::Include(TSBDlgOption option) { bits_ |= Bit(option); }

void TSBDlgOptions::Exclude(TSBDlgOption option) { bits_ &= static_cast<std::uint8_t>(~Bit(option)); }

unsigned TSBDlgOptions::BrowseFlags() const {
  unsigned flags = 0;
  for (TSBDlgOption option : kAllOptions) {
    if (Contains(option)) flags |= OptionFlag(option);
  }
  return flags;
}

QString PreselectedFolder(const QString& directory) {
  // "C:\" and "/" name a root only with their separator; any other folder is
  // named without it.
  if (directory.size() > 3 && directory.endsWith('\\')) return directory.chopped(1);
  if (directory.size() > 1 && directory.endsWith('/')) return directory.chopped(1);
  return directory;
}

TSBDialog::TSBDialog(QWidget* owner, Dialogs& dialogs) : QObject(owner), owner_(owner), dialogs_(dialogs) {}

bool TSBDialog::Browse() {
  FolderBrowseRequest request;
  request.parent = owner_;
  request.caption = caption_;
  request.flags = options_.BrowseFlags();
  request.preselection = PreselectedFolder(directory_);
  std::optional<QString> chosen = dialogs_.BrowseFolder(request);
  if (!chosen) return false;
  directory_ = *chosen;
  return true;
}

}  // namespace quorvex
