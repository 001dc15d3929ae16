#include "dialogs/UserDialog.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QVBoxLayout>
#include <cstdio>

#include "common/Globals.h"
#include "common/Texts.h"
#include "common/UiMessages.h"
#include "dialogs/DialogUtil.h"
#include "dialogs/SettingsDialog.h"
#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"

namespace vesk {

namespace {

void RemoveFileIfThere(const std::string& path) {
  if (fsutil::FileExists(path)) std::remove(path.c_str());
}

}  // namespace

CUserDialog::CUserDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Tx(kMessageSetting, "IDS_INPUT_USERNAME"));
  users_ = Named<QComboBox>(1083, this);
  users_->setEditable(true);
  users_->setInsertPolicy(QComboBox::NoInsert);
  users_->setMinimumWidth(280);
  auto* remove = Named<QPushButton>(1016, Tx(kMessageSetting, "IDS_DELETE_BTN"), this);
  auto* removeAll = Named<QPushButton>(1147, Tx(kMessageSetting, "IDS_DEL_ALLTHING"), this);
  auto* ok = Named<QPushButton>(1, Tx(kMessageSetting, "IDS_MAKE_SURE"), this);
  ok->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(remove);
  buttons->addWidget(removeAll);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  auto* box = new QVBoxLayout(this);
  box->addWidget(users_);
  box->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &CUserDialog::OnOk);
  connect(remove, &QPushButton::clicked, this, &CUserDialog::OnDelete);
  connect(removeAll, &QPushButton::clicked, this, &CUserDialog::OnDeleteAll);
  Fill();
}

void CUserDialog::Fill() {
  users_->clear();
  if (!g_Config) return;
  for (const std::string& name : g_Config->configNames) users_->addItem(Qs(name));
  const QString current = Qs(g_Config->currentConfigName);
  const int index = users_->findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive);
  users_->setCurrentIndex(index);
  // On a first start the list is empty: offer the user the settings are already loaded for.
  if (index < 0) users_->setEditText(current);
}

void CUserDialog::OnOk() {
  const std::string name = Ss(users_->currentText().trimmed());
  if (name.empty()) {
    ShowBox(TxS(kDialogSetting, "IDS_WRITE_NAME"));
    return;
  }
  if (!g_Config) return;
  if (g_Config->SelectConfig(name) == 1) {
    g_Config->LoadReportSettings();
    accept();
    return;
  }
  // A new user sets the case folder, the report set and the standard values first.
  accept();
  CSettingsDialog settings(0, parentWidget());
  settings.exec();
}

void CUserDialog::OnDelete() {
  const QString text = users_->currentText().trimmed();
  if (text.isEmpty()) {
    ShowBox(TxS(kDialogSetting, "IDS_APPOINT_NAME"));
    return;
  }
  const int index = users_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0 || !g_Config) {
    ShowBox(TxS(kGlobalSetting, "IDS_UNABLE_DEL"));
    return;
  }
  const std::string name = Ss(text);
  if (!AskYesNo(TxS(kDialogSetting, "IDS_DELETE_USER") + name + "?")) return;
  // The report file goes only with its user: a user left in the configuration keeps its sets.
  if (g_Config->DeleteConfigSection(name) != 1) {
    ShowBox(TxS(kGlobalSetting, "IDS_UNABLE_DEL"));
    return;
  }
  users_->removeItem(index);
  users_->setEditText(QString());
  RemoveFileIfThere(ReportFilePath(name));
}

void CUserDialog::OnDeleteAll() {
  if (!AskYesNo(TxS(kDialogSetting, "IDS_DEL_ALLUSER")) || !g_Config) return;
  for (int i = 0; i < users_->count(); ++i)
    RemoveFileIfThere(ReportFilePath(Ss(users_->itemText(i))));
  users_->clear();
  RemoveFileIfThere(ProgramPath("\\MreConfig.ini"));
  g_Config->configNames.clear();
  g_Config->ResetToDefaults();
  Fill();
}

}  // namespace vesk
