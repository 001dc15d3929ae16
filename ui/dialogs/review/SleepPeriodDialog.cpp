#include "dialogs/review/SleepPeriodDialog.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "dialogs/review/ReviewText.h"

namespace vesk {

namespace {

constexpr const char* kMessage = "Message Setting";

int StepOf(int minutes) {
  return minutes < 0 || minutes >= 24 * 60 ? 0 : minutes / kSleepStepMinutes;
}

QComboBox* TimeList(const QString& name, int minutes, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  for (int p = 0; p < kSleepSteps; ++p) {
    const int m = p * kSleepStepMinutes;
    list->addItem(QString::asprintf("%02d:%02d", m / 60, m % 60));
  }
  list->setCurrentIndex(StepOf(minutes));
  return list;
}

}  // namespace

SleepPeriodDialog::SleepPeriodDialog(int awakeStart, int asleepStart, const CLanguage& language,
                                     QWidget* parent)
    : QDialog(parent),
      awake_(StepOf(awakeStart) * kSleepStepMinutes),
      asleep_(StepOf(asleepStart) * kSleepStepMinutes) {
  setObjectName("SleepPeriodDialog");
  const auto tx = [&language](const char* key) { return review::Text(language, kMessage, key); };
  setWindowTitle(tx("IDS_SLEEP_PERIOD"));
  awakeList_ = TimeList("AwakeList", awakeStart, this);
  asleepList_ = TimeList("AsleepList", asleepStart, this);
  connect(awakeList_, &QComboBox::currentIndexChanged, this,
          [this](int p) { awake_ = p * kSleepStepMinutes; });
  connect(asleepList_, &QComboBox::currentIndexChanged, this,
          [this](int p) { asleep_ = p * kSleepStepMinutes; });

  auto* form = new QFormLayout;
  form->addRow(tx("IDS_AWAKE"), awakeList_);
  form->addRow(tx("IDS_SLEEP"), asleepList_);

  auto* ok = new QPushButton(tx("IDS_MAKE_SURE"), this);
  ok->setObjectName("1");
  ok->setDefault(true);
  auto* cancel = new QPushButton(tx("IDS_CANCEL"), this);
  cancel->setObjectName("2");
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(form);
  outer->addLayout(buttons);
  setMinimumWidth(280);
}

}  // namespace vesk
