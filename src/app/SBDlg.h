#pragma once
// TSBDialog: the folder picker, a non-visual component over the platform's
// folder browse dialog.

#include <cstdint>
#include <initializer_list>

#include <QObject>
#include <QString>

#include "app/Dialogs.h"

class QWidget;

namespace quorvex {

/// Behaviour flags of the folder picker, in their fixed order.
enum class TSBDlgOption : std::uint8_t {
  biBrowseForComputer,  ///< only computers can be chosen
  biBrowseForPrinter,   ///< only printers can be chosen
  biDontGoBelowDomain,  ///< no network folders below the domain level
  biReturnFSAncestors,  ///< only file-system ancestors can be chosen
  biReturnOnlyFSDirs,   ///< only file-system folders can be chosen
  biStatusText,         ///< a status text line in the dialog
  biNewStyle,           ///< the resizable new-style dialog
  biEditBox,            ///< an edit box for typing the name
};

/// The browse-dialog flag value that an option sets.
unsigned OptionFlag(TSBDlgOption option);

/// A set of TSBDlgOption values.
class TSBDlgOptions {
 public:
  TSBDlgOptions() = default;
  TSBDlgOptions(std::initializer_list<TSBDlgOption> options);
  bool Contains(TSBDlgOption option) const;
  void Include(TSBDlgOption option);
  void Exclude(TSBDlgOption option);
  /// The bitwise OR of the flag values of all options in the set.
  unsigned BrowseFlags() const;
  bool operator==(const TSBDlgOptions&) const = default;

 private:
  std::uint8_t bits_ = 0;
};

/// The folder handed to the dialog for preselection: `directory` without a
/// trailing separator, except that a root ("/", or a drive root such as
/// "C:\") keeps it.
QString PreselectedFolder(const QString& directory);

class TSBDialog : public QObject {
 public:
  /// `owner` becomes the dialog's parent window and owns the component.
  TSBDialog(QWidget* owner, Dialogs& dialogs);

  /// Before Browse: the folder to preselect (empty: none). After a successful
  /// Browse: the chosen folder's native path.
  const QString& Directory() const { return directory_; }
  void SetDirectory(const QString& directory) { directory_ = directory; }
  /// The instruction text of the dialog.
  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& caption) { caption_ = caption; }
  const TSBDlgOptions& Options() const { return options_; }
  void SetOptions(const TSBDlgOptions& options) { options_ = options; }

  /// Shows the dialog modally. True when a folder was chosen (Directory holds
  /// it); false on cancel, Directory unchanged.
  virtual bool Browse();

 private:
  QWidget* owner_;
  Dialogs& dialogs_;
  QString directory_;
  QString caption_;
  TSBDlgOptions options_{TSBDlgOption::biReturnOnlyFSDirs};
};

}  // namespace quorvex
