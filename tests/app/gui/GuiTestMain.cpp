// The window's tests share one QApplication. Without a display they draw
// offscreen, which is also what ctest asks for. The window keeps its options
// in the user's settings; here they live in a temporary folder, emptied
// before every test, so that no test sees the user's or another test's.

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

namespace {

class FreshSettings : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { QSettings().clear(); }
};

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir settingsFolder;
  if (!settingsFolder.isValid()) return 1;
  for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
    QSettings::setPath(format, QSettings::UserScope, settingsFolder.path());
    QSettings::setPath(format, QSettings::SystemScope, settingsFolder.path() + "/system");
  }
  QApplication application(argc, argv);
  QApplication::setOrganizationName("QuorvexTests");
  QApplication::setApplicationName("quorvex_gui_tests");
  QApplication::setQuitOnLastWindowClosed(false);  // tests close windows one after another
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new FreshSettings);
  return RUN_ALL_TESTS();
}
