#pragma once
// The analysis of the open case: what the charts, the data views and the reports read, and
// the operations that rebuild it when a case is opened, its readings are edited or its sleep
// periods change. The records live beside the document rather than in it, so the case store
// knows nothing of the analysis.

#include <cstdint>
#include <vector>

#include "analysis/CaseFigures.h"
#include "analysis/Correlation.h"
#include "analysis/DayNight.h"
#include "analysis/Distribution.h"
#include "analysis/EventDetector.h"
#include "analysis/Extremes.h"
#include "analysis/Statistics.h"
#include "settings/ConfigTypes.h"

namespace vesk {

class CaseDocument;
class IMessageSink;
class CLanguage;

// The figures record is the base, so readers of the statistics alone keep reading
// `statistics`, and the figures can be handed on as one record.
struct CaseAnalysis : CaseFigures {
  const CaseFigures& Figures() const { return *this; }
  PressureDistribution distribution;
  Extremes extremes;
  _BP_CORRELATION correlation;
  std::vector<EventRecord> spo2Events;
  std::vector<EventRecord> prEvents;
};

// What the main view has chosen: the period of the distribution and pie charts and that
// period's six range limits.
struct AnalysisView {
  Period period = Period::All;
  RangeLimits limits;
};

// Borrowed views of the document's lists (analysed, awake, asleep as they stand).
PeriodRefs DocumentRefs(const CaseDocument& doc);

// The analysis steps of opening a case: lists rebuilt and split, the figures record,
// distribution and extremes from all analysed readings with `limits` (the main view's bounds,
// reset to their starting values on open), the correlation record unless the recorder is a
// QORA, for a MIRU case with samples both event lists, and the SpO2 figures of any case with
// samples. Everything of a previous case is replaced.
void RunOpenAnalysis(CaseDocument& doc, const Thresholds& thresholds, const RangeLimits& limits,
                     const EventParams& spo2Params, const EventParams& prParams, CaseAnalysis& out);

// Re-analysis after an edit of the readings or the periods: lists, figures, distribution
// and range shares of the selected period, and the correlation record. The event lists
// and the SpO2 figures stay: the samples did not change. Returns 1; the day/night split cannot
// fail.
int Reanalyse(CaseDocument& doc, const Thresholds& thresholds, const AnalysisView& view,
              CaseAnalysis& out);

// The sleep-period dialog's OK: the new minutes go into the document and its plan (hour and
// minute), then the case is analysed again. Nothing is written to the case file. Returns 0
// and changes nothing when a minute lies outside 0..1439.
int ChangeSleepPeriods(CaseDocument& doc, int awakeStart, int asleepStart,
                       const Thresholds& thresholds, const AnalysisView& view, CaseAnalysis& out);

}  // namespace vesk
