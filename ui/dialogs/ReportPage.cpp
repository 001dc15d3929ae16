#include "dialogs/ReportPage.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "common/Texts.h"
#include "common/UiMessages.h"
#include "dialogs/DialogUtil.h"
#include "dialogs/SetEditor.h"
#include "settings/ConfigFile.h"
#include "settings/ConfigKeys.h"

namespace vesk {

namespace {

int RunEditorModally(CSetEditor& editor) {
  return editor.exec();
}

}  // namespace

int (*CReportPage::RunEditor)(CSetEditor&) = RunEditorModally;

CReportPage::CReportPage(CConfigFile& config, QWidget* parent) : QWidget(parent), config_(config) {
  sets_ = new QComboBox(this);
  sets_->setObjectName("sets");
  sets_->setMinimumWidth(260);
  auto* edit = Named<QPushButton>(1003, Tx(kGlobalSetting, "IDS_EDIT_REPORT"), this);
  auto* add = Named<QPushButton>(1072, Tx(kGlobalSetting, "IDS_ADD_REPORT"), this);
  auto* remove = Named<QPushButton>(1073, Tx(kCaseSetting, "IDS_DELETE_REPORT"), this);
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(Tx(kCaseSetting, "IDS_REPORT_NAME"), this), 0, 0);
  grid->addWidget(sets_, 0, 1, 1, 3);
  grid->addWidget(edit, 1, 1);
  grid->addWidget(add, 1, 2);
  grid->addWidget(remove, 1, 3);
  auto* box = new QVBoxLayout(this);
  box->addLayout(grid);
  box->addStretch(1);
  connect(edit, &QPushButton::clicked, this, &CReportPage::OnEdit);
  connect(add, &QPushButton::clicked, this, &CReportPage::OnAdd);
  connect(remove, &QPushButton::clicked, this, &CReportPage::OnDelete);
  Fill();
}

void CReportPage::Fill() {
  sets_->clear();
  for (const std::string& name : config_.reportNames) sets_->addItem(Qs(name));
  sets_->setCurrentIndex(
      sets_->findText(Qs(config_.currentReportName), Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void CReportPage::OnAdd() {
  CSetEditor editor(config_, std::string(), DefaultReportSettings(), this);
  if (RunEditor(editor) != QDialog::Accepted) return;
  const std::string name = editor.Name();
  // A set that could not be listed or written must not look saved: the editor's values
  // would be gone at the next start.
  if (config_.AddReportSection(name) != 1 || !config_.WriteReportSet(name, editor.Values()))
    ShowBox(TxS(kGlobalSetting, "IDS_SAVE_FAULT"), MessageIcon::Error);
  Fill();
  sets_->setCurrentIndex(sets_->findText(Qs(name), Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void CReportPage::OnEdit() {
  const std::string name = Ss(sets_->currentText());
  if (name.empty()) {
    ShowBox(TxS(kGlobalSetting, "IDS_NAME_EMPTY"));
    return;
  }
  const bool current = name == config_.currentReportName;
  CSetEditor editor(config_, name, current ? config_.report : config_.ReadReportSet(name, 1), this);
  if (RunEditor(editor) != QDialog::Accepted) return;
  bool saved = false;
  if (current) {
    config_.report = editor.Values();
    saved = config_.SaveReportSection(name) == 1;
  } else {
    saved = config_.WriteReportSet(name, editor.Values());
  }
  if (!saved) ShowBox(TxS(kGlobalSetting, "IDS_SAVE_FAULT"), MessageIcon::Error);
}

void CReportPage::OnDelete() {
  const std::string name = Ss(sets_->currentText());
  if (name.empty()) {
    ShowBox(TxS(kGlobalSetting, "IDS_NAME_EMPTY"));
    return;
  }
  if (!AskYesNo(TxS(kGlobalSetting, "IDS_SURE_DELE"))) return;
  if (config_.DeleteReportSection(name) == 1) {
    Fill();
    sets_->setCurrentIndex(sets_->count() > 0 ? 0 : -1);
  } else {
    ShowBox(TxS(kGlobalSetting, "IDS_UNABLE_DEL"));
  }
}

void CReportPage::Apply() {
  const std::string name = Ss(sets_->currentText());
  if (name.empty()) return;
  // A failure has already been told ("Error in SetCurReportSettings!") and keeps the set that
  // was current; there is nothing more the page could do about it.
  if (config_.SetCurReportSettings(name) != 1) return;
}

}  // namespace vesk
