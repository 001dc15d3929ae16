#include "app/ZavApp.h"

#include <QtWidgets/QApplication>

#include "app/AppInfo.h"
#include "app/RunOtherExe.h"
#include "app/Shutdown.h"
#include "common/Globals.h"
#include "common/Texts.h"
#include "common/UiMessages.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/UserDialog.h"
#include "frame/MainFrame.h"
#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"
#include "settings/SystemSettings.h"
#include "view/ZavDoc.h"

namespace vesk {

namespace {

class FrameVisibility : public IMainWindowVisibility {
 public:
  explicit FrameVisibility(CMainFrame* frame) : frame_(frame) {}
  void Hide() override {
    if (frame_) frame_->hide();
  }
  void Show() override {
    if (frame_) frame_->show();
  }

 private:
  CMainFrame* frame_;
};

}  // namespace

CZavApp::CZavApp() = default;

CZavApp::~CZavApp() {
  if (!exited_) ExitInstance();
}

bool CZavApp::InitInstance() {
  exited_ = false;
  // Loading hands the stored language name to the language tables.
  delete g_Config;
  g_Config = new CConfigFile(g_Language, Forwarder(), g_EditionCode);
  g_Config->Load();

  // Before a language is loaded the core can only tell in fixed English texts.
  if (!ChooseLanguageAtStartup(g_Language, UiSink()).proceed) return false;
  WriteCnfStartLanguage(CLanguage::GetLanguage());

  doc_ = std::make_unique<CZavDoc>(*g_Config, g_Language);
  doc_->systemSettingsStored = [this](const std::string& iniPath) { LoadSystemSettings(iniPath); };
  frame_ = std::make_unique<CMainFrame>(this, doc_.get());

  // A missing icon file leaves the default icon and is no reason to stop.
  const std::string iconPath = ProgramPath("\\res\\Logo.ico");
  if (fsutil::FileExists(iconPath)) {
    icon_ = QIcon(QString::fromStdString(iconPath));
    if (!icon_.isNull()) {
      QApplication::setWindowIcon(icon_);
      frame_->setWindowIcon(icon_);
    }
  }

  frame_->show();
  frame_->setWindowTitle(Qs(g_AppTitle));

  {
    CUserDialog users(*g_Config, frame_.get());
    users.exec();
  }
  g_Config->LoadReportSettings();
  LoadSystemSettings(ProgramPath("\\MreConfig.ini"));
  frame_->UpdateCommandUI();
  return true;
}

int CZavApp::ExitInstance() {
  if (exited_) return 0;
  exited_ = true;
  if (g_Config) {
    g_Config->Save();
    if (g_Config->SaveReportSettings() != 1)
      ShowBox(TxS(kGlobalSetting, "IDS_SAVE_FAULT"), MessageIcon::Error);
  }
  RemoveReportStartFolder();
  frame_.reset();
  doc_.reset();
  delete g_Config;
  g_Config = nullptr;
  icon_ = QIcon();
  return 0;
}

void CZavApp::LoadSystemSettings(const std::string& iniPath) {
  system = vesk::LoadSystemSettings(iniPath);
  // Only names the system settings offer are stored, so an unknown one can only come from a
  // hand-edited file; the previous code page then stays.
  (void)ApplyCodePage(system);
  if (g_Config) g_Config->system = system;
}

int CZavApp::RunOtherExe(const std::string& program, const std::string& arg1,
                         const std::string& arg2) {
  FrameVisibility window(frame_.get());
  return vesk::RunOtherExe(program, arg1, arg2, g_Language, UiSink(), &window);
}

void CZavApp::OnAbout() {
  CAboutDialog about(frame_.get());
  about.exec();
}

}  // namespace vesk
