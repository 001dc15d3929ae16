#include "dialogs/device/TaloPlanDialog.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QSpinBox>
#include <algorithm>

#include "device/DeviceTypes.h"
#include "device/PlanRules.h"

namespace vesk {

namespace {

// The recorder's list, or its current interval alone when it names none.
std::vector<int32_t> OfferedIntervals(const std::vector<int32_t>& list, int32_t current) {
  return list.empty() ? std::vector<int32_t>{current} : list;
}

int IndexOf(const std::vector<int32_t>& list, int32_t value) {
  const auto it = std::find(list.begin(), list.end(), value);
  return it == list.end() ? 0 : int(it - list.begin());
}

int TimeIndex(int hour, int minute) {
  return std::clamp((hour * 60 + minute) / 30, 0, plan::kTimeSlots - 1);
}

}  // namespace

TaloPlanDialog::TaloPlanDialog(const PlanDialogContext& context, QWidget* parent)
    : PlanDialogBase(context, parent) {
  setObjectName("TaloPlanDialog");
  const _BP_TRANSPORT_INFO& held = context.recorder.plan;
  awakeMinutes_ = OfferedIntervals(context.recorder.awakeIntervals, held.awakeInterval);
  asleepMinutes_ = OfferedIntervals(context.recorder.asleepIntervals, held.asleepInterval);
  const QString mins = T("Dialog Setting", "IDS_MINS");
  auto entries = [&](const std::vector<int32_t>& list) {
    QStringList out;
    for (int32_t m : list)
      out << (m == -2 ? T("Dialog Setting", "IDS_NONE") : QString::number(m) + mins);
    return out;
  };

  auto* grid = new QGridLayout(this);
  int row = AddPatientRows(grid, 0, 1036, 1001, 1004);
  auto label = [&](const char* section, const char* key) {
    return new QLabel(T(section, key), this);
  };
  const QStringList times = TimeEntries();
  awakeTime_ = AddList(1009, times, TimeIndex(held.awakeHour, held.awakeMinute));
  awakeSpan_ = AddList(1013, entries(awakeMinutes_), IndexOf(awakeMinutes_, held.awakeInterval));
  asleepTime_ = AddList(1010, times, TimeIndex(held.asleepHour, held.asleepMinute));
  asleepSpan_ =
      AddList(1014, entries(asleepMinutes_), IndexOf(asleepMinutes_, held.asleepInterval));
  grid->addWidget(label("Message Setting", "IDS_TIMES"), row, 1);
  grid->addWidget(label("Message Setting", "IDS_INTERVALS"), row, 2);
  ++row;
  grid->addWidget(label("Message Setting", "IDS_AWAKE"), row, 0);
  grid->addWidget(awakeTime_, row, 1);
  grid->addWidget(awakeSpan_, row, 2);
  ++row;
  grid->addWidget(label("Message Setting", "IDS_SLEEP"), row, 0);
  grid->addWidget(asleepTime_, row, 1);
  grid->addWidget(asleepSpan_, row, 2);
  ++row;

  // The warning groups of a TALOBlack, as the recorder holds them. They are shown for the
  // clinician's information; the plan sent keeps the recorder's own values.
  warnings_ = new QWidget(this);
  warnings_->setObjectName("warnings");
  auto* w = new QGridLayout(warnings_);
  w->setContentsMargins(0, 0, 0, 0);
  const QStringList onOff = {T("Dialog Setting", "IDS_SWITCH_ON"),
                             T("Dialog Setting", "IDS_TURN_OFF")};
  const int32_t* groups[2] = {held.awakeWarn, held.asleepWarn};
  const int switchIds[2] = {1016, 1017};
  // [group][systolic high, low, diastolic high, low]
  const int ids[2][4] = {{1002, 1005, 1159, 1003}, {1007, 1019, 1166, 1018}};
  w->addWidget(new QLabel(T("Dialog Setting", "IDS_AWAKEWARN"), warnings_), 0, 1);
  w->addWidget(new QLabel(T("Dialog Setting", "IDS_ASLEEPWARN"), warnings_), 0, 2);
  const char* rowKeys[4][2] = {{"IDS_WARNSYS", "IDS_MAXVALUE"},
                               {"IDS_WARNSYS", "IDS_MAXVLAUE"},
                               {"IDS_WARNDIA", "IDS_MAXVALUE"},
                               {"IDS_WARNDIA", "IDS_MAXVLAUE"}};
  for (int g = 0; g < 2; ++g) {
    auto* sw = new QComboBox(warnings_);
    sw->setObjectName(QString::number(switchIds[g]));
    sw->addItems(onOff);
    sw->setCurrentIndex(groups[g][0] == 1 ? 0 : 1);
    w->addWidget(sw, 1, 1 + g);
  }
  for (int r = 0; r < 4; ++r) {
    w->addWidget(
        new QLabel(T("Dialog Setting", rowKeys[r][0]) + " " + T("Dialog Setting", rowKeys[r][1]),
                   warnings_),
        2 + r, 0);
    const bool sys = r < 2;
    for (int g = 0; g < 2; ++g) {
      auto* spin = new QSpinBox(warnings_);
      spin->setObjectName(QString::number(ids[g][r]));
      spin->setRange(sys ? 40 : 10, sys ? 270 : 215);
      spin->setValue(groups[g][1 + r]);
      w->addWidget(spin, 2 + r, 1 + g);
    }
    w->addWidget(new QLabel(sys ? "[40-270]" : "[10-215]", warnings_), 2 + r, 3);
  }
  grid->addWidget(warnings_, row, 0, 1, 4);
  ++row;
  // A TALOColor has no warnings: the window is the smaller for it.
  warnings_->setVisible(context.deviceKind == kTaloBlack);
  AddOkCancel(grid, row, 4);
  adjustSize();
}

void TaloPlanDialog::FillOptions(UploadPlanOptions& o) const {
  o.awakeTime = awakeTime_->currentIndex();
  o.asleepTime = asleepTime_->currentIndex();
  const int a = awakeSpan_->currentIndex(), b = asleepSpan_->currentIndex();
  if (a >= 0 && a < int(awakeMinutes_.size())) o.taloAwakeInterval = awakeMinutes_[size_t(a)];
  if (b >= 0 && b < int(asleepMinutes_.size())) o.taloAsleepInterval = asleepMinutes_[size_t(b)];
}

void TaloPlanDialog::StoreSettings() const {
  // The interval indexes belong to the recorder's own lists, not to the interval table the
  // other plan dialogs pre-select from: they go to the TALO keys.
  UserSettings& s = context_.settings;
  s.awakeTime = awakeTime_->currentIndex();
  s.asleepTime = asleepTime_->currentIndex();
  s.taloAwakeTime = awakeTime_->currentIndex();
  s.taloAsleepTime = asleepTime_->currentIndex();
  s.taloAwakeSpan = awakeSpan_->currentIndex();
  s.taloAsleepSpan = asleepSpan_->currentIndex();
}

}  // namespace vesk
