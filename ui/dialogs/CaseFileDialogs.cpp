#include "dialogs/CaseFileDialogs.h"

#include <QtWidgets/QLabel>
#include <QtWidgets/QVBoxLayout>
#include <utility>

#include "common/Texts.h"
#include "common/UiMessages.h"
#include "controls/DriveFolderLists.h"
#include "dialogs/CaseListPanel.h"
#include "dialogs/DialogUtil.h"
#include "settings/ConfigFile.h"

namespace vesk {

namespace {

QString ChooseFolderWithDialog(QWidget* parent, const QString& start) {
  CFolderChooser chooser(start, parent);
  return chooser.exec() == QDialog::Accepted ? chooser.Folder() : QString();
}

}  // namespace

QString (*CCopyDialog::ChooseFolder)(QWidget*, const QString&) = ChooseFolderWithDialog;

CFolderChooser::CFolderChooser(const QString& start, QWidget* parent) : QDialog(parent) {
  setWindowTitle(Tx(kDialogSetting, "IDS_SEL_PATH"));
  lists_ = new CDriveFolderLists(this);
  auto* box = new QVBoxLayout(this);
  box->addWidget(lists_, 1);
  QPushButton* ok = nullptr;
  box->addLayout(OkCancelRow(this, 1, 2, &ok));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  resize(420, 460);
  lists_->SetFolder(start);
}

QString CFolderChooser::Folder() const {
  return lists_->Folder();
}

CCopyDialog::CCopyDialog(const CConfigFile& config, const CLanguage& language, QWidget* parent)
    : QDialog(parent), language_(language) {
  setWindowTitle(Tx(kMessageSetting, "IDS_NEED_COPY"));
  panel_ = new CCaseListPanel(config, language, true, this);
  auto* box = new QVBoxLayout(this);
  box->addWidget(panel_, 1);
  QPushButton* ok = nullptr;
  box->addLayout(OkCancelRow(this, 1, 2, &ok));
  connect(ok, &QPushButton::clicked, this, &CCopyDialog::OnOk);
  resize(860, 520);
  panel_->Lists()->SetFolder(panel_->StartFolder());
}

void CCopyDialog::OnOk() {
  if (panel_->SelectedPaths().empty()) {
    ShowBox(TxS(kGlobalSetting, "IDS_PLEASE_CHOSE"));
    return;
  }
  const QString target = ChooseFolder(this, panel_->Folder());
  if (target.isEmpty()) return;
  CopySelectedTo(target);
  accept();
}

bool CCopyDialog::CopySelectedTo(const QString& folder) {
  const std::vector<CaseOpResult> results = CopyCaseFiles(panel_->SelectedPaths(), Ss(folder));
  bool all = true;
  for (const CaseOpResult& r : results) {
    if (r.ok()) continue;
    all = false;
    ShowBox(r.Text(language_), MessageIcon::Warning);
  }
  return all;
}

CDeleteDialog::CDeleteDialog(const CConfigFile& config, const CLanguage& language,
                             std::string openCasePath, QWidget* parent)
    : QDialog(parent),
      config_(config),
      language_(language),
      openCasePath_(std::move(openCasePath)) {
  setWindowTitle(Tx(kMessageSetting, "IDS_NEED_DELETE"));
  panel_ = new CCaseListPanel(config, language, true, this);
  auto* box = new QVBoxLayout(this);
  box->addWidget(panel_, 1);
  QPushButton* ok = nullptr;
  box->addLayout(OkCancelRow(this, 1, 2, &ok));
  connect(ok, &QPushButton::clicked, this, &CDeleteDialog::OnOk);
  resize(860, 520);
  panel_->Lists()->SetFolder(panel_->StartFolder());
}

void CDeleteDialog::OnOk() {
  const std::vector<std::string> selected = panel_->SelectedPaths();
  if (selected.empty()) {
    ShowBox(TxS(kGlobalSetting, "IDS_PLEASE_CHOSE"));
    return;
  }
  if (!AskYesNo(TxS(kGlobalSetting, "IDS_DELETE"))) return;
  const std::string openCase = config_.caseState.caseOpen ? openCasePath_ : std::string();
  const std::vector<CaseOpResult> results = DeleteCaseFiles(selected, openCase);
  // The results come in the order of the selection; tell them from the last, as they ran.
  for (size_t i = results.size(); i-- > 0;) {
    if (results[i].ok())
      panel_->RemoveRowOf(selected[i]);
    else
      ShowBox(results[i].Text(language_), MessageIcon::Warning);
  }
}

}  // namespace vesk
