#include "settings/ConfigKeys.h"

namespace vesk {

namespace {

using U = UserSettings;
constexpr const Thresholds& T = kDefaultThresholds;

constexpr ConfigKey Int(std::string_view name, int32_t U::*field, int32_t def) {
  return ConfigKey{name, field, nullptr, def, def, false, false};
}
constexpr ConfigKey Kept(std::string_view name, int32_t U::*field, int32_t def) {
  return ConfigKey{name, field, nullptr, def, def, true, false};
}
constexpr ConfigKey Range(std::string_view name, int32_t U::*field, int32_t def) {
  return ConfigKey{name, field, nullptr, def, def, false, true};
}
constexpr ConfigKey Text(std::string_view name, std::string U::*field) {
  return ConfigKey{name, nullptr, field, 0, 0, false, false};
}

const ConfigKey kKeys[] = {
    Int("Awake Sys Thresh", &U::awakeSysThresh, T.awakeSys),
    Int("Awake Dia Thresh", &U::awakeDiaThresh, T.awakeDia),
    Int("Asleep Sys Thresh", &U::asleepSysThresh, T.asleepSys),
    Int("Asleep Dia Thresh", &U::asleepDiaThresh, T.asleepDia),
    Range("Low CR", &U::lowCR, T.lowCR),
    Range("High CR", &U::highCR, T.highCR),
    Range("DayBPLoad", &U::dayBPLoad, T.dayBPLoad),
    Range("NightBPLoad", &U::nightBPLoad, T.nightBPLoad),
    Kept("MaxPressValue", &U::maxPressValue, 297),
    Kept("AwakeWarnSwitch", &U::awakeWarnSwitch, 0),
    Kept("AwakeSysMaxValue", &U::awakeSysMaxValue, 140),
    Kept("AwakeSysMinValue", &U::awakeSysMinValue, 90),
    Kept("AwakeDiaMaxValue", &U::awakeDiaMaxValue, 90),
    Kept("AwakeDiaMinValue", &U::awakeDiaMinValue, 60),
    Kept("AsleepWarnSwitch", &U::asleepWarnSwitch, 0),
    Kept("AsleepSysMaxValue", &U::asleepSysMaxValue, 120),
    Kept("AsleepSysMinValue", &U::asleepSysMinValue, 80),
    Kept("AsleepDiaMaxValue", &U::asleepDiaMaxValue, 80),
    Kept("AsleepDiaMinValue", &U::asleepDiaMinValue, 50),
    Kept("UseBluetooth", &U::useBluetooth, 0),
    Kept("ShowSelectDevice", &U::showSelectDevice, 1),
    Int("TaloAsleepSpan", &U::taloAsleepSpan, 1),
    Int("TaloAsleepTime", &U::taloAsleepTime, 44),
    Int("TaloAwakeSpan", &U::taloAwakeSpan, 0),
    Int("TaloAwakeTime", &U::taloAwakeTime, 14),
    Text("PatientName", &U::patientName),
    Text("PatientID", &U::patientID),
    Int("DisplayScreenInfo", &U::displayScreenInfo, 0),
    Int("DisplayHandIntercalate", &U::displayHandIntercalate, 0),
    Int("TimePeriod", &U::timePeriod, 1),
    Int("Start Key", &U::startKey, 0),
    Int("Awake Time", &U::awakeTime, 14),
    Int("Awake Span", &U::awakeSpan, 1),
    Int("Asleep Time", &U::asleepTime, 44),
    Int("Asleep Span", &U::asleepSpan, 5),
    Int("Special Start", &U::specialStart, 0),
    Int("Special Span", &U::specialSpan, 0),
    Int("Special End", &U::specialEnd, 0),
    Int("SpO2MaxTime", &U::spo2MaxTime, 255),
    Int("SpO2MinTime", &U::spo2MinTime, 2),
    Int("SpO2Desaturation", &U::spo2Desaturation, 2),
    Int("SpO2MaxDrop", &U::spo2MaxDrop, 8),
    Int("SpO2MinSpO2", &U::spo2MinSpO2, 20),
    Int("SpO2MaxSpO2", &U::spo2MaxSpO2, 100),
    Int("SpO2SwingInd", &U::spo2SwingInd, 0),
    // Files of older releases lack this key and have always read it as 0; only users created
    // since start from the clinical level 88.
    ConfigKey{"SpO2CriterialLevel", &U::spo2CriterialLevel, nullptr, 0, 88, false, false},
    Int("PRMaxTime", &U::prMaxTime, 255),
    Int("PRMinTime", &U::prMinTime, 10),
    Int("PRDesaturation", &U::prDesaturation, 10),
    Int("PRMaxDrop", &U::prMaxDrop, 8),
    Int("PRMinPR", &U::prMinPR, 20),
    Int("PRMaxPR", &U::prMaxPR, 220),
    Int("PRSwingInd", &U::prSwingInd, 0),
    // The ports belong to the computer rather than to the operator: a new user takes them over.
    ConfigKey{"ExtraSerialPorts", nullptr, &U::extraSerialPorts, 0, 0, true, false},
};

}  // namespace

std::span<const ConfigKey> UserConfigKeys() {
  return kKeys;
}

UserSettings DefaultUserSettings() {
  UserSettings s;
  s.useDefaultPath = 1;
  for (const ConfigKey& k : kKeys) {
    if (k.intField) s.*k.intField = k.loadDefault;
  }
  return s;
}

void ApplyFactoryValues(UserSettings& s) {
  s.useDefaultPath = 1;
  for (const ConfigKey& k : kKeys) {
    if (k.kept) continue;
    if (k.intField) s.*k.intField = k.factory;
    if (k.textField) (s.*k.textField).clear();
  }
}

ReportSettings DefaultReportSettings() {
  ReportSettings r;
  r.pages = kDefaultReportPages;
  return r;
}

}  // namespace vesk
