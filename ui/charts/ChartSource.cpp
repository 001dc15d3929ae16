#include "charts/ChartSource.h"

#include "cases/CaseDocument.h"
#include "cases/CaseState.h"

namespace vesk {

ChartSource SourceFromDocument(const CaseDocument& doc, const CaseAnalysis& analysis,
                               const CaseState& state, const CLanguage* language) {
  ChartSource s;
  s.readings = &doc.AllReadings();
  s.analysis = &analysis;
  if (doc.Spo2Count() > 0) s.samples = &doc.Spo2Samples();
  s.spo2Start = doc.Spo2Start();
  s.spo2End = doc.Spo2End();
  s.limits.awakeSys = state.awakeSysThresh;
  s.limits.awakeDia = state.awakeDiaThresh;
  s.limits.asleepSys = state.asleepSysThresh;
  s.limits.asleepDia = state.asleepDiaThresh;
  s.limits.awakeStart = doc.AwakeStart();
  s.limits.asleepStart = doc.AsleepStart();
  s.multiDay = doc.MultiDay() != 0;
  s.language = language;
  return s;
}

}  // namespace vesk
