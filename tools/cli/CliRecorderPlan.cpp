#include "CliRecorderPlan.h"

#include <cstdio>
#include <cstring>

#include "device/ModelTable.h"
#include "platform/CodePage.h"

namespace vesk::cli {

namespace {

bool ParseInt(const std::string& s, int& out) {
  if (s.empty() || s.size() > 9) return false;
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, 10);
  if (!end || *end != 0) return false;
  out = static_cast<int>(v);
  return true;
}

// "HH:MM" on the half hour -> list index (0..47).
bool ParseHalfHour(const std::string& s, int& index) {
  int h = 0, m = 0;
  char tail = 0;
  if (std::sscanf(s.c_str(), "%d:%d%c", &h, &m, &tail) != 2) return false;
  if (h < 0 || h > 23 || (m != 0 && m != 30)) return false;
  index = plan::IndexFromTime(h, m);
  return true;
}

// Minutes or "none" -> interval list index; false for a value the list does not hold.
bool ParseInterval(const std::string& s, int& index, int& minutes) {
  if (s == "none") {
    index = 0;
    minutes = -2;
    return true;
  }
  if (!ParseInt(s, minutes)) return false;
  index = plan::IndexFromInterval(minutes);
  return index != 0;
}

bool ParseOnOff(const std::string& s, int& index) {
  if (s == "on")
    index = 0;
  else if (s == "off")
    index = 1;
  else
    return false;
  return true;
}

// "off", "on" or "on:SH,SL,DH,DL,MH,ML".
bool ParseWarn(const std::string& s, std::optional<plan::WarningGroup>& out, bool& proposed) {
  if (s == "off") return true;
  if (s == "on") {
    proposed = true;
    return true;
  }
  plan::WarningGroup g;
  g.on = true;
  char tail = 0;
  if (std::sscanf(s.c_str(), "on:%d,%d,%d,%d,%d,%d%c", &g.sysHigh, &g.sysLow, &g.diaHigh, &g.diaLow,
                  &g.mapHigh, &g.mapLow, &tail) != 6)
    return false;
  out = g;
  return true;
}

bool ParseClock(const std::string& s, DateParts& out) {
  char tail = 0;
  const int n = std::sscanf(s.c_str(), "%d-%d-%d %d:%d:%d%c", &out.year, &out.month, &out.day,
                            &out.hour, &out.minute, &out.second, &tail);
  return n == 6 && IsValidDate(out.year, out.month, out.day, out.hour, out.minute, out.second);
}

}  // namespace

bool ParsePlanArgs(const std::vector<std::string>& args, PlanArgs& out, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--monitor") {
      out.monitor = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      error = "unknown option or missing value: " + a;
      return false;
    }
    const std::string& v = args[++i];
    int index = 0, minutes = 0;
    bool ok = true;
    if (a == "--name") {
      out.name = v;
    } else if (a == "--id") {
      out.id = v;
    } else if (a == "--clock") {
      DateParts c;
      ok = ParseClock(v, c);
      if (ok) out.clock = c;
    } else if (a == "--awake" || a == "--asleep") {
      ok = ParseHalfHour(v, index);
      (a == "--awake" ? out.awakeTime : out.asleepTime) = index;
    } else if (a == "--awake-interval" || a == "--asleep-interval") {
      // TALO recorders name their own lists: any minute value may be meant for them.
      const bool listed = ParseInterval(v, index, minutes);
      ok = listed || ParseInt(v, minutes);
      const bool awake = a == "--awake-interval";
      // -1 is no list index: the builder refuses it for recorders that use the fixed list.
      (awake ? out.awakeSpan : out.asleepSpan) = listed ? index : -1;
      (awake ? out.awakeMinutes : out.asleepMinutes) = minutes;
    } else if (a == "--special") {
      int end = 0;
      const size_t dash = v.find('-');
      ok = dash != std::string::npos && ParseHalfHour(v.substr(0, dash), index) &&
           ParseHalfHour(v.substr(dash + 1), end);
      out.specialStart = index + 1;
      out.specialEnd = end + 1;
    } else if (a == "--special-interval") {
      ok = ParseInterval(v, index, minutes);
      out.specialSpan = index;
    } else if (a == "--start-key") {
      ok = ParseOnOff(v, index);
      out.startKey = index;
    } else if (a == "--manual-set") {
      ok = ParseOnOff(v, index);
      out.manualSet = index;
    } else if (a == "--measure-mode") {
      out.measureMode = v == "adult" ? 0 : v == "child" ? 1 : v == "neonate" ? 2 : -1;
      ok = out.measureMode >= 0;
    } else if (a == "--max-pressure") {
      ok = ParseInt(v, minutes);
      out.maxPressure = minutes;
    } else if (a == "--awake-warn") {
      ok = ParseWarn(v, out.awakeWarn, out.awakeWarnProposed);
    } else if (a == "--asleep-warn") {
      ok = ParseWarn(v, out.asleepWarn, out.asleepWarnProposed);
    } else {
      error = "unknown option: " + a;
      return false;
    }
    if (!ok) {
      error = "bad value for " + a + ": '" + v + "'";
      return false;
    }
  }
  if (plan::TrimBlanks(out.name).empty()) {
    error = "--name is required";
    return false;
  }
  return true;
}

UploadPlanOptions ResolvePlanOptions(const PlanArgs& a, int kind,
                                     const _UPLOAD_NEEDED_DATA& recorder, const UserSettings& s,
                                     const DateParts& now) {
  UploadPlanOptions o;
  o.name = a.name;
  o.id = a.id.value_or(plan::PatientIdStamp(now));
  o.clock = a.clock.value_or(now);
  // The TALO plan starts from the recorder's own times and intervals.
  const UploadModeRow* recording = UploadModeOf(kind, kModeRecording);
  const bool talo = recording && recording->family == plan::PlanFamily::Talo;
  if (talo) {
    o.awakeTime = a.awakeTime.value_or(
        plan::IndexFromTime(recorder.plan.awakeHour, recorder.plan.awakeMinute));
    o.asleepTime = a.asleepTime.value_or(
        plan::IndexFromTime(recorder.plan.asleepHour, recorder.plan.asleepMinute));
    o.taloAwakeInterval = a.awakeMinutes;
    o.taloAsleepInterval = a.asleepMinutes;
  } else {
    o.awakeTime = a.awakeTime.value_or(s.awakeTime);
    o.asleepTime = a.asleepTime.value_or(s.asleepTime);
    o.awakeSpan = a.awakeSpan.value_or(s.awakeSpan);
    o.asleepSpan = a.asleepSpan.value_or(s.asleepSpan);
  }
  o.specialStart = a.specialStart.value_or(s.specialStart);
  o.specialEnd = a.specialEnd.value_or(s.specialEnd);
  o.specialSpan = a.specialSpan.value_or(s.specialSpan);
  o.startKey = a.startKey.value_or(s.startKey);
  o.manualSet = a.manualSet.value_or(s.displayHandIntercalate);
  o.measureMode = a.measureMode;
  o.maxPressure = a.maxPressure;
  const plan::PexaModeLimits m = plan::PexaLimitsForMode(a.measureMode);
  const plan::WarningGroup proposed{true,     m.sysHigh, m.sysLow, m.diaHigh,
                                    m.diaLow, m.mapHigh, m.mapLow};
  o.awakeWarn = a.awakeWarnProposed ? std::optional(proposed) : a.awakeWarn;
  o.asleepWarn = a.asleepWarnProposed ? std::optional(proposed) : a.asleepWarn;
  return o;
}

nlohmann::ordered_json PlanJson(const _BP_TRANSPORT_INFO& p) {
  using Json = nlohmann::ordered_json;
  Json j;
  j["name"] = codepage::FromAnsi(std::string_view(p.patientName, strnlen(p.patientName, 31)));
  j["id"] = codepage::FromAnsi(std::string_view(p.patientId, strnlen(p.patientId, 12)));
  j["clock"] = Json::array({p.year, p.month, p.day, p.hour, p.minute, p.second});
  j["manualSet"] = p.manualSet;
  j["startKey"] = p.startKey;
  j["maxPressure"] = p.maxPressure;
  j["measureMode"] = p.measureMode;
  j["special"] = Json::array({p.specialStartHour, p.specialStartMinute, p.specialEndHour,
                              p.specialEndMinute, p.specialInterval});
  j["awake"] = Json::array({p.awakeHour, p.awakeMinute, p.awakeInterval});
  j["asleep"] = Json::array({p.asleepHour, p.asleepMinute, p.asleepInterval});
  j["awakeWarn"] = std::vector<int32_t>(p.awakeWarn, p.awakeWarn + 7);
  j["asleepWarn"] = std::vector<int32_t>(p.asleepWarn, p.asleepWarn + 7);
  return j;
}

}  // namespace vesk::cli
