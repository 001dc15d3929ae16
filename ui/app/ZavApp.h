#pragma once
// The application object: start-up and shutdown in their fixed order, the process-wide
// objects, the system settings and running other programs with the main window hidden.

#include <QtCore/QObject>
#include <QtGui/QIcon>
#include <memory>
#include <string>

#include "frame/CommandTable.h"
#include "settings/ConfigTypes.h"

namespace vesk {

class CMainFrame;
class CZavDoc;

class CZavApp : public QObject, public IAppCommands {
  Q_OBJECT
 public:
  CZavApp();
  ~CZavApp() override;

  // Start-up: configuration, language, Cnf.start, main window, user dialog, report and
  // system settings. False ends the program (ExitInstance still runs).
  bool InitInstance();
  // Shutdown: configuration and report settings saved, start folder removed, objects gone.
  int ExitInstance();

  // Section "SYSTEM" of the given INI file into the fields below.
  void LoadSystemSettings(const std::string& iniPath);
  // Runs another program with the main window hidden and waits for its end; 1 when it ran.
  int RunOtherExe(const std::string& program, const std::string& arg1, const std::string& arg2);

  void OnAbout() override;

  CMainFrame* MainFrame() const { return frame_.get(); }
  CZavDoc* Document() const { return doc_.get(); }
  const QIcon& AppIcon() const { return icon_; }

  // The external programs of section "SYSTEM".
  SystemSettings system;

 private:
  std::unique_ptr<CZavDoc> doc_;
  std::unique_ptr<CMainFrame> frame_;
  QIcon icon_;
  bool exited_ = false;
};

}  // namespace vesk
