#include "view/ZavDoc.h"

#include "common/Globals.h"
#include "dialogs/CaseFileDialogs.h"
#include "dialogs/LanguageDialog.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/SystemSetDialog.h"
#include "dialogs/UserDialog.h"
#include "dialogs/WearDialog.h"
#include "frame/MainFrame.h"
#include "settings/SystemSettings.h"
#include "view/ZavView.h"

namespace vesk {

CZavDoc::CZavDoc() = default;
CZavDoc::~CZavDoc() = default;

QWidget* CZavDoc::DialogParent() const {
  return frame_;
}

void CZavDoc::OnCopyData() {
  CCopyDialog dialog(DialogParent());
  dialog.exec();
}

void CZavDoc::OnDeleteData() {
  CDeleteDialog dialog(DialogParent());
  dialog.exec();
}

void CZavDoc::OnSwitchUser() {
  CUserDialog dialog(DialogParent());
  dialog.exec();
}

void CZavDoc::OnExit() {
  if (frame_) QMetaObject::invokeMethod(frame_, "close", Qt::QueuedConnection);
}

void CZavDoc::OnSettings(int page) {
  CSettingsDialog dialog(page, DialogParent());
  if (dialog.exec() == QDialog::Accepted && frame_) frame_->View()->update();
}

void CZavDoc::OnLanguage() {
  CLanguageDialog dialog(DialogParent());
  if (dialog.exec() != QDialog::Accepted) return;
  WriteCnfStartLanguage(CLanguage::GetLanguage());
  if (frame_) frame_->RetextStatusBar();
}

void CZavDoc::OnSystemSettings() {
  CSystemSetDialog dialog(DialogParent());
  dialog.exec();
}

void CZavDoc::OnWear() {
  CWearDialog dialog(DialogParent());
  dialog.exec();
}

}  // namespace vesk
