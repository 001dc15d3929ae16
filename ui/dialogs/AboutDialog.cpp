#include "dialogs/AboutDialog.h"

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QVBoxLayout>

#include "app/AppInfo.h"
#include "common/Texts.h"
#include "dialogs/DialogUtil.h"

namespace vesk {

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Tx(kDialogSetting, "IDS_ABOULT_BMP"));
  auto* logo = new QLabel(this);
  logo->setPixmap(QPixmap(":/res/Logo.png"));
  auto* serial = Named<QLabel>(1127, Qs(SerialNumberText()), this);
  auto* edition =
      Named<QLabel>(1197, Tx(kDialogSetting, "IDS_EDITION") + " " + Qs(g_VersionNumber), this);
  auto* texts = new QVBoxLayout;
  texts->addWidget(edition);
  texts->addWidget(serial);
  auto* top = new QHBoxLayout;
  top->addWidget(logo);
  top->addSpacing(12);
  top->addLayout(texts, 1);
  auto* box = new QVBoxLayout(this);
  box->addLayout(top);
  QPushButton* ok = nullptr;
  box->addLayout(OkCancelRow(this, 1, 0, &ok));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace vesk
