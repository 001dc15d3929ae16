#include "analysis/CaseAnalysis.h"
#include "cases/CaseDocument.h"
#include "device/ModelTable.h"

namespace vesk {

namespace {
void Split(CaseDocument& doc) {
  SplitByPeriod(doc.AnalysedReadings(), doc.AsleepStart(), doc.AwakeStart(), doc.AwakeReadings(),
                doc.AsleepReadings());
}

void Correlate(const CaseDocument& doc, const ReadingRefs& analysed, CaseAnalysis& out) {
  out.correlation = _BP_CORRELATION{};
  // Home readings are no day-and-night profile: nothing to correlate.
  const RecorderModel* model = ModelOfKind(doc.ModelCode());
  if (model && !model->ambulatory) return;
  ComputeCorrelation(analysed, doc.AsleepStart(), doc.AwakeStart(), out.correlation);
}

void Figures(const CaseDocument& doc, const PeriodRefs& refs, const Thresholds& thresholds,
             CaseAnalysis& out) {
  ComputeCaseFigures(refs, static_cast<int32_t>(doc.AllReadings().size()), doc.AsleepStart(),
                     doc.AwakeStart(), thresholds, out);
}
}  // namespace

PeriodRefs DocumentRefs(const CaseDocument& doc) {
  PeriodRefs refs;
  refs.analysed = RefsOf(doc.AnalysedReadings());
  refs.awake = RefsOf(doc.AwakeReadings());
  refs.asleep = RefsOf(doc.AsleepReadings());
  refs.validCount = static_cast<int>(doc.ValidReadings().size());
  return refs;
}

void RunOpenAnalysis(CaseDocument& doc, const Thresholds& thresholds, const RangeLimits& limits,
                     const EventParams& spo2Params, const EventParams& prParams,
                     CaseAnalysis& out) {
  doc.RebuildLists();
  Split(doc);
  const PeriodRefs refs = DocumentRefs(doc);
  Figures(doc, refs, thresholds, out);
  ComputeDistribution(refs.analysed, out.distribution);
  ComputeExtremesAndRanges(refs.analysed, limits, out.extremes);
  Correlate(doc, refs.analysed, out);

  out.spo2Events.clear();
  out.prEvents.clear();
  const RecorderModel* model = ModelOfKind(doc.ModelCode());
  if (model && model->recordsSpO2 && doc.Spo2Count() != 0) {
    DetectSpO2Events(doc.Spo2Samples(), &spo2Params, out.spo2Events);
    DetectPulseRateEvents(doc.Spo2Samples(), &prParams, out.prEvents);
  }
  // A count of 0 in the SpO2 head means the case carries no usable series, whatever follows.
  const std::span<const _SPO2_SAMPLE> samples =
      doc.Spo2Count() > 0 ? std::span<const _SPO2_SAMPLE>(doc.Spo2Samples())
                          : std::span<const _SPO2_SAMPLE>();
  ComputeSpO2Figures(samples, spo2Params, out.spo2Events, out);
}

int Reanalyse(CaseDocument& doc, const Thresholds& thresholds, const AnalysisView& view,
              CaseAnalysis& out) {
  doc.RebuildLists();
  Split(doc);
  const PeriodRefs refs = DocumentRefs(doc);
  Figures(doc, refs, thresholds, out);
  const ReadingRefs& selected = refs.Of(view.period);
  ComputeDistribution(selected, out.distribution);
  ComputeExtremesAndRanges(selected, view.limits, out.extremes);
  Correlate(doc, refs.analysed, out);
  return 1;
}

int ChangeSleepPeriods(CaseDocument& doc, int awakeStart, int asleepStart,
                       const Thresholds& thresholds, const AnalysisView& view, CaseAnalysis& out) {
  if (awakeStart < 0 || awakeStart > 1439 || asleepStart < 0 || asleepStart > 1439) return 0;
  doc.SetSleepPeriods(awakeStart, asleepStart);
  _BP_TRANSPORT_INFO& plan = doc.Plan();
  plan.awakeHour = awakeStart / 60;
  plan.awakeMinute = awakeStart % 60;
  plan.asleepHour = asleepStart / 60;
  plan.asleepMinute = asleepStart % 60;
  return Reanalyse(doc, thresholds, view, out);
}

}  // namespace vesk
