#include "dialogs/device/ModeChoiceDialogs.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "dialogs/device/DeviceDialogUtil.h"

namespace vesk {

DataModeDialog::DataModeDialog(const CLanguage& language, IMessageSink& sink,
                               std::vector<ModeChoice> choices, QWidget* parent)
    : QDialog(parent), language_(language), sink_(sink), choices_(std::move(choices)) {
  setObjectName("DataModeDialog");
  setWindowTitle(LangText(language, "Message Setting", "IDS_DEVICE_STATUS"));
  auto* label = new QLabel(LangText(language, "Message Setting", "IDS_PLEASE_CHOOSE"), this);
  label->setObjectName("1033");
  list_ = new QListWidget(this);
  list_->setObjectName("1039");
  for (const ModeChoice& c : choices_)
    list_->addItem(QString::fromStdString(c.label.Text(language)));
  if (list_->count() > 0) list_->setCurrentRow(0);
  connect(list_, &QListWidget::itemDoubleClicked, this, &DataModeDialog::OnOk);
  QPushButton* ok = nullptr;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(list_);
  layout->addLayout(DeviceOkCancelRow(this, language, &ok));
  connect(ok, &QPushButton::clicked, this, &DataModeDialog::OnOk);
  resize(340, 220);
}

void DataModeDialog::OnOk() {
  const int row = list_->currentRow();
  if (row < 0 || row >= int(choices_.size()) || list_->selectedItems().isEmpty()) {
    sink_.Show({language_.GetText("Message Setting", "IDS_PLEASE_CHOOSE"),
                {},
                MessageIcon::Warning,
                MessageButtons::Ok});
    return;
  }
  chosen_ = choices_[size_t(row)].mode;
  accept();
}

UserChoiceDialog::UserChoiceDialog(const CLanguage& language, std::vector<ModeChoice> choices,
                                   QWidget* parent)
    : QDialog(parent), choices_(std::move(choices)) {
  setObjectName("UserChoiceDialog");
  setWindowTitle(LangText(language, "Message Setting", "IDS_USER"));
  combo_ = new QComboBox(this);
  combo_->setObjectName("1195");
  for (const ModeChoice& c : choices_)
    combo_->addItem(QString::fromStdString(c.label.Text(language)));
  if (combo_->count() > 0) combo_->setCurrentIndex(0);
  QPushButton* ok = nullptr;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(combo_);
  layout->addLayout(DeviceOkCancelRow(this, language, &ok));
  connect(ok, &QPushButton::clicked, this, &UserChoiceDialog::OnOk);
  resize(300, 110);
}

void UserChoiceDialog::OnOk() {
  const int i = combo_->currentIndex();
  if (i < 0 || i >= int(choices_.size())) return;
  chosen_ = choices_[size_t(i)].mode;
  accept();
}

}  // namespace vesk
