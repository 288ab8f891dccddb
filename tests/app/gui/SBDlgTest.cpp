#include "app/SBDlg.h"

#include <gtest/gtest.h>

#include "app/gui/QtPrinting.h"

#include <QWidget>

#include "app/gui/ScriptedDialogs.h"

namespace quorvex {
namespace {

using test::ScriptedDialogs;

TEST(SBDialog, OptionsGiveTheBrowseFlags) {
  EXPECT_EQ(TSBDlgOptions{TSBDlgOption::biReturnOnlyFSDirs}.BrowseFlags(), 0x1u);
  EXPECT_EQ((TSBDlgOptions{TSBDlgOption::biReturnOnlyFSDirs, TSBDlgOption::biNewStyle}.BrowseFlags()), 0x41u);
  TSBDlgOptions all{TSBDlgOption::biBrowseForComputer, TSBDlgOption::biBrowseForPrinter,
                    TSBDlgOption::biDontGoBelowDomain, TSBDlgOption::biReturnFSAncestors,
                    TSBDlgOption::biReturnOnlyFSDirs,  TSBDlgOption::biStatusText,
                    TSBDlgOption::biNewStyle,          TSBDlgOption::biEditBox};
  EXPECT_EQ(all.BrowseFlags(), 0x305Fu);
  all.Exclude(TSBDlgOption::biBrowseForPrinter);
  all.Exclude(TSBDlgOption::biEditBox);
  EXPECT_EQ(all.BrowseFlags(), 0x104Fu);
  EXPECT_EQ(TSBDlgOptions{}.BrowseFlags(), 0u);
}

TEST(SBDialog, PreselectionDropsTheTrailingSeparatorExceptOfARoot) {
  EXPECT_EQ(PreselectedFolder("C:\\help\\"), "C:\\help");
  EXPECT_EQ(PreselectedFolder("C:\\"), "C:\\");
  EXPECT_EQ(PreselectedFolder("C:\\help"), "C:\\help");
  EXPECT_EQ(PreselectedFolder("/home/help/"), "/home/help");
  EXPECT_EQ(PreselectedFolder("/"), "/");
  EXPECT_EQ(PreselectedFolder("/home"), "/home");
  EXPECT_EQ(PreselectedFolder(""), "");
  EXPECT_EQ(PreselectedFolder(QString::fromUtf8("/ヘルプ/")), QString::fromUtf8("/ヘルプ"));
}

TEST(SBDialog, BrowseReturnsTheChoiceOrKeepsDirectoryOnCancel) {
  QWidget owner;
  ScriptedDialogs dialogs;
  TSBDialog picker(&owner, dialogs);
  EXPECT_EQ(picker.Options().BrowseFlags(), 0x1u);
  EXPECT_EQ(picker.parent(), &owner);
  picker.SetCaption("pick");
  picker.SetDirectory("/srv/help/");

  EXPECT_FALSE(picker.Browse());
  EXPECT_EQ(picker.Directory(), "/srv/help/");
  ASSERT_EQ(dialogs.folderRequests.size(), 1u);
  EXPECT_EQ(dialogs.folderRequests[0].preselection, "/srv/help");
  EXPECT_EQ(dialogs.folderRequests[0].caption, "pick");
  EXPECT_EQ(dialogs.folderRequests[0].parent, &owner);
  EXPECT_EQ(dialogs.folderRequests[0].flags, 0x1u);

  dialogs.folderAnswer = "/tmp/chosen";
  EXPECT_TRUE(picker.Browse());
  EXPECT_EQ(picker.Directory(), "/tmp/chosen");

  // The next browse starts where the last one ended.
  EXPECT_TRUE(picker.Browse());
  EXPECT_EQ(dialogs.folderRequests[2].preselection, "/tmp/chosen");

  picker.SetDirectory("");
  EXPECT_TRUE(picker.Browse());
  EXPECT_EQ(dialogs.folderRequests[3].preselection, "");
}

}  // namespace
}  // namespace quorvex
