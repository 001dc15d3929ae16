#include "cases/PlanLines.h"

#include <cstdio>

namespace vesk {

namespace {

PlanLine Key(const char* label, const char* valueKey) {
  return {label, valueKey, {}};
}

PlanLine Text(const char* label, std::string value) {
  return {label, nullptr, std::move(value)};
}

PlanLine Switch(const char* label, int32_t on) {
  return Key(label, on == 1 ? "IDS_SWITCH_ON" : "IDS_TURN_OFF");
}

// A time the recorder never had stays "none": 255 is its "not set", and a plan made here
// without a special period holds -1.
PlanLine Clock(const char* label, int32_t hour, int32_t minute) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return Key(label, "IDS_NONE");
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d", hour, minute);
  return Text(label, buf);
}

// An interval of 0 means no measurements in the period; so does the recorders' -2.
PlanLine Interval(int32_t minutes) {
  if (minutes <= 0) return Key("IDS_INTERVAL", "IDS_NONE");
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", minutes);
  return Text("IDS_INTERVAL", buf);
}

// Warning limits are stored upper first; the view shows lower-upper.
PlanLine Range(const char* label, int32_t upper, int32_t lower) {
  return Text(label, std::to_string(lower) + "-" + std::to_string(upper));
}

const char* MeasureModeKey(int32_t mode) {
  switch (mode) {
    case 1:
      return "IDS_CHILD";
    case 2:
      return "IDS_NEONATE";
    default:
      return "IDS_ADULT";
  }
}

}  // namespace

std::vector<PlanLine> PlanLines(const _BP_TRANSPORT_INFO& p, int32_t modelCode, int32_t protocol) {
  const bool full = modelCode != kTaloColor && modelCode != kTaloBlack;
  std::vector<PlanLine> lines;
  if (full) lines.push_back(Switch("IDS_START_KEY", p.startKey));
  lines.push_back(Clock("IDS_NOSLEEP_TIME", p.awakeHour, p.awakeMinute));
  lines.push_back(Interval(p.awakeInterval));
  lines.push_back(Clock("IDS_SLEEP_TIME", p.asleepHour, p.asleepMinute));
  lines.push_back(Interval(p.asleepInterval));
  if (!full) return lines;

  lines.push_back(Clock("IDS_SPECIAL_TIME", p.specialStartHour, p.specialStartMinute));
  lines.push_back(Clock("IDS_SPECIAL_END", p.specialEndHour, p.specialEndMinute));
  lines.push_back(Interval(p.specialInterval));
  if (modelCode == kPexa && protocol != 1 && protocol != 2)
    lines.push_back(Key("IDS_MEASUREMODE", MeasureModeKey(p.measureMode)));
  lines.push_back(Switch("IDS_AWAKEWARN", p.awakeWarn[0]));
  lines.push_back(Switch("IDS_ASLEEPWARN", p.asleepWarn[0]));
  lines.push_back(Range("IDS_AWAKE_SYS_WARN_RANGE", p.awakeWarn[1], p.awakeWarn[2]));
  lines.push_back(Range("IDS_AWAKE_DIA_WARN_RANGE", p.awakeWarn[3], p.awakeWarn[4]));
  lines.push_back(Range("IDS_ASLEEP_SYS_WARN_RANGE", p.asleepWarn[1], p.asleepWarn[2]));
  lines.push_back(Range("IDS_ASLEEP_DIA_WARN_RANGE", p.asleepWarn[3], p.asleepWarn[4]));
  if (protocol != 2) {
    lines.push_back(Range("IDS_AWAKE_AVG_WARN_RANGE", p.awakeWarn[5], p.awakeWarn[6]));
    lines.push_back(Range("IDS_ASLEEP_AVG_WARN_RANGE", p.asleepWarn[5], p.asleepWarn[6]));
  }
  lines.push_back(Text("IDS_MAXPRESSVALUE", std::to_string(p.maxPressure)));
  return lines;
}

}  // namespace vesk
