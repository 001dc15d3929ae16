#include "analysis/EventParams.h"

#include "analysis/CaseAnalysis.h"
#include "cases/CaseDocument.h"
#include "settings/ConfigFile.h"

namespace vesk {

EventParams SpO2ParamsFrom(const UserSettings& s) {
  return EventParams{s.spo2MaxTime, s.spo2MinTime, s.spo2Desaturation, s.spo2MaxDrop,
                     s.spo2MinSpO2, s.spo2MaxSpO2, s.spo2SwingInd,     s.spo2CriterialLevel};
}

EventParams PulseRateParamsFrom(const UserSettings& s) {
  return EventParams{s.prMaxTime, s.prMinTime, s.prDesaturation, s.prMaxDrop,
                     s.prMinPR,   s.prMaxPR,   s.prSwingInd,     0};
}

EventDialogValues DialogValuesFrom(const UserSettings& s) {
  return EventDialogValues{s.spo2Desaturation, s.spo2MinTime, s.spo2CriterialLevel,
                           s.prDesaturation, s.prMinTime};
}

void ApplyDialogValues(UserSettings& s, const EventDialogValues& v) {
  s.spo2Desaturation = v.spo2LeastChange;
  s.spo2MinTime = v.spo2MinTime;
  s.spo2CriterialLevel = v.spo2Criterion;
  s.prDesaturation = v.prLeastChange;
  s.prMinTime = v.prMinTime;

  s.spo2MaxTime = 255;
  s.spo2MinSpO2 = 20;
  s.spo2MaxSpO2 = 100;
  s.spo2MaxDrop = 8;
  s.spo2SwingInd = 0;
  s.prMaxTime = 255;
  s.prMinPR = 20;
  s.prMaxPR = 220;
  s.prMaxDrop = 8;
  s.prSwingInd = 0;
}

int ConfirmEventParams(CConfigFile& config, const EventDialogValues& values,
                       const CaseDocument& doc, CaseAnalysis& out) {
  ApplyDialogValues(config.settings, values);
  const EventParams spo2 = SpO2ParamsFrom(config.settings);
  const EventParams pr = PulseRateParamsFrom(config.settings);
  DetectSpO2Events(doc.Spo2Samples(), &spo2, out.spo2Events);
  DetectPulseRateEvents(doc.Spo2Samples(), &pr, out.prEvents);
  // The summary counts the events, so it follows the new list.
  if (out.spo2Set) ComputeSpO2Figures(doc.Spo2Samples(), spo2, out.spo2Events, out);
  return config.Save();
}

}  // namespace vesk
