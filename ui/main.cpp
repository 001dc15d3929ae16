// The program `vesk`: the desktop companion of the blood-pressure recorders.
//
//   vesk [--home DIR] [--quit-after-start] | --version | --help
//
// Settings, report sets and the default case folder live in the home folder; language files,
// resources and help come from the share folder (core/platform/ProgramDir.h has the rule).

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QMessageBox>
#include <cstdio>
#include <cstring>

#include "app/AppInfo.h"
#include "app/ZavApp.h"
#include "platform/ProgramDir.h"

namespace {
// Answered before Qt starts, so that they work without a display.
bool AnswerInformationOption(int argc, char** argv, int& rc) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("vesk %s\n", vesk::g_Version.c_str());
      rc = 0;
      return true;
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf(
          "usage: vesk [--home DIR] [--quit-after-start] [Qt options]\n"
          "       vesk --version | --help\n\n"
          "The home folder holds the settings, report sets and cases: DIR, else $VESK_HOME,\n"
          "else the program's own folder when it is a portable copy, else\n"
          "$XDG_DATA_HOME/vesk (~/.local/share/vesk). See vesk(1).\n");
      rc = 0;
      return true;
    }
  }
  return false;
}

// "--quit-after-start": the whole start-up, then an orderly exit, so that a script can prove
// an installation works. Every dialog of the start-up is cancelled as it comes.
bool TakeQuitAfterStart(int& argc, char** argv) {
  if (argc < 1) return false;
  bool found = false;
  int out = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quit-after-start") == 0)
      found = true;
    else
      argv[out++] = argv[i];
  }
  argc = out;
  argv[argc] = nullptr;
  return found;
}

void ArmQuitAfterStart(QObject* parent, const bool* started) {
  auto* timer = new QTimer(parent);
  QObject::connect(timer, &QTimer::timeout, [started] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
      dialog->reject();
    else if (*started)
      QApplication::quit();
  });
  timer->start(200);
}
}  // namespace

int main(int argc, char** argv) {
  int rc = 0;
  if (AnswerInformationOption(argc, argv, rc)) return rc;
  const bool quitAfterStart = TakeQuitAfterStart(argc, argv);
  const vesk::ProgramFolders folders = vesk::ResolveProgramFolders(argc, argv);
  QApplication qt(argc, argv);
  QApplication::setApplicationName("vesk");
  bool started = false;
  if (quitAfterStart) ArmQuitAfterStart(&qt, &started);
  if (!folders.error.empty()) {
    // No language is loaded yet, and none may be: this one message is fixed English.
    std::fprintf(stderr, "vesk: %s\n", folders.error.c_str());
    QMessageBox::critical(nullptr, QString::fromStdString(vesk::g_AppTitle),
                          QString::fromStdString(folders.error));
    return 1;
  }
  vesk::CZavApp app;
  if (!app.InitInstance()) {
    app.ExitInstance();
    return 1;
  }
  started = true;
  rc = QApplication::exec();
  app.ExitInstance();
  return rc;
}
