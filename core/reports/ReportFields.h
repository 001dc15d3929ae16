#pragma once
// The field order of every report data file, written once and walked by both the writer and
// the reader: a field can only be added, moved or widened in one place, so the two sides
// cannot drift apart. An archive offers I32, I16, U8, I8, F64, Text, Reading56 and List.

#include "reports/ReportData.h"

namespace vesk::reportfields {

template <class A>
void Fields(A& a, ReportTime& t) {
  a.I32(t.year), a.I32(t.month), a.I32(t.day), a.I32(t.hour), a.I32(t.minute);
}

template <class A>
void Fields(A& a, ReportMainRecord& r) {
  for (int32_t& p : r.pages) a.I32(p);
  a.I32(r.spo2Variant), a.I32(r.aasi), a.I32(r.smoothIndex), a.I32(r.morningSurge);
  a.Text(r.patientName), a.Text(r.patientId), a.Text(r.title);
  Fields(a, r.start), Fields(a, r.end);
  a.I32(r.awakeStart), a.I32(r.asleepStart);
  a.I32(r.recordingLength);
  a.List(r.readings, kBpRecordWireSize, [](A& x, _BP_RECORD& b) { x.Reading56(b); });
}

template <class A>
void Fields(A& a, ReportPeriodSummary& p) {
  a.I32(p.startHour), a.I32(p.startMinute), a.I32(p.endHour), a.I32(p.endMinute);
  a.I32(p.sysThreshold), a.I32(p.diaThreshold);
  a.F64(p.meanSys), a.F64(p.meanDia), a.F64(p.meanPr);
  a.I32(p.count);
}

template <class A>
void Fields(A& a, ReportLoadSummary& l) {
  a.I32(l.sysLoadCount), a.I32(l.diaLoadCount), a.I32(l.loadLimitPercent);
}

template <class A>
void Triple(A& a, std::array<double, 3>& t) {
  for (double& d : t) a.F64(d);
}

template <class A>
void Fields(A& a, ReportPatientPage& p) {
  a.Text(p.name), a.Text(p.caseId), a.Text(p.sexText);
  a.I32(p.age), a.I32(p.height), a.I32(p.weight);
  a.Text(p.birthdayText);
  a.I32(p.sex), a.I32(p.modelCode), a.I32(p.dataMode);
  for (std::string& t : p.texts) a.Text(t);
  Fields(a, p.awake), Fields(a, p.asleep);
  Fields(a, p.awakeLoads), Fields(a, p.asleepLoads);
  a.I32(p.lowCR), a.I32(p.highCR);
  Triple(a, p.wholeMeans), Triple(a, p.wholeSd), Triple(a, p.dipsAndAasi);
  Triple(a, p.surgeAndSmoothness);
  a.I32(p.dipClassSys), a.I32(p.dipClassDia);
  a.I32(p.readingCount), a.I32(p.analysedCount);
  a.F64(p.wholeSysLoad), a.F64(p.wholeDiaLoad), a.F64(p.validShare);
  a.I32(p.figures);
  a.I32(p.birthYear), a.I32(p.birthMonth), a.I32(p.birthDay);
}

template <class A>
void Fields(A& a, ReportStatRow& r) {
  a.F64(r.mean), a.F64(r.sd), a.F64(r.se);
  a.I32(r.count);
  a.F64(r.cv), a.F64(r.highest), a.F64(r.lowest);
}

template <class A>
void Fields(A& a, ReportStatisticsPage& s) {
  a.I32(s.analysedCount), a.I32(s.readingCount), a.I32(s.awakeCount), a.I32(s.asleepCount);
  a.I32(s.validCount);
  a.I32(s.sysLoadCount), a.I32(s.diaLoadCount), a.I32(s.awakeSysLoadCount);
  a.I32(s.awakeDiaLoadCount);
  a.I32(s.asleepSysLoadCount), a.I32(s.asleepDiaLoadCount);
  a.I32(s.awakeSysThreshold), a.I32(s.awakeDiaThreshold);
  a.I32(s.asleepSysThreshold), a.I32(s.asleepDiaThreshold);
  for (ReportStatRow& r : s.rows) Fields(a, r);
  a.F64(s.surgePreWaking), a.F64(s.arvSys), a.F64(s.arvDia);
  a.I32(s.figures);
  a.F64(s.weightedSdSys);
  for (double& d : s.figuresList) a.F64(d);
}

template <class A>
void Fields(A& a, ReportRange& r) {
  a.I32(r.highest), a.I32(r.lowest), a.I32(r.mean);
}

template <class A>
void Fields(A& a, ReportSummaryPage& s) {
  a.I32(s.analysedCount);
  Fields(a, s.sys), Fields(a, s.dia);
  a.F64(s.nightDipSys), a.F64(s.nightDipDia);
  a.F64(s.hourlyRatioSys), a.F64(s.hourlyRatioDia);
  Fields(a, s.pr), Fields(a, s.map);
  a.I32(s.awakeCount), a.I32(s.asleepCount);
  a.Text(s.conclusion);
}

template <class A>
void Fields(A& a, ReportReadingItem& r) {
  a.I32(r.index), a.I32(r.year);
  a.I16(r.month), a.I16(r.day), a.I16(r.hour), a.I16(r.minute), a.I16(r.seconds);
  a.I32(r.sys);
  a.U8(r.mark);
  a.I32(r.included);
  a.I16(r.dia), a.I16(r.map), a.I16(r.pr), a.I16(r.spo2), a.I16(r.errorCode);
  a.I32(r.secondCode), a.I32(r.flags);
  a.Text(r.comment);
}

// Smallest width of one reading item: its fixed fields and an empty text.
inline constexpr size_t kReadingItemMinSize = 4 + 4 + 5 * 2 + 4 + 1 + 4 + 5 * 2 + 4 + 4 + 4;

template <class A>
void Fields(A& a, ReportReadingsPage& p) {
  a.List(p.items, kReadingItemMinSize, [](A& x, ReportReadingItem& r) { Fields(x, r); });
  a.I32(p.awakeStart), a.I32(p.asleepStart);
  a.I32(p.awakeSysThreshold), a.I32(p.awakeDiaThreshold);
  a.I32(p.asleepSysThreshold), a.I32(p.asleepDiaThreshold);
}

template <class A>
void Fields(A& a, ReportHistogramPage& h) {
  a.Text(h.patientName);
  for (double& d : h.sys) a.F64(d);
  for (double& d : h.dia) a.F64(d);
  for (double& d : h.pr) a.F64(d);
}

template <class A>
void Fields(A& a, ReportPieGroup& g) {
  a.F64(g.below), a.F64(g.within), a.F64(g.above);
  a.I32(g.low), a.I32(g.high), a.I32(g.countBelow), a.I32(g.countWithin), a.I32(g.countAbove);
  a.I32(g.count);
  a.I32(g.mean);
  a.F64(g.sd);
  a.I32(g.highest), a.I32(g.highestHour), a.I32(g.highestMinute);
  a.I32(g.lowest), a.I32(g.lowestHour), a.I32(g.lowestMinute);
}

template <class A>
void Fields(A& a, ReportPiePage& p) {
  a.Text(p.patientName);
  Fields(a, p.sys), Fields(a, p.dia), Fields(a, p.pr);
}

template <class A>
void Fields(A& a, ReportCorrelationPage& c) {
  a.F64(c.diaOnSysSlope), a.F64(c.diaOnSysIntercept);
  a.F64(c.sysOnDiaSlope), a.F64(c.sysOnDiaIntercept), a.F64(c.r);
  auto pair = [](A& x, SysDiaPair& p) { x.I32(p.sys), x.I32(p.dia); };
  a.List(c.awake, 8, pair);
  a.List(c.asleep, 8, pair);
}

template <class A>
void Fields(A& a, ReportHourlyPage& h) {
  a.I32(h.year), a.I32(h.month), a.I32(h.day), a.I32(h.hour);
  a.I32(h.hourCount), a.I32(h.awakeStart), a.I32(h.asleepStart), a.I32(h.truncated);
  a.F64(h.hourlyRatioSys), a.F64(h.hourlyRatioDia), a.F64(h.arvSys), a.F64(h.arvDia);
  for (auto* arr : {&h.sys, &h.dia, &h.pr, &h.count})
    for (int32_t& v : *arr) a.I32(v);
}

template <class A>
void Fields(A& a, ReportThreeHistogramPage& t) {
  a.I32(t.prStart), a.I32(t.mapStart), a.I32(t.ppStart);
  for (auto* arr : {&t.pr, &t.map, &t.pp})
    for (double& d : *arr) a.F64(d);
}

template <class A>
void Fields(A& a, ReportSpO2Page& s) {
  a.List(s.samples, 8, [](A& x, _SPO2_SAMPLE& m) {
    x.U8(m.spo2), x.U8(m.pr), x.U8(m.unused[0]), x.U8(m.unused[1]), x.I32(m.offset);
  });
  auto event = [](A& x, ReportEventItem& e) {
    x.I32(e.startSecond), x.I16(e.durationSeconds), x.U8(e.startValue), x.I8(e.change);
  };
  a.List(s.spo2Events, 8, event);
  for (int32_t& v : s.start) a.I32(v);
  for (int32_t& v : s.end) a.I32(v);
  a.I32(s.variant), a.I32(s.spo2EventCount), a.I32(s.prEventCount), a.I32(s.validSeconds);
  a.List(s.prEvents, 8, event);
  for (int32_t& v : s.spo2Params) a.I32(v);
  for (int32_t& v : s.prParams) a.I32(v);
  a.I32(s.lowestSpO2), a.I32(s.highestSpO2);
  a.I32(s.secondsBelow90), a.I32(s.figures);
  for (double& d : s.spo2Figures) a.F64(d);
  for (double& d : s.prFigures) a.F64(d);
  for (int32_t& v : s.secondsAtValue) a.I32(v);
}

}  // namespace vesk::reportfields
