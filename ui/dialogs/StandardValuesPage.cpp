#include "dialogs/StandardValuesPage.h"

#include <QtGui/QIntValidator>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "common/Texts.h"
#include "controls/UpDown.h"
#include "dialogs/DialogUtil.h"
#include "settings/ConfigFile.h"
#include "settings/StandardValues.h"

namespace vesk {

namespace {

ThresholdRange RangeOf(CStandardValuesPage::Field f) {
  using F = CStandardValuesPage;
  switch (f) {
    case F::AwakeSys:
      return SystolicRange(Period::Awake);
    case F::AwakeDia:
      return DiastolicRange(Period::Awake);
    case F::AsleepSys:
      return SystolicRange(Period::Asleep);
    case F::AsleepDia:
      return DiastolicRange(Period::Asleep);
    case F::LowCR:
      return {1, 99};
    case F::HighCR:
      return {2, 100};
    case F::DayLoad:
    case F::NightLoad:
      break;
  }
  return {0, 100};
}

}  // namespace

CStandardValuesPage::CStandardValuesPage(CConfigFile& config, QWidget* parent)
    : QWidget(parent), config_(config) {
  for (int i = 0; i < 8; ++i) {
    const auto f = Field(i);
    edits_[f] = Named<QLineEdit>(kEditIds[f], this);
    edits_[f]->setAlignment(Qt::AlignRight);
    edits_[f]->setFixedWidth(60);
    const ThresholdRange r = RangeOf(f);
    edits_[f]->setValidator(new QIntValidator(0, r.high, edits_[f]));
    spins_[f] = new CUpDown(edits_[f], this);
    spins_[f]->setObjectName(QString::number(kSpinIds[f]));
    spins_[f]->SetRange(r.low, r.high);
    // Arrows take effect at once; typed text when the field is left, so that a number can be
    // typed digit by digit.
    connect(spins_[f], &CUpDown::positionChanged, this, [this, f] {
      if (!edits_[f]->hasFocus()) Fix(f);
    });
    connect(edits_[f], &QLineEdit::editingFinished, this, [this, f] { Fix(f); });
  }

  auto field = [this](Field f) {
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(edits_[f]);
    row->addWidget(spins_[f]);
    row->addStretch(1);
    return row;
  };
  auto* group = new QGroupBox(Tx(kCaseSetting, "IDS_STANDARD_VALUES"), this);
  auto* grid = new QGridLayout(group);
  grid->addWidget(new QLabel(Tx(kMessageSetting, "IDS_AWAKE"), group), 0, 1);
  grid->addWidget(new QLabel(Tx(kMessageSetting, "IDS_SLEEP"), group), 0, 2);
  grid->addWidget(new QLabel(Tx(kGlobalSetting, "IDS_HP"), group), 1, 0);
  grid->addLayout(field(AwakeSys), 1, 1);
  grid->addLayout(field(AsleepSys), 1, 2);
  grid->addWidget(new QLabel(Tx(kGlobalSetting, "IDS_LOW_PRESSURE"), group), 2, 0);
  grid->addLayout(field(AwakeDia), 2, 1);
  grid->addLayout(field(AsleepDia), 2, 2);
  grid->addWidget(new QLabel(Tx(kGlobalSetting, "IDS_CR_RANGE"), group), 3, 0);
  grid->addLayout(field(LowCR), 3, 1);
  grid->addLayout(field(HighCR), 3, 2);
  grid->addWidget(new QLabel(Tx(kGlobalSetting, "IDS_BPLOADDAY"), group), 4, 0);
  grid->addLayout(field(DayLoad), 4, 1);
  grid->addWidget(new QLabel(Tx(kGlobalSetting, "IDS_BPLOADNIGHT"), group), 5, 0);
  grid->addLayout(field(NightLoad), 5, 1);
  auto* defaults = Named<QPushButton>(1071, Tx(kCaseSetting, "IDS_DEFAULT_VALUES"), this);
  connect(defaults, &QPushButton::clicked, this, &CStandardValuesPage::OnDefaults);
  auto* box = new QVBoxLayout(this);
  box->addWidget(group);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(defaults);
  box->addLayout(row);
  box->addStretch(1);

  SetValues(config_.settings.GetThresholds());
}

int CStandardValuesPage::Value(Field f) const {
  bool ok = false;
  const int v = edits_[f]->text().trimmed().toInt(&ok);
  return ok ? v : spins_[f]->Pos();
}

void CStandardValuesPage::Put(Field f, int value) {
  spins_[f]->SetPos(value);
  edits_[f]->setText(QString::number(spins_[f]->Pos()));
}

void CStandardValuesPage::Fix(Field f) {
  if (fixing_) return;
  fixing_ = true;
  const int v = Value(f);
  switch (f) {
    case AwakeSys:
      Put(f, FixSystolic(v, Value(AwakeDia), Period::Awake));
      break;
    case AsleepSys:
      Put(f, FixSystolic(v, Value(AsleepDia), Period::Asleep));
      break;
    case AwakeDia:
      Put(f, FixDiastolic(v, Value(AwakeSys), Period::Awake));
      break;
    case AsleepDia:
      Put(f, FixDiastolic(v, Value(AsleepSys), Period::Asleep));
      break;
    case LowCR:
      Put(f, FixLowCR(v, Value(HighCR)));
      break;
    case HighCR:
      Put(f, FixHighCR(v, Value(LowCR)));
      break;
    case DayLoad:
    case NightLoad:
      Put(f, FixLoad(v));
      break;
  }
  fixing_ = false;
}

void CStandardValuesPage::Enter(Field f, int value) {
  edits_[f]->setText(QString::number(value));
  Fix(f);
}

Thresholds CStandardValuesPage::Values() const {
  return {Value(AwakeSys), Value(AwakeDia), Value(AsleepSys), Value(AsleepDia),
          Value(LowCR),    Value(HighCR),   Value(DayLoad),   Value(NightLoad)};
}

void CStandardValuesPage::SetValues(const Thresholds& t) {
  fixing_ = true;
  const int values[] = {t.awakeSys, t.awakeDia, t.asleepSys, t.asleepDia,
                        t.lowCR,    t.highCR,   t.dayBPLoad, t.nightBPLoad};
  for (int i = 0; i < 8; ++i) Put(Field(i), values[i]);
  fixing_ = false;
}

void CStandardValuesPage::OnDefaults() {
  SetValues(DefaultThresholdValues());
}

void CStandardValuesPage::Apply() {
  // A value still being typed obeys the rules before it is stored.
  for (int i = 0; i < 8; ++i) Fix(Field(i));
  config_.settings.SetThresholds(Values());
}

}  // namespace vesk
