#include "ReportJob.h"

#include <filesystem>
#include <map>
#include <tuple>

#include "platform/DateTime.h"
#include "reports/ReportFiles.h"
#include "settings/IniFile.h"

namespace vesk::report {

Paper PaperOf(int paperSize) {
  return paperSize == 1 || paperSize == 2 ? Paper::Letter : Paper::A4;
}

bool LoadReportJob(const std::string& cnfPath, ReportJob& job, std::string& error) {
  std::error_code ec;
  // CIniFile would create a missing file; a report without a job must not leave one behind.
  if (!std::filesystem::is_regular_file(cnfPath, ec)) {
    error = cnfPath + ": no report job (the file is missing)";
    return false;
  }
  try {
    CIniFile ini(cnfPath, false);
    job.casePath = ini.ReadString("START", "CasePath", "");
    job.reportPath = ini.ReadString("START", "ReportPath", "");
    job.reportPrint = ini.ReadInt("START", "ReportPrint", 0);
    job.paperSize = ini.ReadInt("START", "PaperSize", 10);
    job.orientation = ini.ReadInt("START", "Orientation", 1);
    job.deviceName = ini.ReadString("START", "DeviceName", "");
    job.language = ini.ReadString("START", "Language", "English");
  } catch (const std::exception& e) {
    error = cnfPath + ": " + e.what();
    return false;
  }
  if (job.reportPath.empty() && job.reportPrint != 1) {
    error = cnfPath + ": \"ReportPath\" names no PDF file";
    return false;
  }
  return true;
}

std::vector<HourMean> HourlyMeans(const ReadingRefs& analysed, int asleepStart, int awakeStart) {
  struct Sum {
    int count = 0;
    double sys = 0, dia = 0, pr = 0, map = 0;
    bool asleep = false;
  };
  std::map<std::tuple<int, int, int, int>, Sum> hours;
  for (const _BP_RECORD* r : analysed) {
    if (!IsValidDate(r->year, r->month, r->day, r->hour, r->minute)) continue;
    Sum& s = hours[{r->year, r->month, r->day, r->hour}];
    if (s.count == 0) s.asleep = IsAsleep(*r, asleepStart, awakeStart);
    ++s.count;
    s.sys += r->sys, s.dia += r->dia, s.pr += r->pr, s.map += r->map;
  }
  std::vector<HourMean> out;
  out.reserve(hours.size());
  for (const auto& [key, s] : hours) {
    HourMean h;
    std::tie(h.year, h.month, h.day, h.hour) = key;
    h.count = s.count;
    h.sys = s.sys / s.count, h.dia = s.dia / s.count, h.pr = s.pr / s.count;
    h.map = s.map / s.count;
    h.asleep = s.asleep;
    out.push_back(h);
  }
  return out;
}

namespace {

ExtremeGroup GroupOf(const ReportPieGroup& p) {
  ExtremeGroup g;
  g.maxValue = p.highest, g.maxHour = p.highestHour, g.maxMinute = p.highestMinute;
  g.minValue = p.lowest, g.minHour = p.lowestHour, g.minMinute = p.lowestMinute;
  g.mean = p.mean;
  g.below = p.below, g.within = p.within, g.above = p.above;
  return g;
}

EventRecord EventOf(const ReportEventItem& e, int kind) {
  EventRecord r;
  r.kind = kind;
  r.startValue = e.startValue;
  r.startTime = e.startSecond * 1000;
  r.endTime = (e.startSecond + e.durationSeconds) * 1000;
  r.change = e.change;
  return r;
}

OleDateTime TimeOf(const std::array<int32_t, 6>& t) {
  return OleDateTime::FromParts(t[0], t[1], t[2], t[3], t[4], t[5]);
}

}  // namespace

void PrepareModel(ReportModel& m) {
  const ReportData& d = m.data;
  m.readings = d.main.readings;
  // The comments travel only with the reading pages; they belong to the reading of the same
  // index.
  std::map<int32_t, const std::string*> comments;
  for (const ReportReadingItem& item : d.readingsPage.items)
    if (!item.comment.empty()) comments[item.index] = &item.comment;
  for (_BP_RECORD& r : m.readings)
    if (auto it = comments.find(r.index); it != comments.end()) r.comment = *it->second;

  m.refs = BuildPeriodRefs(m.readings, d.main.asleepStart, d.main.awakeStart);
  m.quality = ComputeRecordingQuality(int32_t(m.readings.size()), m.refs);
  m.hours = HourlyMeans(m.refs.analysed, d.main.asleepStart, d.main.awakeStart);

  CaseAnalysis& a = m.analysis;
  a.distribution.sys = d.histogram.sys;
  a.distribution.dia = d.histogram.dia;
  a.distribution.pr = d.histogram.pr;
  a.extremes.sys = GroupOf(d.pie.sys);
  a.extremes.dia = GroupOf(d.pie.dia);
  a.extremes.pr = GroupOf(d.pie.pr);
  _BP_CORRELATION& c = a.correlation;
  const ReportCorrelationPage& cp = d.correlation;
  c.diaOnSysSlope = cp.diaOnSysSlope, c.diaOnSysIntercept = cp.diaOnSysIntercept;
  c.sysOnDiaSlope = cp.sysOnDiaSlope, c.sysOnDiaIntercept = cp.sysOnDiaIntercept;
  c.r = cp.r;
  c.awakePairs = cp.awake, c.asleepPairs = cp.asleep;
  // A line that could not be computed travels as zeros.
  c.diaOnSysSet = cp.diaOnSysSlope != 0.0 || cp.diaOnSysIntercept != 0.0;
  c.sysOnDiaSet = cp.sysOnDiaSlope != 0.0 || cp.sysOnDiaIntercept != 0.0;
  c.rSet = cp.r != 0.0;
  int64_t sumSys = 0, sumDia = 0, n = 0;
  for (const auto* list : {&cp.awake, &cp.asleep})
    for (const SysDiaPair& p : *list) sumSys += p.sys, sumDia += p.dia, ++n;
  if (n > 0) c.meanSys = int32_t(sumSys / n), c.meanDia = int32_t(sumDia / n);

  a.spo2Events.clear(), a.prEvents.clear();
  for (const ReportEventItem& e : d.spo2.spo2Events) a.spo2Events.push_back(EventOf(e, 1));
  for (const ReportEventItem& e : d.spo2.prEvents) a.prEvents.push_back(EventOf(e, 2));
  m.samples = d.spo2.samples;
  m.spo2Start = TimeOf(d.spo2.start);
  m.spo2End = TimeOf(d.spo2.end);
}

bool LoadReportModel(const std::string& folder, ReportModel& m, std::string& error) {
  const ReportFilesResult r = ReadReportFiles(folder, m.data);
  if (!r.ok) {
    error = r.failedPath + ": " + (r.detail.empty() ? "cannot be read" : r.detail);
    return false;
  }
  PrepareModel(m);
  return true;
}

}  // namespace vesk::report
