#include "dialogs/SettingsDialog.h"

#include <QtWidgets/QTabWidget>
#include <QtWidgets/QVBoxLayout>

#include "common/Texts.h"
#include "dialogs/CasePathPage.h"
#include "dialogs/DialogUtil.h"
#include "dialogs/ReportPage.h"
#include "dialogs/StandardValuesPage.h"

namespace vesk {

CSettingsDialog::CSettingsDialog(CConfigFile& config, int page, QWidget* parent) : QDialog(parent) {
  setWindowTitle(Tx(kDialogSetting, "IDS_SET_CONFIGURATION"));
  tabs_ = Named<QTabWidget>(1151, this);
  casePath_ = new CCasePathPage(config, tabs_);
  report_ = new CReportPage(config, tabs_);
  standard_ = new CStandardValuesPage(config, tabs_);
  tabs_->addTab(casePath_, Tx(kCaseSetting, "IDS_CASE_PATH"));
  tabs_->addTab(report_, Tx(kCaseSetting, "IDS_REPORT"));
  tabs_->addTab(standard_, Tx(kCaseSetting, "IDS_STANDARD_VALUES"));
  tabs_->setCurrentIndex(page >= 0 && page < tabs_->count() ? page : 0);
  auto* box = new QVBoxLayout(this);
  box->addWidget(tabs_, 1);
  QPushButton* ok = nullptr;
  box->addLayout(OkCancelRow(this, 1063, 1064, &ok));
  connect(ok, &QPushButton::clicked, this, &CSettingsDialog::OnOk);
  resize(620, 520);
}

void CSettingsDialog::OnOk() {
  casePath_->Apply();
  report_->Apply();
  standard_->Apply();
  accept();
}

}  // namespace vesk
