#include "dialogs/device/DeviceDialogUtil.h"

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QPushButton>

namespace vesk {

QHBoxLayout* DeviceOkCancelRow(QDialog* dialog, const CLanguage& language, QPushButton** ok,
                               QPushButton** cancel) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  auto* okButton = new QPushButton(LangText(language, "Message Setting", "IDS_MAKE_SURE"), dialog);
  okButton->setObjectName(QString::number(kIdOk));
  okButton->setDefault(true);
  okButton->setMinimumWidth(90);
  row->addWidget(okButton);
  auto* cancelButton = new QPushButton(LangText(language, "Message Setting", "IDS_CANCEL"), dialog);
  cancelButton->setObjectName(QString::number(kIdCancel));
  cancelButton->setMinimumWidth(90);
  QObject::connect(cancelButton, &QPushButton::clicked, dialog, &QDialog::reject);
  row->addWidget(cancelButton);
  if (ok) *ok = okButton;
  if (cancel) *cancel = cancelButton;
  return row;
}

}  // namespace vesk
