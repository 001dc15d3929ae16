#include "view/ZavDoc.h"

#include "dialogs/CaseFileDialogs.h"
#include "dialogs/LanguageDialog.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/SystemSetDialog.h"
#include "dialogs/UserDialog.h"
#include "dialogs/WearDialog.h"
#include "language/Language.h"
#include "settings/ConfigFile.h"
#include "settings/SystemSettings.h"

namespace vesk {

CZavDoc::CZavDoc(CConfigFile& config, CLanguage& language) : config_(config), language_(language) {}
CZavDoc::~CZavDoc() = default;

QWidget* CZavDoc::DialogParent() const {
  return frame_;
}

void CZavDoc::OnCopyData() {
  CCopyDialog dialog(config_, language_, DialogParent());
  dialog.exec();
}

void CZavDoc::OnDeleteData() {
  CDeleteDialog dialog(config_, language_, currentCasePath, DialogParent());
  dialog.exec();
}

void CZavDoc::OnSwitchUser() {
  CUserDialog dialog(config_, DialogParent());
  dialog.exec();
}

void CZavDoc::OnExit() {
  if (frame_) QMetaObject::invokeMethod(frame_, "close", Qt::QueuedConnection);
}

void CZavDoc::OnSettings(int page) {
  CSettingsDialog dialog(config_, page, DialogParent());
  if (dialog.exec() == QDialog::Accepted) emit settingsChanged();
}

void CZavDoc::OnLanguage() {
  // The windows are texted anew while the dialog is still open, as soon as the language is in.
  CLanguageDialog dialog(
      language_, [this] { emit languageChanged(); }, DialogParent());
  if (dialog.exec() != QDialog::Accepted) return;
  WriteCnfStartLanguage(CLanguage::GetLanguage());
}

void CZavDoc::OnSystemSettings() {
  CSystemSetDialog dialog(config_.system, systemSettingsStored, DialogParent());
  dialog.exec();
}

void CZavDoc::OnWear() {
  CWearDialog dialog(DialogParent());
  dialog.exec();
}

}  // namespace vesk
