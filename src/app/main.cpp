// quorvex: the window that converts a WinHelp project into an HTML Help project.

#include <QApplication>

#include "app/Dialogs.h"
#include "app/HeapTuning.h"
#include "app/UiText.h"
#include "app/Unit1.h"

int main(int argc, char** argv) {
  quorvex::KeepPictureBuffersInTheHeap();
  QApplication application(argc, argv);
  // The options live where Qt keeps a program's settings (on Linux
  // ~/.config/Quorvex/Quorvex.conf).
  QApplication::setOrganizationName(quorvex::kApplicationTitle);
  QApplication::setApplicationName(quorvex::kApplicationTitle);
  quorvex::QtDialogs dialogs;
  quorvex::TForm1 form(dialogs);
  form.show();
  return application.exec();
}
