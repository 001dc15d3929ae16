#include "dialogs/SetEditor.h"

#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTimeEdit>
#include <QtWidgets/QVBoxLayout>
#include <algorithm>

#include "common/Texts.h"
#include "common/UiMessages.h"
#include "dialogs/DialogUtil.h"
#include "reports/ReportPageTable.h"
#include "settings/ConfigFile.h"

namespace vesk {

namespace {

constexpr const char* kIndexKeys[3] = {"IDS_AASI", "IDS_SMOOTH_INDEX", "IDS_MORNING_SURGE"};
constexpr const char* kSpo2Keys[3] = {"IDS_SUMMARY_REPORT", "IDS_RATION_REPORT",
                                      "IDS_HISTOGRAM_REPORT"};
// The "Spo2 Page" values of the three variants.
constexpr int kSpo2Values[3] = {1, 2, 3};

bool ConfirmSurgeTimesWithDialog(CaseState& times, QWidget* parent) {
  CMorningSurgeDialog dialog(times.awakeStartMinutes, times.asleepStartMinutes, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  times.awakeStartMinutes = dialog.AwakeStart();
  times.asleepStartMinutes = dialog.AsleepStart();
  return true;
}

QTime TimeOf(int minutes) {
  return QTime(std::clamp(minutes, 0, 1439) / 60, std::clamp(minutes, 0, 1439) % 60);
}

}  // namespace

bool (*CEditPrintPage::ConfirmSurgeTimes)(CaseState&, QWidget*) = ConfirmSurgeTimesWithDialog;

CEditPrintPage::CEditPrintPage(CConfigFile& config, const std::string& name,
                               const ReportSettings& values, QWidget* parent)
    : QWidget(parent), config_(config) {
  name_ = Named<QLineEdit>(1155, Qs(name), this);
  name_->setMaxLength(kNameLimit);
  title_ = Named<QLineEdit>(1156, Qs(values.title), this);
  title_->setMaxLength(kTitleLimit);
  auto* form = new QFormLayout;
  form->addRow(Named<QLabel>(1003, Tx(kCaseSetting, "IDS_REPORT_NAME"), this), name_);
  form->addRow(Named<QLabel>(1004, Tx(kCaseSetting, "IDS_REPORT_TITLE"), this), title_);

  auto* pageGroup = new QGroupBox(this);
  auto* pageGrid = new QGridLayout(pageGroup);
  for (int i = 0; i < kReportPageCount; ++i) {
    const ReportPageRow& row = ReportPages()[size_t(i)];
    pages_[size_t(i)] =
        Named<QCheckBox>(1201 + i, Tx(row.languageSection, row.languageKey), pageGroup);
    pages_[size_t(i)]->setChecked(values.pages[size_t(i)] != 0);
    pageGrid->addWidget(pages_[size_t(i)], i % 6, i / 6);
  }
  auto* indexRow = new QHBoxLayout;
  const int32_t flags[3] = {values.aasi, values.smoothIndex, values.morningSurge};
  for (int i = 0; i < 3; ++i) {
    indices_[size_t(i)] = Named<QCheckBox>(1213 + i, Tx(kCaseSetting, kIndexKeys[i]), this);
    indices_[size_t(i)]->setChecked(flags[i] != 0);
    indexRow->addWidget(indices_[size_t(i)]);
  }
  indexRow->addStretch(1);

  spo2_ = Named<QCheckBox>(1216, Tx(kCorreLine, "IDS_SPO2_DATA"), this);
  spo2_->setChecked(values.Spo2PagePresent());
  auto* variants = new QButtonGroup(this);
  auto* spo2Row = new QHBoxLayout;
  spo2Row->addWidget(spo2_);
  for (int i = 0; i < 3; ++i) {
    spo2Variants_[size_t(i)] = Named<QRadioButton>(1217 + i, Tx(kCaseSetting, kSpo2Keys[i]), this);
    variants->addButton(spo2Variants_[size_t(i)], i);
    spo2Row->addWidget(spo2Variants_[size_t(i)]);
  }
  spo2Row->addStretch(1);
  const int variant =
      int(std::find(std::begin(kSpo2Values), std::end(kSpo2Values), values.spo2Page) -
          std::begin(kSpo2Values));
  spo2Variants_[size_t(variant < 3 ? variant : 0)]->setChecked(true);

  auto* box = new QVBoxLayout(this);
  box->addLayout(form);
  box->addWidget(pageGroup);
  box->addLayout(indexRow);
  box->addLayout(spo2Row);
  box->addStretch(1);

  connect(pages_[0], &QCheckBox::toggled, this, &CEditPrintPage::UpdateEnabling);
  connect(spo2_, &QCheckBox::toggled, this, &CEditPrintPage::UpdateEnabling);
  connect(indices_[2], &QCheckBox::clicked, this, &CEditPrintPage::OnMorningSurge);
  UpdateEnabling();
}

void CEditPrintPage::UpdateEnabling() {
  // The indices belong to the demographics page.
  const bool indices = pages_[0]->isChecked() && indicesAllowed_;
  for (QCheckBox* b : indices_) b->setEnabled(indices);
  for (QRadioButton* r : spo2Variants_) r->setEnabled(spo2_->isChecked());
}

void CEditPrintPage::OnMorningSurge(bool checked) {
  if (checked && !ConfirmSurgeTimes(config_.caseState, this)) indices_[2]->setChecked(false);
}

ReportSettings CEditPrintPage::Values() const {
  ReportSettings v;
  v.title = Ss(title_->text());
  for (int i = 0; i < kReportPageCount; ++i) v.pages[size_t(i)] = pages_[size_t(i)]->isChecked();
  v.aasi = indices_[0]->isChecked();
  v.smoothIndex = indices_[1]->isChecked();
  v.morningSurge = indices_[2]->isChecked();
  v.spo2Page = -1;
  if (spo2_->isChecked()) {
    for (int i = 0; i < 3; ++i)
      if (spo2Variants_[size_t(i)]->isChecked()) v.spo2Page = kSpo2Values[i];
  }
  return v;
}

CSetEditor::CSetEditor(CConfigFile& config, const std::string& name, const ReportSettings& values,
                       QWidget* parent)
    : QDialog(parent), config_(config), isNew_(name.empty()) {
  setWindowTitle(Tx(kGlobalSetting, isNew_ ? "IDS_ADD_REPORT" : "IDS_EDIT_REPORT"));
  tabs_ = new QTabWidget(this);
  page_ = new CEditPrintPage(config, name, values, tabs_);
  if (!isNew_) page_->NameField()->setReadOnly(true);
  tabs_->addTab(page_, Tx(kCaseSetting, "IDS_PRINT_PAGE"));
  auto* box = new QVBoxLayout(this);
  box->addWidget(tabs_, 1);
  QPushButton* ok = nullptr;
  box->addLayout(OkCancelRow(this, 1, 2, &ok));
  connect(ok, &QPushButton::clicked, this, &CSetEditor::OnOk);
}

std::string CSetEditor::Name() const {
  return Ss(page_->NameField()->text().trimmed());
}

void CSetEditor::OnOk() {
  if (isNew_) {
    const std::string name = Name();
    const std::string title = TxS(kCorreLine, "IDS_REPOET_PAGE");
    if (name.empty()) {
      ShowBox(TxS(kCorreLine, "IDS_SPECIFY_FILE"), MessageIcon::Warning, MessageButtons::Ok, title);
      page_->NameField()->setFocus();
      return;
    }
    const std::vector<std::string>& taken = config_.reportNames;
    if (std::find(taken.begin(), taken.end(), name) != taken.end()) {
      ShowBox(TxS(kCorreLine, "IDS_DUPLICATE_FORMAT"), MessageIcon::Warning, MessageButtons::Ok,
              title);
      page_->NameField()->setFocus();
      return;
    }
  }
  accept();
}

CMorningSurgeDialog::CMorningSurgeDialog(int awakeStart, int asleepStart, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(Tx(kCaseSetting, "IDS_MORNING_SURGE"));
  awake_ = new QTimeEdit(TimeOf(awakeStart), this);
  awake_->setObjectName("awake");
  awake_->setDisplayFormat("HH:mm");
  asleep_ = new QTimeEdit(TimeOf(asleepStart), this);
  asleep_->setObjectName("asleep");
  asleep_->setDisplayFormat("HH:mm");
  auto* form = new QFormLayout;
  form->addRow(Tx(kMessageSetting, "IDS_AWAKE"), awake_);
  form->addRow(Tx(kMessageSetting, "IDS_SLEEP"), asleep_);
  auto* box = new QVBoxLayout(this);
  box->addLayout(form);
  QPushButton* ok = nullptr;
  box->addLayout(OkCancelRow(this, 1, 2, &ok));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

int CMorningSurgeDialog::AwakeStart() const {
  return awake_->time().hour() * 60 + awake_->time().minute();
}

int CMorningSurgeDialog::AsleepStart() const {
  return asleep_->time().hour() * 60 + asleep_->time().minute();
}

}  // namespace vesk
