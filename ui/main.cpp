// The program `vesk`: the desktop companion of the blood-pressure recorders.
//
//   vesk [--home DIR]
//   vesk --help | --version
//
// The program folder (settings, language files, case data) is DIR, else $VESK_HOME, else the
// folder of the executable.

#include <QtWidgets/QApplication>
#include <cstdio>
#include <cstring>

#include "app/AppInfo.h"
#include "app/ZavApp.h"
#include "platform/ProgramDir.h"

namespace {
// Answered before Qt starts, so a script can ask without a display.
bool AnswerHelpOrVersion(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf(
          "usage: vesk [--home DIR]\n"
          "       vesk --help | --version\n\n"
          "The program folder (settings, language files, case data) is DIR, else $VESK_HOME,\n"
          "else the folder of the executable.\n");
      return true;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("vesk %s\n", vesk::g_Version.c_str());
      return true;
    }
  }
  return false;
}
}  // namespace

int main(int argc, char** argv) {
  vesk::ResolveProgramDir(argc, argv);
  if (AnswerHelpOrVersion(argc, argv)) return 0;
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
