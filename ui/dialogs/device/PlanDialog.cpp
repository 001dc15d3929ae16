#include "dialogs/device/PlanDialog.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>

#include "device/PlanRules.h"
#include "dialogs/device/DeviceDialogUtil.h"
#include "dialogs/device/PlanDial.h"

namespace vesk {

PlanDialog::PlanDialog(const PlanDialogContext& context, QWidget* parent, bool finish)
    : PlanDialogBase(context, parent) {
  setObjectName("PlanDialog");
  const UserSettings& s = context.settings;
  grid_ = new QGridLayout(this);
  int row = AddPatientRows(grid_, 0, 1036, 1001, 1004);
  auto label = [&](const char* section, const char* key) {
    return new QLabel(T(section, key), this);
  };
  const QStringList times = TimeEntries();
  const QStringList intervals = IntervalEntries(context.language);
  QStringList special = {T("Dialog Setting", "IDS_NONE")};
  special << times;
  const QStringList onOff = {T("Dialog Setting", "IDS_SWITCH_ON"),
                             T("Dialog Setting", "IDS_TURN_OFF")};
  awakeTime_ = AddList(1009, times, s.awakeTime);
  awakeSpan_ = AddList(1013, intervals, s.awakeSpan);
  asleepTime_ = AddList(1010, times, s.asleepTime);
  asleepSpan_ = AddList(1014, intervals, s.asleepSpan);
  specialStart_ = AddList(1011, special, s.specialStart);
  specialEnd_ = AddList(1012, special, s.specialEnd);
  specialSpan_ = AddList(1015, intervals, s.specialSpan);
  startKey_ = AddList(1008, onOff, s.startKey);
  manualSet_ = AddList(1100, onOff, s.displayHandIntercalate);

  grid_->addWidget(label("Message Setting", "IDS_TIMES"), row, 1);
  grid_->addWidget(label("Message Setting", "IDS_INTERVALS"), row, 2);
  ++row;
  grid_->addWidget(label("Message Setting", "IDS_AWAKE"), row, 0);
  grid_->addWidget(awakeTime_, row, 1);
  grid_->addWidget(awakeSpan_, row, 2);
  ++row;
  grid_->addWidget(label("Message Setting", "IDS_SLEEP"), row, 0);
  grid_->addWidget(asleepTime_, row, 1);
  grid_->addWidget(asleepSpan_, row, 2);
  ++row;
  grid_->addWidget(label("Message Setting", "IDS_SPECIAL_BEGIN"), row, 0);
  grid_->addWidget(specialStart_, row, 1);
  ++row;
  grid_->addWidget(label("Message Setting", "IDS_SPECIAL_FINISH"), row, 0);
  grid_->addWidget(specialEnd_, row, 1);
  grid_->addWidget(specialSpan_, row, 2);
  ++row;
  grid_->addWidget(label("Message Setting", "IDS_BEGIN_KEY"), row, 0);
  grid_->addWidget(startKey_, row, 1);
  ++row;
  grid_->addWidget(label("Message Setting", "IDS_MAUNAL_SET"), row, 0);
  grid_->addWidget(manualSet_, row, 1);
  ++row;
  dial_ = new PlanDial(this);
  dial_->SetLegend({T("Message Setting", "IDS_AWAKE"), T("Message Setting", "IDS_SLEEP"),
                    T("Dialog Setting", "IDS_SPECIAL_PERIOD")});
  grid_->addWidget(dial_, 0, 4, row, 1);
  grid_->setColumnStretch(4, 1);

  for (QComboBox* list : {awakeTime_, asleepTime_, specialEnd_})
    connect(list, &QComboBox::currentIndexChanged, this, [this] {
      if (!adjusting_) OnSpecialChanged();
    });
  connect(specialStart_, &QComboBox::currentIndexChanged, this, [this] {
    if (adjusting_) return;
    // Without a start there is no special period: its end and interval go back to "none".
    if (Index(specialStart_) == 0) {
      adjusting_ = true;
      specialEnd_->setCurrentIndex(0);
      specialSpan_->setCurrentIndex(0);
      adjusting_ = false;
    }
    OnSpecialChanged();
  });
  OnSpecialChanged();
  nextRow_ = row;
  if (finish) AddOkCancel(grid_, row, 5);
}

int PlanDialog::Index(const QComboBox* list) {
  return list->currentIndex();
}

void PlanDialog::OnSpecialChanged() {
  // The special interval offers only "none" when the end is "none" or equals the start.
  const bool selectable = plan::SpecialIntervalSelectable(Index(specialStart_), Index(specialEnd_));
  const bool full = specialSpan_->count() > 1;
  if (selectable != full) {
    adjusting_ = true;
    const int keep = Index(specialSpan_);
    specialSpan_->clear();
    if (selectable)
      specialSpan_->addItems(IntervalEntries(context_.language));
    else
      specialSpan_->addItem(T("Dialog Setting", "IDS_NONE"));
    specialSpan_->setCurrentIndex(selectable && keep > 0 ? keep : 0);
    adjusting_ = false;
  }
  UpdateDial();
}

void PlanDialog::UpdateDial() {
  const plan::HourMinute awake = plan::TimeFromIndex(Index(awakeTime_));
  const plan::HourMinute asleep = plan::TimeFromIndex(Index(asleepTime_));
  int start = -1, end = -1;
  if (Index(specialStart_) > 0 && Index(specialEnd_) > 0) {
    const plan::HourMinute a = plan::SpecialTimeFromIndex(Index(specialStart_));
    const plan::HourMinute b = plan::SpecialTimeFromIndex(Index(specialEnd_));
    start = a.hour * 60 + a.minute;
    end = b.hour * 60 + b.minute;
  }
  dial_->SetPeriods(awake.hour * 60 + awake.minute, asleep.hour * 60 + asleep.minute, start, end);
}

void PlanDialog::FillOptions(UploadPlanOptions& o) const {
  o.awakeTime = Index(awakeTime_);
  o.awakeSpan = Index(awakeSpan_);
  o.asleepTime = Index(asleepTime_);
  o.asleepSpan = Index(asleepSpan_);
  o.specialStart = Index(specialStart_);
  o.specialEnd = Index(specialEnd_);
  o.specialSpan = Index(specialSpan_);
  o.startKey = Index(startKey_);
  o.manualSet = Index(manualSet_);
}

void PlanDialog::StoreSettings() const {
  UserSettings& s = context_.settings;
  s.awakeTime = Index(awakeTime_);
  s.awakeSpan = Index(awakeSpan_);
  s.asleepTime = Index(asleepTime_);
  s.asleepSpan = Index(asleepSpan_);
  s.specialStart = Index(specialStart_);
  s.specialEnd = Index(specialEnd_);
  s.specialSpan = Index(specialSpan_);
  s.startKey = Index(startKey_);
  s.displayHandIntercalate = Index(manualSet_);
}

}  // namespace vesk
