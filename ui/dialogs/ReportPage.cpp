#include "dialogs/ReportPage.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "common/Globals.h"
#include "common/Texts.h"
#include "common/UiMessages.h"
#include "dialogs/DialogUtil.h"
#include "dialogs/SetEditor.h"
#include "settings/ConfigKeys.h"

namespace vesk {

namespace {

int RunEditorModally(CSetEditor& editor) {
  return editor.exec();
}

}  // namespace

int (*CReportPage::RunEditor)(CSetEditor&) = RunEditorModally;

CReportPage::CReportPage(QWidget* parent) : QWidget(parent) {
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
  if (!g_Config) return;
  for (const std::string& name : g_Config->reportNames) sets_->addItem(Qs(name));
  sets_->setCurrentIndex(
      sets_->findText(Qs(g_Config->currentReportName), Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void CReportPage::OnAdd() {
  if (!g_Config) return;
  CSetEditor editor(std::string(), DefaultReportSettings(), this);
  if (RunEditor(editor) != QDialog::Accepted) return;
  const std::string name = editor.Name();
  // A set that could not be listed or written must not look saved: the editor's values
  // would be gone at the next start.
  if (g_Config->AddReportSection(name) != 1 || !g_Config->WriteReportSet(name, editor.Values()))
    ShowBox(TxS(kGlobalSetting, "IDS_SAVE_FAULT"), MessageIcon::Error);
  Fill();
  sets_->setCurrentIndex(sets_->findText(Qs(name), Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void CReportPage::OnEdit() {
  if (!g_Config) return;
  const std::string name = Ss(sets_->currentText());
  if (name.empty()) {
    ShowBox(TxS(kGlobalSetting, "IDS_NAME_EMPTY"));
    return;
  }
  const bool current = name == g_Config->currentReportName;
  CSetEditor editor(name, current ? g_Config->report : g_Config->ReadReportSet(name, 1), this);
  if (RunEditor(editor) != QDialog::Accepted) return;
  bool saved = false;
  if (current) {
    g_Config->report = editor.Values();
    saved = g_Config->SaveReportSection(name) == 1;
  } else {
    saved = g_Config->WriteReportSet(name, editor.Values());
  }
  if (!saved) ShowBox(TxS(kGlobalSetting, "IDS_SAVE_FAULT"), MessageIcon::Error);
}

void CReportPage::OnDelete() {
  if (!g_Config) return;
  const std::string name = Ss(sets_->currentText());
  if (name.empty()) {
    ShowBox(TxS(kGlobalSetting, "IDS_NAME_EMPTY"));
    return;
  }
  if (!AskYesNo(TxS(kGlobalSetting, "IDS_SURE_DELE"))) return;
  if (g_Config->DeleteReportSection(name) == 1) {
    Fill();
    sets_->setCurrentIndex(sets_->count() > 0 ? 0 : -1);
  } else {
    ShowBox(TxS(kGlobalSetting, "IDS_UNABLE_DEL"));
  }
}

void CReportPage::Apply() {
  if (!g_Config) return;
  const std::string name = Ss(sets_->currentText());
  if (name.empty()) return;
  // A failure has already been told ("Error in SetCurReportSettings!") and keeps the set that
  // was current; there is nothing more the page could do about it.
  if (g_Config->SetCurReportSettings(name) != 1) return;
}

}  // namespace vesk
