// The window's tests share one QApplication. Without a display they draw
// offscreen, which is also what ctest asks for.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);  // tests close windows one after another
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
