// The program `vesk`: the desktop companion of the blood-pressure recorders.
//
//   vesk [--home DIR]
//
// The program folder (settings, language files, case data) is DIR, else $VESK_HOME, else the
// folder of the executable.

#include <QtWidgets/QApplication>

#include "app/ZavApp.h"
#include "platform/ProgramDir.h"

int main(int argc, char** argv) {
  vesk::ResolveProgramDir(argc, argv);
  QApplication qt(argc, argv);
  QApplication::setApplicationName("vesk");
  vesk::CZavApp app;
  if (!app.InitInstance()) {
    app.ExitInstance();
    return 1;
  }
  const int rc = QApplication::exec();
  app.ExitInstance();
  return rc;
}
