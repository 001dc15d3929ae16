#include "dialogs/CasePathPage.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QVBoxLayout>

#include "common/Globals.h"
#include "common/Texts.h"
#include "controls/DriveFolderLists.h"
#include "dialogs/DialogUtil.h"
#include "platform/ProgramDir.h"

namespace vesk {

CCasePathPage::CCasePathPage(QWidget* parent) : QWidget(parent) {
  auto* group = Named<QGroupBox>(1083, Tx(kCaseSetting, "IDS_FILE_PATH"), this);
  lists_ = new CDriveFolderLists(group);
  useDefault_ = Named<QCheckBox>(1108, Tx(kCaseSetting, "IDS_ACQUIESCE_PATH"), this);
  auto* groupBox = new QVBoxLayout(group);
  groupBox->addWidget(lists_);
  auto* box = new QVBoxLayout(this);
  box->addWidget(group, 1);
  box->addWidget(useDefault_);

  const std::string defaultPath = ProgramPath("\\data");
  std::string stored = defaultPath;
  bool useDefault = true;
  if (g_Config) {
    useDefault = g_Config->settings.useDefaultPath != 0;
    if (!g_Config->settings.patientFilePath.empty()) stored = g_Config->settings.patientFilePath;
  }
  lists_->SetFolder(Qs(useDefault ? defaultPath : stored));
  useDefault_->setChecked(useDefault);
  UpdateEnabling();
  connect(useDefault_, &QCheckBox::toggled, this, &CCasePathPage::UpdateEnabling);
}

void CCasePathPage::UpdateEnabling() {
  const bool useDefault = useDefault_->isChecked();
  lists_->Drives()->setEnabled(!useDefault);
  lists_->Folders()->setEnabled(!useDefault);
  if (useDefault)
    lists_->ShowFixedPath(Qs(ProgramPath("\\data")));
  else
    lists_->ShowFixedPath(lists_->Folder());
}

void CCasePathPage::Apply() {
  if (!g_Config) return;
  const bool useDefault = useDefault_->isChecked();
  g_Config->settings.useDefaultPath = useDefault ? 1 : 0;
  g_Config->settings.patientFilePath = useDefault ? ProgramPath("\\data") : Ss(lists_->Folder());
}

}  // namespace vesk
