#include "dialogs/device/LinkWayDialog.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QVBoxLayout>

#include "dialogs/device/DeviceDialogUtil.h"

namespace vesk {

LinkWayDialog::LinkWayDialog(const CLanguage& language, bool useBluetooth, bool showDialog,
                             QWidget* parent)
    : QDialog(parent) {
  setObjectName("LinkWayDialog");
  const QString title = LangText(language, "Dialog Setting", "IDS_SETLINKWAY");
  setWindowTitle(title);
  auto* label = new QLabel(title, this);
  label->setObjectName("1108");
  usb_ = new QRadioButton(LangText(language, "Dialog Setting", "IDS_LINK_USB"), this);
  usb_->setObjectName("1105");
  bluetooth_ = new QRadioButton(LangText(language, "Dialog Setting", "IDS_LINK_BTH"), this);
  bluetooth_->setObjectName("1106");
  (useBluetooth ? bluetooth_ : usb_)->setChecked(true);
  notShow_ = new QCheckBox(LangText(language, "Dialog Setting", "IDS_NOTSHOW"), this);
  notShow_->setObjectName("1107");
  notShow_->setChecked(!showDialog);
  QPushButton* ok = nullptr;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(usb_);
  layout->addWidget(bluetooth_);
  layout->addSpacing(8);
  layout->addWidget(notShow_);
  layout->addLayout(DeviceOkCancelRow(this, language, &ok));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  setMinimumWidth(300);
}

bool LinkWayDialog::UseBluetooth() const {
  return bluetooth_->isChecked();
}

bool LinkWayDialog::ShowAgain() const {
  return !notShow_->isChecked();
}

}  // namespace vesk
