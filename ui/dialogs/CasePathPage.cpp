#include "dialogs/CasePathPage.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QVBoxLayout>

#include "common/Texts.h"
#include "controls/DriveFolderLists.h"
#include "dialogs/DialogUtil.h"
#include "platform/ProgramDir.h"
#include "settings/ConfigFile.h"

namespace vesk {

CCasePathPage::CCasePathPage(CConfigFile& config, QWidget* parent)
    : QWidget(parent), config_(config) {
  auto* group = Named<QGroupBox>(1083, Tx(kCaseSetting, "IDS_FILE_PATH"), this);
  lists_ = new CDriveFolderLists(group);
  useDefault_ = Named<QCheckBox>(1108, Tx(kCaseSetting, "IDS_ACQUIESCE_PATH"), this);
  auto* groupBox = new QVBoxLayout(group);
  groupBox->addWidget(lists_);
  auto* box = new QVBoxLayout(this);
  box->addWidget(group, 1);
  box->addWidget(useDefault_);

  const std::string defaultPath = ProgramPath("\\data");
  const bool useDefault = config_.settings.useDefaultPath != 0;
  const std::string& stored =
      config_.settings.patientFilePath.empty() ? defaultPath : config_.settings.patientFilePath;
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
  const bool useDefault = useDefault_->isChecked();
  config_.settings.useDefaultPath = useDefault ? 1 : 0;
  config_.settings.patientFilePath = useDefault ? ProgramPath("\\data") : Ss(lists_->Folder());
}

}  // namespace vesk
