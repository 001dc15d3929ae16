#pragma once
// The document: the commands that do not need the opened case or the chart (settings, users,
// language, case management and the other dialogs).

#include <QtCore/QObject>
#include <functional>
#include <string>

class QWidget;

namespace vesk {

class CConfigFile;
class CLanguage;

class CZavDoc : public QObject {
  Q_OBJECT
 public:
  // The configuration and the language the document's dialogs are handed; both outlive it.
  CZavDoc(CConfigFile& config, CLanguage& language);
  ~CZavDoc() override;

  // The main window: the dialogs' parent. It sits above the document and answers its signals.
  void AttachFrame(QWidget* frame) { frame_ = frame; }

  void OnCopyData();
  void OnDeleteData();
  void OnSwitchUser();
  void OnExit();
  // The settings dialog on page 0 (case path), 1 (report) or 2 (standard values).
  void OnSettings(int page);
  void OnLanguage();
  void OnSystemSettings();
  void OnWear();

  // Path of the case chosen in the case browser (the case the view loads).
  std::string currentCasePath;
  // Reads the system settings in force again after the system settings dialog stored them;
  // the application, which owns them, sets it.
  std::function<void(const std::string& iniPath)> systemSettingsStored;

 signals:
  // The settings dialog was accepted: the view draws with the new settings.
  void settingsChanged();
  // Another language is loaded: every window is texted anew.
  void languageChanged();

 private:
  QWidget* DialogParent() const;
  CConfigFile& config_;
  CLanguage& language_;
  QWidget* frame_ = nullptr;
};

}  // namespace vesk
