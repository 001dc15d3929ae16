#include "dialogs/device/PexaPlanDialog.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QSpinBox>

#include "device/PlanRules.h"

namespace vesk {

namespace {

// Control ids of the limits: [group][systolic high, low, diastolic high, low, mean high, low].
constexpr int kLimitIds[2][6] = {{1127, 1142, 1145, 1147, 1149, 1151},
                                 {1155, 1156, 1163, 1164, 1157, 1165}};

QString RangeText(const plan::Range& r) {
  return QString::asprintf("[%d-%d]", r.low, r.high);
}

}  // namespace

PexaPlanDialog::PexaPlanDialog(const PlanDialogContext& context, QWidget* parent)
    : PlanDialog(context, parent, false) {
  setObjectName("PexaPlanDialog");
  int row = nextRow_;
  auto label = [&](const char* section, const char* key) {
    return new QLabel(T(section, key), this);
  };
  mode_ = AddList(1139,
                  {T("Dialog Setting", "IDS_ADULT"), T("Dialog Setting", "IDS_CHILD"),
                   T("Dialog Setting", "IDS_NEONATE")},
                  0);
  grid_->addWidget(label("Dialog Setting", "IDS_MEASUREMODE"), row, 0);
  grid_->addWidget(mode_, row, 1);
  ++row;
  maxPressure_ = new QSpinBox(this);
  maxPressure_->setObjectName("maxPressure");
  maxRange_ = new QLabel(this);
  maxRange_->setObjectName("maxPressureRange");
  grid_->addWidget(label("Dialog Setting", "IDS_MAXPRESSVALUE"), row, 0);
  grid_->addWidget(maxPressure_, row, 1);
  grid_->addWidget(maxRange_, row, 2);
  ++row;

  const QStringList onOff = {T("Dialog Setting", "IDS_SWITCH_ON"),
                             T("Dialog Setting", "IDS_TURN_OFF")};
  grid_->addWidget(label("Dialog Setting", "IDS_AWAKEWARN"), row, 1);
  grid_->addWidget(label("Dialog Setting", "IDS_ASLEEPWARN"), row, 2);
  ++row;
  for (int g = 0; g < 2; ++g) {
    // Off unless asked for: an alarm nobody set must not wake the patient.
    switches_[size_t(g)] = AddList(g == 0 ? 1016 : 1017, onOff, 1);
    grid_->addWidget(switches_[size_t(g)], row, 1 + g);
  }
  ++row;
  const char* groupKeys[3] = {"IDS_WARNSYS", "IDS_WARNDIA", "IDS_WARNAVG"};
  for (int k = 0; k < 3; ++k) {
    ranges_[size_t(k)] = new QLabel(this);
    ranges_[size_t(k)]->setObjectName(QString("range%1").arg(k));
    for (int bound = 0; bound < 2; ++bound) {
      const QString text = T("Dialog Setting", groupKeys[k]) + " " +
                           T("Dialog Setting", bound == 0 ? "IDS_MAXVALUE" : "IDS_MAXVLAUE");
      grid_->addWidget(new QLabel(text, this), row, 0);
      for (int g = 0; g < 2; ++g) {
        auto* spin = new QSpinBox(this);
        spin->setObjectName(QString::number(kLimitIds[g][k * 2 + bound]));
        limits_[size_t(g)][size_t(k * 2 + bound)] = spin;
        grid_->addWidget(spin, row, 1 + g);
      }
      if (bound == 0) grid_->addWidget(ranges_[size_t(k)], row, 3);
      ++row;
    }
  }
  connect(mode_, &QComboBox::currentIndexChanged, this, &PexaPlanDialog::OnModeChanged);
  OnModeChanged(0);
  AddOkCancel(grid_, row, 5);
}

void PexaPlanDialog::OnModeChanged(int mode) {
  const plan::PexaModeLimits m = plan::PexaLimitsForMode(mode);
  const plan::Range kinds[3] = {m.sys, m.dia, m.map};
  const int proposed[6] = {m.sysHigh, m.sysLow, m.diaHigh, m.diaLow, m.mapHigh, m.mapLow};
  for (int k = 0; k < 3; ++k) ranges_[size_t(k)]->setText(RangeText(kinds[k]));
  for (auto& group : limits_)
    for (int i = 0; i < 6; ++i) {
      group[size_t(i)]->setRange(kinds[i / 2].low, kinds[i / 2].high);
      group[size_t(i)]->setValue(proposed[i]);
    }
  maxPressure_->setRange(m.maxPressure.low, m.maxPressure.high);
  maxPressure_->setValue(m.maxPressureValue);
  maxRange_->setText(RangeText(m.maxPressure));
}

void PexaPlanDialog::FillOptions(UploadPlanOptions& o) const {
  PlanDialog::FillOptions(o);
  o.measureMode = mode_->currentIndex();
  o.maxPressure = maxPressure_->value();
  plan::WarningGroup groups[2];
  for (int g = 0; g < 2; ++g) {
    const auto& l = limits_[size_t(g)];
    groups[g] = {switches_[size_t(g)]->currentIndex() == 0,
                 l[0]->value(),
                 l[1]->value(),
                 l[2]->value(),
                 l[3]->value(),
                 l[4]->value(),
                 l[5]->value()};
  }
  o.awakeWarn = groups[0];
  o.asleepWarn = groups[1];
}

}  // namespace vesk
