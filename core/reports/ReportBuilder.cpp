#include "reports/ReportBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/Numeric.h"
#include "cases/CaseDocument.h"
#include "reports/ReportBuildSteps.h"

namespace vesk {

namespace reportbuild {

std::vector<double> ValuesOf(const ReadingRefs& list, Quantity q) {
  std::vector<double> v;
  v.reserve(list.size());
  for (const _BP_RECORD* r : list) v.push_back(ValueOf(*r, q));
  return v;
}

ReportStatRow RowOf(std::span<const double> values) {
  ReportStatRow row;
  row.count = static_cast<int32_t>(values.size());
  if (values.empty()) return row;
  row.mean = Mean(values);
  row.sd = PopulationSd(values);
  row.se = row.sd / std::sqrt(double(values.size()));
  if (!IsNearZero(row.mean)) row.cv = row.sd / row.mean;
  const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
  row.lowest = *lo;
  row.highest = *hi;
  return row;
}

}  // namespace reportbuild

using namespace reportbuild;

namespace {

bool HasRealDate(const _BP_RECORD& r) {
  return IsValidDate(r.year, r.month, r.day, r.hour, r.minute);
}

ReportTime TimeOf(const _BP_RECORD& r) {
  return {r.year, r.month, r.day, r.hour, r.minute};
}

ReportTime TimeOf(const OleDateTime& t) {
  DateParts p;
  if (!t.ToParts(p)) return {};
  return {p.year, p.month, p.day, p.hour, p.minute};
}

// The recording runs from the first to the last reading with a real date; a recording of
// SpO2 alone runs over its samples.
void RecordingSpan(const ReportCase& c, ReportTime& start, ReportTime& end) {
  start = end = {};
  const _BP_RECORD* first = nullptr;
  const _BP_RECORD* last = nullptr;
  for (const _BP_RECORD& r : c.readings)
    if (HasRealDate(r)) {
      if (!first) first = &r;
      last = &r;
    }
  if (first) {
    start = TimeOf(*first);
    end = TimeOf(*last);
  } else if (!c.samples.empty() && c.spo2Start.IsValid()) {
    start = TimeOf(c.spo2Start);
    end = TimeOf(c.spo2Start.AddSeconds(c.samples.back().offset));
  }
}

int32_t FigureBits(const CaseFigures& k) {
  const _BP_REPORT_STATISTICS& rs = k.report;
  int32_t f = 0;
  if (rs.nightDipSet) f |= kFigNightDip;
  if (rs.hourlyRatioSysSet) f |= kFigHourlyRatioSys;
  if (rs.hourlyRatioDiaSet) f |= kFigHourlyRatioDia;
  if (rs.rSet) f |= kFigR;
  if (rs.diaOnSysSet) f |= kFigDiaOnSys;
  if (rs.sysOnDiaSet) f |= kFigSysOnDia;
  if (rs.aasiSet) f |= kFigAasi;
  if (rs.crossSet) f |= kFigCrossing;
  if (k.surge.sleepTroughSet) f |= kFigSurgeSleepTrough;
  if (k.surge.preWakingSet) f |= kFigSurgePreWaking;
  if (k.variability.arvSet) f |= kFigArv;
  if (k.variability.weightedSdSet) f |= kFigWeightedSd;
  return f;  // the smoothness index needs a second recording and is never set here
}

void FillMain(const ReportCase& c, const ReportHead& head, ReportMainRecord& m) {
  m.pages = head.pages;
  m.spo2Variant = head.spo2Variant;
  m.aasi = head.aasi;
  m.smoothIndex = head.smoothIndex;
  m.morningSurge = head.morningSurge;
  m.patientName = c.patient.name;
  m.patientId = c.patient.caseId;
  m.title = head.title;
  RecordingSpan(c, m.start, m.end);
  m.awakeStart = c.awakeStart;
  m.asleepStart = c.asleepStart;
  m.recordingLength = head.recordingLength;
  m.readings.assign(c.readings.begin(), c.readings.end());
  // The reading blocks of this file have no room for comments ("45.rp" and "11.rp" carry them).
  for (_BP_RECORD& r : m.readings) r.comment.clear();
}

ReportPeriodSummary PeriodOf(int from, int to, int32_t sysThr, int32_t diaThr,
                             const StatBlock& block, int32_t count) {
  ReportPeriodSummary p;
  p.startHour = from / 60, p.startMinute = from % 60;
  p.endHour = to / 60, p.endMinute = to % 60;
  p.sysThreshold = sysThr, p.diaThreshold = diaThr;
  p.meanSys = block[Quantity::Sys].mean;
  p.meanDia = block[Quantity::Dia].mean;
  p.meanPr = block[Quantity::Pr].mean;
  p.count = count;
  return p;
}

void FillPatient(const ReportCase& c, const ReportOptions& o, const Computed& k,
                 const CLanguage& language, ReportPatientPage& p) {
  const _PATIENT_INFO& pi = c.patient;
  const Thresholds& t = o.thresholds;
  const _BP_STATISTICS& s = k.fig.statistics;
  p.name = pi.name, p.caseId = pi.caseId, p.sexText = SexText(pi.sex, language);
  p.age = pi.age, p.height = pi.height, p.weight = pi.weight;
  DateParts birth;
  if (pi.birthday.ToParts(birth)) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", birth.year, birth.month, birth.day);
    p.birthdayText = text;
    p.birthYear = birth.year, p.birthMonth = birth.month, p.birthDay = birth.day;
  }
  p.sex = pi.sex, p.modelCode = c.modelCode, p.dataMode = c.dataMode;
  p.texts = {pi.address, pi.tel,    pi.nation, pi.doorId,  pi.inHosId,
             pi.bedId,   pi.office, pi.email,  c.modelName};
  p.awake = PeriodOf(c.awakeStart, c.asleepStart, t.awakeSys, t.awakeDia, s.awake, s.awakeCount);
  p.asleep =
      PeriodOf(c.asleepStart, c.awakeStart, t.asleepSys, t.asleepDia, s.asleep, s.asleepCount);
  p.awakeLoads = {s.awakeSysLoadCount, s.awakeDiaLoadCount, t.dayBPLoad};
  p.asleepLoads = {s.asleepSysLoadCount, s.asleepDiaLoadCount, t.nightBPLoad};
  p.lowCR = t.lowCR, p.highCR = t.highCR;
  p.wholeMeans = {s.whole[Quantity::Sys].mean, s.whole[Quantity::Dia].mean,
                  s.whole[Quantity::Pr].mean};
  p.wholeSd = {k.fig.report.sdWhole.sys, k.fig.report.sdWhole.dia, k.fig.report.sdWhole.pr};
  p.dipsAndAasi = {k.fig.report.nightDipSys, k.fig.report.nightDipDia, k.fig.report.aasi};
  p.surgeAndSmoothness = {k.fig.surge.sleepTrough, k.fig.surge.preWaking, 0.0};
  p.dipClassSys = static_cast<int32_t>(k.fig.dipping.sys);
  p.dipClassDia = static_cast<int32_t>(k.fig.dipping.dia);
  p.readingCount = s.readingCount, p.analysedCount = s.analysedCount;
  p.wholeSysLoad = k.fig.report.wholeSysLoad, p.wholeDiaLoad = k.fig.report.wholeDiaLoad;
  p.validShare = k.fig.quality.validShare;
  p.figures = k.present;
}

void FillStatistics(const ReportOptions& o, const Computed& k, ReportStatisticsPage& p) {
  const _BP_STATISTICS& s = k.fig.statistics;
  const Thresholds& t = o.thresholds;
  p.analysedCount = s.analysedCount, p.readingCount = s.readingCount;
  p.awakeCount = s.awakeCount, p.asleepCount = s.asleepCount;
  p.validCount = k.fig.validCount;
  p.sysLoadCount = s.sysLoadCount, p.diaLoadCount = s.diaLoadCount;
  p.awakeSysLoadCount = s.awakeSysLoadCount, p.awakeDiaLoadCount = s.awakeDiaLoadCount;
  p.asleepSysLoadCount = s.asleepSysLoadCount, p.asleepDiaLoadCount = s.asleepDiaLoadCount;
  p.awakeSysThreshold = t.awakeSys, p.awakeDiaThreshold = t.awakeDia;
  p.asleepSysThreshold = t.asleepSys, p.asleepDiaThreshold = t.asleepDia;
  const ReadingRefs* lists[3] = {&k.refs.analysed, &k.refs.awake, &k.refs.asleep};
  const Quantity four[4] = {Quantity::Sys, Quantity::Dia, Quantity::Pr, Quantity::Map};
  size_t row = 0;
  for (const ReadingRefs* list : lists)
    for (Quantity q : four) p.rows[row++] = RowOf(ValuesOf(*list, q));
  p.rows[row++] = RowOf(ValuesOf(k.refs.analysed, Quantity::Pp));
  std::vector<double> spo2;
  for (const _BP_RECORD* r : k.refs.analysed)
    if (r->spo2 >= 1 && r->spo2 <= 99) spo2.push_back(r->spo2);
  p.rows[row] = RowOf(spo2);
  p.surgePreWaking = k.fig.surge.preWaking;
  p.arvSys = k.fig.variability.arvSys, p.arvDia = k.fig.variability.arvDia;
  p.figures = k.present;
  p.weightedSdSys = k.fig.variability.weightedSdSys;
  p.figuresList = StatFiguresOf(k.fig).values;
}

ReportRange RangeOf(const ExtremeGroup& g) {
  return {g.maxValue, g.minValue, g.mean};
}

void FillSummary(const ReportCase& c, const Computed& k, ReportSummaryPage& p) {
  p.analysedCount = k.fig.statistics.analysedCount;
  p.sys = RangeOf(k.extremes.sys);
  p.dia = RangeOf(k.extremes.dia);
  p.pr = RangeOf(k.extremes.pr);
  p.nightDipSys = k.fig.report.nightDipSys, p.nightDipDia = k.fig.report.nightDipDia;
  p.hourlyRatioSys = k.fig.report.hourlyRatioSys, p.hourlyRatioDia = k.fig.report.hourlyRatioDia;
  if (!k.refs.analysed.empty()) {
    const std::vector<double> map = ValuesOf(k.refs.analysed, Quantity::Map);
    const auto [lo, hi] = std::minmax_element(map.begin(), map.end());
    p.map = {int32_t(*hi), int32_t(*lo), int32_t(float(Mean(map)))};
  }
  p.awakeCount = k.fig.statistics.awakeCount, p.asleepCount = k.fig.statistics.asleepCount;
  p.conclusion = c.patient.extra[kExtraDiagnosis];
}

ReportTime MaxTime(const ExtremeGroup& g) {
  return {g.maxYear, g.maxMonth, g.maxDay, g.maxHour, g.maxMinute};
}
ReportTime MinTime(const ExtremeGroup& g) {
  return {g.minYear, g.minMonth, g.minDay, g.minHour, g.minMinute};
}

void FillDiagnosis(const ReportCase& c, const ReportPatientPage& p, const Computed& k,
                   ReportDiagnosisFacts& d) {
  const _PATIENT_INFO& pi = c.patient;
  d.conclusion = pi.extra[kExtraDiagnosis];
  d.sexText = p.sexText, d.nation = pi.nation, d.hospitalId = pi.inHosId;
  d.outpatientId = pi.doorId, d.tel = pi.tel, d.address = pi.address, d.department = pi.office;
  d.medication = pi.extra[kExtraMedication];
  d.age = pi.age, d.height = pi.height, d.weight = pi.weight;
  const _BP_STATISTICS& s = k.fig.statistics;
  d.allSys = s.whole[Quantity::Sys].mean, d.allDia = s.whole[Quantity::Dia].mean;
  d.daySys = s.awake[Quantity::Sys].mean, d.dayDia = s.awake[Quantity::Dia].mean;
  d.nightSys = s.asleep[Quantity::Sys].mean, d.nightDia = s.asleep[Quantity::Dia].mean;
  d.maxSys = k.extremes.sys.maxValue, d.minSys = k.extremes.sys.minValue;
  d.maxDia = k.extremes.dia.maxValue, d.minDia = k.extremes.dia.minValue;
  d.maxSysTime = MaxTime(k.extremes.sys), d.minSysTime = MinTime(k.extremes.sys);
  d.maxDiaTime = MaxTime(k.extremes.dia), d.minDiaTime = MinTime(k.extremes.dia);
  d.dipSysPercent = k.fig.report.nightDipSys * 100.0,
  d.dipDiaPercent = k.fig.report.nightDipDia * 100.0;
  d.cvAllSys = k.fig.report.cvWhole.sys, d.cvAllDia = k.fig.report.cvWhole.dia;
  d.cvDaySys = k.fig.report.cvAwake.sys, d.cvDayDia = k.fig.report.cvAwake.dia;
  d.cvNightSys = k.fig.report.cvAsleep.sys, d.cvNightDia = k.fig.report.cvAsleep.dia;
  d.aasi = k.fig.report.aasi;
}

}  // namespace

ReportCase ReportCaseOf(const CaseDocument& doc) {
  ReportCase c;
  c.casePath = doc.CasePath();
  c.patient = doc.Patient();
  c.modelCode = doc.ModelCode();
  c.dataMode = doc.FileInfo().dataMode;
  c.modelName = doc.FileInfo().modelName;
  c.readings = doc.AllReadings();
  c.samples = doc.Spo2Samples();
  c.spo2Start = doc.Spo2Start();
  c.awakeStart = doc.AwakeStart();
  c.asleepStart = doc.AsleepStart();
  return c;
}

ReportCase ReportCaseOf(const _FILE_ALL_INFO& info) {
  ReportCase c;
  c.patient = info.patient;
  c.modelCode = info.modelCode;
  c.dataMode = info.dataMode;
  c.modelName = info.modelName;
  c.readings = info.readings;
  const size_t count =
      std::min(static_cast<size_t>(std::max(info.spo2Head.count(), 0)), info.samples.size());
  c.samples = std::span<const _SPO2_SAMPLE>(info.samples.data(), count);
  const int32_t* h = info.spo2Head.v;
  if (count > 0) c.spo2Start = OleDateTime::FromParts(h[1], h[2], h[3], h[4], h[5], h[6]);
  c.awakeStart = PlanMinutes(info.plan.awakeHour, info.plan.awakeMinute);
  c.asleepStart = PlanMinutes(info.plan.asleepHour, info.plan.asleepMinute);
  return c;
}

ReportCaseFacts FactsOf(const ReportCase& c) {
  ReportCaseFacts f;
  f.hasSpO2 = !c.samples.empty();
  f.readingCount = c.readings.size();
  ReportTime start, end;
  RecordingSpan(c, start, end);
  f.firstReading =
      OleDateTime::FromParts(start.year, start.month, start.day, start.hour, start.minute);
  f.lastReading = OleDateTime::FromParts(end.year, end.month, end.day, end.hour, end.minute);
  return f;
}

std::string SexText(int32_t sex, const CLanguage& language) {
  if (sex == 0) return language.GetText("Global Setting", "IDS_MAN");
  if (sex == 1) return language.GetText("Global Setting", "IDS_WOMAN");
  return {};
}

ReportData BuildReportData(const ReportCase& c, const ReportHead& head, const ReportOptions& o,
                           const CLanguage& language) {
  ReportData d;
  d.head = head;
  Computed k;
  const Thresholds& t = o.thresholds;
  k.refs = BuildPeriodRefs(c.readings, c.asleepStart, c.awakeStart);
  ComputeCaseFigures(k.refs, static_cast<int32_t>(c.readings.size()), c.asleepStart, c.awakeStart,
                     t, k.fig);
  ComputeExtremesAndRanges(k.refs.analysed, o.limits, k.extremes);
  ComputeDistribution(k.refs.analysed, k.distribution);
  ComputeCorrelation(k.refs.analysed, c.asleepStart, c.awakeStart, k.correlation);
  k.present = FigureBits(k.fig);

  FillMain(c, head, d.main);
  FillPatient(c, o, k, language, d.patient);
  FillStatistics(o, k, d.statistics);
  FillSummary(c, k, d.summary);
  FillReadingsPage(c, o, d.readingsPage);
  FillHistogramPages(k, d.histogram, d.threeHistogram);
  d.histogram.patientName = c.patient.name;
  FillPiePage(k, o.limits, d.pie);
  d.pie.patientName = c.patient.name;
  FillCorrelationPage(k, d.correlation);
  FillHourlyPage(c, k, d.hourly);
  if (head.pages[kSpo2ReportPage]) FillSpO2Page(c, head, o, d.spo2);
  FillDiagnosis(c, d.patient, k, d.diagnosis);
  return d;
}

}  // namespace vesk
