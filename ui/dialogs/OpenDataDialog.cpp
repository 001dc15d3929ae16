#include "dialogs/OpenDataDialog.h"

#include <QtWidgets/QDateEdit>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTimeEdit>
#include <QtWidgets/QVBoxLayout>

#include "cases/CaseLock.h"
#include "common/CaseLockPrompt.h"
#include "common/Texts.h"
#include "common/UiMessages.h"
#include "controls/DriveFolderLists.h"
#include "dialogs/CaseListPanel.h"
#include "dialogs/DialogUtil.h"

namespace vesk {

namespace {

QString MessageOrDialogText(const char* key) {
  const QString text = Tx(kMessageSetting, key);
  return text.isEmpty() ? Tx(kDialogSetting, key) : text;
}

}  // namespace

COpenDataDialog::COpenDataDialog(const CConfigFile& config, const CLanguage& language,
                                 QWidget* parent)
    : QDialog(parent), language_(language) {
  setWindowTitle(Tx(kMessageSetting, "IDS_SEL_OPENDATA"));
  panel_ = new CCaseListPanel(config, language, false, this);

  auto* search = new QGroupBox(MessageOrDialogText("IDS_SEARCH"), this);
  const char* choices[] = {"IDS_PATIENTS_NAMES", "IDS_PATIENTS_ID", "IDS_BEGIN_TIME"};
  const char* names[] = {"searchName", "searchId", "searchDate"};
  auto* searchGrid = new QGridLayout(search);
  for (int i = 0; i < 3; ++i) {
    searchBy_[i] = new QRadioButton(MessageOrDialogText(choices[i]), search);
    searchBy_[i]->setObjectName(names[i]);
    searchGrid->addWidget(searchBy_[i], 0, i);
  }
  searchBy_[0]->setChecked(true);
  searchText_ = new QLineEdit(search);
  searchText_->setObjectName("searchText");
  searchDate_ = new QDateEdit(QDate::currentDate(), search);
  searchDate_->setObjectName("searchDatePicker");
  searchDate_->setDisplayFormat("yyyy-MM-dd");
  searchDate_->setCalendarPopup(true);
  auto* searchButton = new QPushButton(MessageOrDialogText("IDS_SEARCH"), search);
  searchButton->setObjectName("search");
  searchGrid->addWidget(searchText_, 1, 0, 1, 2);
  searchGrid->addWidget(searchDate_, 1, 2);
  searchGrid->addWidget(searchButton, 1, 3);

  auto* measure = new QGroupBox(Tx(kMessageSetting, "IDS_CURRENT_TIME"), this);
  measureDate_ = new QDateEdit(QDate::currentDate(), measure);
  measureDate_->setObjectName("measureDate");
  measureDate_->setDisplayFormat("yyyy-MM-dd");
  measureDate_->setCalendarPopup(true);
  measureTime_ = new QTimeEdit(QTime(8, 0), measure);
  measureTime_->setObjectName("measureTime");
  measureTime_->setDisplayFormat("HH:mm");
  auto* update = new QPushButton(Tx(kDialogSetting, "IDS_UPDATE"), measure);
  update->setObjectName("update");
  auto* measureRow = new QHBoxLayout(measure);
  measureRow->addWidget(measureDate_);
  measureRow->addWidget(measureTime_);
  measureRow->addWidget(update);

  auto* tools = new QHBoxLayout;
  tools->addWidget(search, 3);
  tools->addWidget(measure, 2);
  auto* box = new QVBoxLayout(this);
  box->addWidget(panel_, 1);
  box->addLayout(tools);
  QPushButton* ok = nullptr;
  box->addLayout(OkCancelRow(this, 1, 2, &ok));
  resize(900, 560);

  connect(ok, &QPushButton::clicked, this, &COpenDataDialog::OnOk);
  connect(panel_, &CCaseListPanel::rowActivated, this, &COpenDataDialog::OnOk);
  connect(searchButton, &QPushButton::clicked, this, &COpenDataDialog::OnSearch);
  connect(update, &QPushButton::clicked, this, &COpenDataDialog::OnUpdateTime);
  panel_->Lists()->SetFolder(panel_->StartFolder());
}

void COpenDataDialog::OnSearch() {
  CaseSearch s;
  if (searchBy_[2]->isChecked()) {
    s.by = CaseSearchBy::StartDate;
    const QDate d = searchDate_->date();
    s.year = d.year();
    s.month = d.month();
    s.day = d.day();
  } else {
    s.by = searchBy_[1]->isChecked() ? CaseSearchBy::CaseId : CaseSearchBy::Name;
    s.text = Ss(searchText_->text());
  }
  if (!panel_->Search(s)) searchText_->setFocus();
}

void COpenDataDialog::OnUpdateTime() {
  const std::vector<std::string> selected = panel_->SelectedPaths();
  if (selected.empty()) {
    ShowBox(TxS(kGlobalSetting, "IDS_PLEASE_CHOSE"));
    return;
  }
  // The change rewrites the case file: not while another workstation edits the case.
  CaseLock lock;
  if (!LockCaseForEditing(selected.front(), language_, lock)) return;
  const QDate d = measureDate_->date();
  const QTime t = measureTime_->time();
  const CaseOpResult r =
      ChangeCaseMeasuringTime(selected.front(), d.year(), d.month(), d.day(), t.hour(), t.minute());
  if (!r.ok()) ShowBox(r.Text(language_), MessageIcon::Warning);
  panel_->Refill();
}

void COpenDataDialog::OnOk() {
  const std::vector<std::string> selected = panel_->SelectedPaths();
  if (selected.empty()) {
    ShowBox(TxS(kGlobalSetting, "IDS_PLEASE_CHOSE"));
    return;
  }
  const CaseOpResult r = CheckCaseBeforeOpen(selected.front());
  if (r.code == CaseOpCode::Locked) {
    ShowBox(TxS(kGlobalSetting, "IDS_CANNOT_CHECK"));
    return;
  }
  if (!r.ok()) {
    ShowBox(r.Text(language_), MessageIcon::Warning);
    return;
  }
  chosenPath_ = selected.front();
  accept();
}

}  // namespace vesk
