#include "dialogs/UserDialog.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QVBoxLayout>
#include <cstdio>

#include "common/Texts.h"
#include "common/UiMessages.h"
#include "dialogs/DialogUtil.h"
#include "dialogs/SettingsDialog.h"
#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"
#include "settings/ConfigFile.h"

namespace vesk {

namespace {

void RemoveFileIfThere(const std::string& path) {
  if (fsutil::FileExists(path)) std::remove(path.c_str());
}

}  // namespace

CUserDialog::CUserDialog(CConfigFile& config, QWidget* parent) : QDialog(parent), config_(config) {
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
  for (const std::string& name : config_.configNames) users_->addItem(Qs(name));
  const QString current = Qs(config_.currentConfigName);
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
  if (config_.SelectConfig(name) == 1) {
    config_.LoadReportSettings();
    accept();
    return;
  }
  // A new user sets the case folder, the report set and the standard values first.
  accept();
  CSettingsDialog settings(config_, 0, parentWidget());
  settings.exec();
}

void CUserDialog::OnDelete() {
  const QString text = users_->currentText().trimmed();
  if (text.isEmpty()) {
    ShowBox(TxS(kDialogSetting, "IDS_APPOINT_NAME"));
    return;
  }
  const int index = users_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0) {
    ShowBox(TxS(kGlobalSetting, "IDS_UNABLE_DEL"));
    return;
  }
  const std::string name = Ss(text);
  if (!AskYesNo(TxS(kDialogSetting, "IDS_DELETE_USER") + name + "?")) return;
  // The report file goes only with its user: a user left in the configuration keeps its sets.
  if (config_.DeleteConfigSection(name) != 1) {
    ShowBox(TxS(kGlobalSetting, "IDS_UNABLE_DEL"));
    return;
  }
  users_->removeItem(index);
  users_->setEditText(QString());
  RemoveFileIfThere(ReportFilePath(name));
}

void CUserDialog::OnDeleteAll() {
  if (!AskYesNo(TxS(kDialogSetting, "IDS_DEL_ALLUSER"))) return;
  for (int i = 0; i < users_->count(); ++i)
    RemoveFileIfThere(ReportFilePath(Ss(users_->itemText(i))));
  users_->clear();
  RemoveFileIfThere(ProgramPath("\\MreConfig.ini"));
  config_.configNames.clear();
  config_.ResetToDefaults();
  Fill();
}

}  // namespace vesk
