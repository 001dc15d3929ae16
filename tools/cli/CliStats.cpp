// vesk-cli case stats FILE: every analysis record of a case as JSON, with the thresholds and
// event parameters of the current user of --home.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "Cli.h"
#include "analysis/CaseAnalysis.h"
#include "analysis/ClinicalIndices.h"
#include "analysis/EventParams.h"
#include "analysis/HourlyAverages.h"
#include "app/AppInfo.h"
#include "cases/CaseDocument.h"
#include "language/Language.h"
#include "settings/ConfigFile.h"

namespace vesk::cli {

int CaseStats(const std::vector<std::string>& args);

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kUsage =
    "  case stats FILE [--awake HH:MM] [--asleep HH:MM] [--period all|awake|asleep]\n"
    "             [--average MINUTES] [--baseline FILE]   every analysis record as JSON";

struct NoTexts : IErrorTexts {
  std::string ErrorText(int32_t) const override { return {}; }
};

int Usage() {
  std::fprintf(stderr, "usage:\n%s\n", kUsage);
  return 2;
}

bool ParseClock(const std::string& text, int& minutes) {
  int h = -1, m = -1;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%2d:%2d%c", &h, &m, &tail) != 2) return false;
  if (h < 0 || h > 23 || m < 0 || m > 59) return false;
  minutes = h * 60 + m;
  return true;
}

std::string Clock(int minutes) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d", minutes / 60 % 100, minutes % 60);
  return buf;
}

// A figure that could not be computed is null, never a 0 that looks like a value.
Json Maybe(bool set, double value) {
  return set ? Json(value) : Json(nullptr);
}

Json Block(const StatBlock& b) {
  static const char* names[kQuantityCount] = {"sys", "dia", "pr", "map", "pp"};
  Json j;
  for (int k = 0; k < kQuantityCount; ++k)
    j[names[k]] = {{"maxPos", b.q[k].maxPos}, {"minPos", b.q[k].minPos}, {"mean", b.q[k].mean}};
  return j;
}

Json StatisticsJson(const _BP_STATISTICS& s) {
  return {{"analysedCount", s.analysedCount},
          {"readingCount", s.readingCount},
          {"asleepCount", s.asleepCount},
          {"awakeCount", s.awakeCount},
          {"sysLoadCount", s.sysLoadCount},
          {"diaLoadCount", s.diaLoadCount},
          {"whole", Block(s.whole)},
          {"awakeSysLoadCount", s.awakeSysLoadCount},
          {"awakeDiaLoadCount", s.awakeDiaLoadCount},
          {"awake", Block(s.awake)},
          {"asleepSysLoadCount", s.asleepSysLoadCount},
          {"asleepDiaLoadCount", s.asleepDiaLoadCount},
          {"asleep", Block(s.asleep)}};
}

Json GroupJson(const ExtremeGroup& g) {
  return {{"max",
           {{"value", g.maxValue},
            {"hour", g.maxHour},
            {"minute", g.maxMinute},
            {"day", g.maxDay},
            {"month", g.maxMonth},
            {"year", g.maxYear}}},
          {"min",
           {{"value", g.minValue},
            {"hour", g.minHour},
            {"minute", g.minMinute},
            {"day", g.minDay},
            {"month", g.minMonth},
            {"year", g.minYear}}},
          {"mean", g.mean},
          {"below", g.below},
          {"within", g.within},
          {"above", g.above}};
}

Json LimitsJson(const RangeLimits& l) {
  return {
      {"sys", {l.sysLow, l.sysHigh}}, {"dia", {l.diaLow, l.diaHigh}}, {"pr", {l.prLow, l.prHigh}}};
}

Json SpreadJson(const SpreadFigures& s) {
  return {{"sys", s.sys}, {"dia", s.dia}, {"pr", s.pr}, {"map", s.map}};
}

Json ReportJson(const _BP_REPORT_STATISTICS& r) {
  return {
      {"loadShares",
       {{"awakeSys", r.awakeSysLoad},
        {"awakeDia", r.awakeDiaLoad},
        {"asleepSys", r.asleepSysLoad},
        {"asleepDia", r.asleepDiaLoad},
        {"wholeSys", r.wholeSysLoad},
        {"wholeDia", r.wholeDiaLoad}}},
      {"nightDipSys", Maybe(r.nightDipSet, r.nightDipSys)},
      {"nightDipDia", Maybe(r.nightDipSet, r.nightDipDia)},
      {"hourlyProfile", {{"hours", r.hourlyHours}, {"sys", r.hourlySys}, {"dia", r.hourlyDia}}},
      {"hourlyRatioSys", Maybe(r.hourlyRatioSysSet, r.hourlyRatioSys)},
      {"hourlyRatioDia", Maybe(r.hourlyRatioDiaSet, r.hourlyRatioDia)},
      {"sd",
       {{"awake", SpreadJson(r.sdAwake)},
        {"asleep", SpreadJson(r.sdAsleep)},
        {"whole", SpreadJson(r.sdWhole)}}},
      {"se",
       {{"awake", SpreadJson(r.seAwake)},
        {"asleep", SpreadJson(r.seAsleep)},
        {"whole", SpreadJson(r.seWhole)}}},
      {"cv",
       {{"awake", SpreadJson(r.cvAwake)},
        {"asleep", SpreadJson(r.cvAsleep)},
        {"whole", SpreadJson(r.cvWhole)}}},
      {"r", Maybe(r.rSet, r.r)},
      {"diaOnSys", r.diaOnSysSet
                       ? Json{{"slope", r.diaOnSysSlope}, {"intercept", r.diaOnSysIntercept}}
                       : Json(nullptr)},
      {"sysOnDia", r.sysOnDiaSet
                       ? Json{{"slope", r.sysOnDiaSlope}, {"intercept", r.sysOnDiaIntercept}}
                       : Json(nullptr)},
      {"aasi", Maybe(r.aasiSet, r.aasi)},
      {"crossing", r.crossSet ? Json{{"sys", r.crossSys}, {"dia", r.crossDia}} : Json(nullptr)}};
}

Json PairsJson(const std::vector<SysDiaPair>& pairs) {
  Json j = Json::array();
  for (const SysDiaPair& p : pairs) j.push_back({p.sys, p.dia});
  return j;
}

Json CorrelationJson(const _BP_CORRELATION& c) {
  return {{"diaOnSys", c.diaOnSysSet
                           ? Json{{"slope", c.diaOnSysSlope}, {"intercept", c.diaOnSysIntercept}}
                           : Json(nullptr)},
          {"sysOnDia", c.sysOnDiaSet
                           ? Json{{"slope", c.sysOnDiaSlope}, {"intercept", c.sysOnDiaIntercept}}
                           : Json(nullptr)},
          {"meanSys", c.meanSys},
          {"meanDia", c.meanDia},
          {"r", Maybe(c.rSet, c.r)},
          {"awakePairs", PairsJson(c.awakePairs)},
          {"asleepPairs", PairsJson(c.asleepPairs)}};
}

Json EventsJson(const std::vector<EventRecord>& events) {
  Json j = Json::array();
  for (const EventRecord& e : events)
    j.push_back({{"startValue", e.startValue},
                 {"kind", e.kind},
                 {"startTime", e.startTime},
                 {"endTime", e.endTime},
                 {"change", e.change}});
  return j;
}

Json ParamsJson(const EventParams& p) {
  return {{"maxTime", p.maxTime},     {"minTime", p.minTime},    {"leastChange", p.leastChange},
          {"rateLimit", p.rateLimit}, {"lowValid", p.lowValid},  {"highValid", p.highValid},
          {"swing", p.swing},         {"criterion", p.criterion}};
}

Json ExtrasJson(const CaseFigures& k) {
  const MorningSurge& m = k.surge;
  const Variability& v = k.variability;
  const Dipping& d = k.dipping;
  const RecordingQuality& q = k.quality;
  const bool dipSet = d.sys != DipClass::Unknown;
  return {{"morningSurge",
           {{"sleepTrough", Maybe(m.sleepTroughSet, m.sleepTrough)},
            {"preWaking", Maybe(m.preWakingSet, m.preWaking)},
            {"morningMean", Maybe(m.sleepTroughSet || m.preWakingSet, m.morningMean)},
            {"troughMean", Maybe(m.sleepTroughSet, m.troughMean)},
            {"preWakingMean", Maybe(m.preWakingSet, m.preWakingMean)}}},
          {"variability",
           {{"arvSys", Maybe(v.arvSet, v.arvSys)},
            {"arvDia", Maybe(v.arvSet, v.arvDia)},
            {"weightedSdSys", Maybe(v.weightedSdSet, v.weightedSdSys)},
            {"weightedSdDia", Maybe(v.weightedSdSet, v.weightedSdDia)},
            {"awakeHours", v.awakeHours},
            {"asleepHours", v.asleepHours}}},
          {"dipping",
           {{"lowCR", k.thresholds.lowCR},
            {"highCR", k.thresholds.highCR},
            {"sysPercent", Maybe(dipSet, d.sysPercent)},
            {"diaPercent", Maybe(dipSet, d.diaPercent)},
            {"sysClass", DipClassName(d.sys)},
            {"diaClass", DipClassName(d.dia)}}},
          {"recordingQuality",
           {{"readingCount", q.readingCount},
            {"validCount", q.validCount},
            {"awakeCount", q.awakeCount},
            {"asleepCount", q.asleepCount},
            {"validShare", q.validShare},
            {"validShareOk", q.validShareOk},
            {"awakeOk", q.awakeOk},
            {"asleepOk", q.asleepOk},
            {"adequate", q.adequate}}}};
}

Json AveragesJson(const std::vector<_BP_RECORD>& analysed, int minutes) {
  Json j = Json::array();
  for (const AveragedPeriod& p : AverageByPeriod(analysed, minutes)) {
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", p.year, p.month, p.day);
    j.push_back({{"date", date},
                 {"start", Clock(p.hour * 60 + p.minute)},
                 {"end", Clock((p.hour * 60 + p.minute + p.lengthMinutes) % 1440)},
                 {"count", p.count},
                 {"sys", p.sys},
                 {"dia", p.dia},
                 {"pr", p.pr},
                 {"map", p.map},
                 {"pp", p.sys - p.dia},
                 {"spo2", p.spo2Count ? Json(p.spo2) : Json(nullptr)}});
  }
  return j;
}

bool LoadDocument(const std::string& path, CaseDocument& doc) {
  doc.SetCasePath(path);
  const int32_t code = doc.LoadCase();
  if (code == ToInt(CaseLoadResult::Ok)) return true;
  std::fprintf(stderr, "vesk-cli: %s: the case could not be opened (code %d)\n", path.c_str(),
               code);
  return false;
}

}  // namespace

int CaseStats(const std::vector<std::string>& args) {
  std::string file, baseline;
  int awake = -1, asleep = -1, average = 60;
  AnalysisView view;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if ((a == "--awake" || a == "--asleep") && hasValue) {
      if (!ParseClock(args[++i], a == "--awake" ? awake : asleep))
        return Fail(a + " wants a time of day HH:MM, not \"" + args[i] + "\"");
    } else if (a == "--period" && hasValue) {
      const std::string& p = args[++i];
      if (p == "all")
        view.period = Period::All;
      else if (p == "awake")
        view.period = Period::Awake;
      else if (p == "asleep")
        view.period = Period::Asleep;
      else
        return Fail("--period wants all, awake or asleep, not \"" + p + "\"");
    } else if (a == "--average" && hasValue) {
      average = std::atoi(args[++i].c_str());
      if (average < 1 || average > 1440) return Fail("--average wants 1 to 1440 minutes");
    } else if (a == "--baseline" && hasValue) {
      baseline = args[++i];
    } else if (file.empty() && !a.empty() && a[0] != '-') {
      file = a;
    } else {
      return Usage();
    }
  }
  if (file.empty()) return Usage();

  CLanguage language;
  StderrSink sink;
  CConfigFile config(language, sink, g_EditionCode);
  if (config.Load() != 1) return 1;
  const Thresholds thresholds = config.settings.GetThresholds();
  const EventParams spo2Params = SpO2ParamsFrom(config.settings);
  const EventParams prParams = PulseRateParamsFrom(config.settings);

  CaseState state;
  NoTexts texts;
  CaseDocument doc(state, texts);
  if (!LoadDocument(file, doc)) return 1;
  if (awake >= 0 || asleep >= 0)
    doc.SetSleepPeriods(awake >= 0 ? awake : doc.AwakeStart(),
                        asleep >= 0 ? asleep : doc.AsleepStart());

  CaseAnalysis analysis;
  RunOpenAnalysis(doc, thresholds, RangeLimits{}, spo2Params, prParams, analysis);
  Reanalyse(doc, thresholds, view, analysis);
  const CaseFigures& figures = analysis.Figures();

  static const char* periodNames[] = {"all", "awake", "asleep"};
  Json out;
  out["file"] = file;
  out["modelCode"] = doc.ModelCode();
  out["awakeStart"] = Clock(doc.AwakeStart());
  out["asleepStart"] = Clock(doc.AsleepStart());
  out["period"] = periodNames[static_cast<int>(view.period)];
  out["thresholds"] = {
      {"awakeSys", thresholds.awakeSys},   {"awakeDia", thresholds.awakeDia},
      {"asleepSys", thresholds.asleepSys}, {"asleepDia", thresholds.asleepDia},
      {"lowCR", thresholds.lowCR},         {"highCR", thresholds.highCR},
      {"dayBPLoad", thresholds.dayBPLoad}, {"nightBPLoad", thresholds.nightBPLoad}};
  out["statistics"] = StatisticsJson(figures.statistics);
  out["rangeLimits"] = LimitsJson(view.limits);
  out["extremes"] = {{"sys", GroupJson(analysis.extremes.sys)},
                     {"dia", GroupJson(analysis.extremes.dia)},
                     {"pr", GroupJson(analysis.extremes.pr)}};
  out["distribution"] = {{"sys", analysis.distribution.sys},
                         {"dia", analysis.distribution.dia},
                         {"pr", analysis.distribution.pr}};
  out["reportStatistics"] = ReportJson(figures.report);
  out["correlation"] =
      doc.ModelCode() == kQora ? Json(nullptr) : CorrelationJson(analysis.correlation);
  const Json extras = ExtrasJson(figures);
  for (const auto& [key, value] : extras.items()) out[key] = value;

  if (!baseline.empty()) {
    CaseState baseState;
    CaseDocument baseDoc(baseState, texts);
    if (!LoadDocument(baseline, baseDoc)) return 1;
    const Smoothness si = ComputeSmoothnessIndex(baseDoc.AllReadings(), doc.AllReadings());
    out["smoothnessIndex"] = {{"baseline", baseline},
                              {"sharedHours", si.sharedHours},
                              {"sys", Maybe(si.sysSet, si.sys)},
                              {"dia", Maybe(si.diaSet, si.dia)}};
  } else {
    out["smoothnessIndex"] = nullptr;
  }
  out["averageMinutes"] = average;
  out["averages"] = AveragesJson(doc.AnalysedReadings(), average);

  if (figures.spo2Set) {
    out["spo2Params"] = ParamsJson(spo2Params);
    out["prParams"] = ParamsJson(prParams);
    out["spo2Events"] = EventsJson(analysis.spo2Events);
    out["prEvents"] = EventsJson(analysis.prEvents);
    const SpO2Summary& s = figures.spo2;
    out["spo2Summary"] = {{"eventCount", s.eventCount},
                          {"validSeconds", s.validSeconds},
                          {"odi", Maybe(s.odiSet, s.odi)},
                          {"secondsBelow90", s.secondsBelow90},
                          {"shareBelow90", Maybe(s.valuesSet, s.shareBelow90)},
                          {"lowest", s.valuesSet ? Json(s.lowest) : Json(nullptr)},
                          {"mean", Maybe(s.valuesSet, s.mean)}};
  } else {
    out["spo2Events"] = Json::array();
    out["prEvents"] = Json::array();
    out["spo2Summary"] = nullptr;
  }
  std::cout << out.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
  return 0;
}

namespace {
const Registrar registrar("case stats", CaseStats, kUsage);
}  // namespace

}  // namespace vesk::cli
