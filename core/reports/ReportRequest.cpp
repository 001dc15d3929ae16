#include "analysis/CaseAnalysis.h"
#include "analysis/EventParams.h"
#include "cases/CaseDocument.h"
#include "reports/ReportCommand.h"
#include "settings/ConfigFile.h"
#include "settings/ReportHead.h"

namespace vesk {

ReportRequest MakeReportRequest(const CConfigFile& config, const CLanguage& language,
                                const CaseDocument& doc, const CaseAnalysis* analysis,
                                const RangeLimits& limits, const DateParts& now) {
  ReportRequest r;
  r.caseOpen = config.caseState.caseOpen != 0;
  r.reportCase = ReportCaseOf(doc);
  r.head = MakeReportHead(config, language, FactsOf(r.reportCase));
  r.options.thresholds = config.settings.GetThresholds();
  r.options.limits = limits;
  r.options.spo2Params = SpO2ParamsFrom(config.settings);
  r.options.prParams = PulseRateParamsFrom(config.settings);
  if (analysis) {
    r.options.spo2Events = &analysis->spo2Events;
    r.options.prEvents = &analysis->prEvents;
  }
  r.system = config.system;
  r.now = now;
  return r;
}

}  // namespace vesk
