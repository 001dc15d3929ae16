#include "dialogs/DialogUtil.h"

#include <QtWidgets/QHBoxLayout>

#include "common/Texts.h"

namespace vesk {

QHBoxLayout* OkCancelRow(QDialog* dialog, int okId, int cancelId, QPushButton** ok,
                         QPushButton** cancel) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  auto* okButton = Named<QPushButton>(okId, Tx(kMessageSetting, "IDS_MAKE_SURE"), dialog);
  okButton->setDefault(true);
  okButton->setMinimumWidth(90);
  row->addWidget(okButton);
  if (ok) *ok = okButton;
  if (cancelId) {
    auto* cancelButton = Named<QPushButton>(cancelId, Tx(kMessageSetting, "IDS_CANCEL"), dialog);
    cancelButton->setMinimumWidth(90);
    QObject::connect(cancelButton, &QPushButton::clicked, dialog, &QDialog::reject);
    row->addWidget(cancelButton);
    if (cancel) *cancel = cancelButton;
  }
  return row;
}

}  // namespace vesk
