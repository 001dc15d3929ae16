#include "device/PlanRules.h"

#include <cstdio>
#include <cstring>

#include "platform/CodePage.h"

namespace vesk::plan {

int IntervalFromIndex(int index) {
  if (index < 0 || index >= kIntervalCount) return -1;
  return kIntervalMinutes[index];
}

int IndexFromInterval(int minutes) {
  for (int i = 1; i < kIntervalCount; ++i)
    if (kIntervalMinutes[i] == minutes) return i;
  return 0;
}

HourMinute TimeFromIndex(int index) {
  if (index < 0) index = 0;
  if (index >= kTimeSlots) index = kTimeSlots - 1;
  return {index * 30 / 60, index * 30 % 60};
}

int IndexFromTime(int hour, int minute) {
  const int64_t minutes = int64_t{hour} * 60 + minute;
  if (hour < 0 || minute < 0 || minutes >= 24 * 60) return 0;
  return static_cast<int>(minutes / 30);
}

HourMinute SpecialTimeFromIndex(int index) {
  return TimeFromIndex(index - 1);
}

int SpecialIndexFromTime(int hour, int minute) {
  if (hour < 0 || minute < 0 || hour >= 24 || minute >= 60) return 0;
  return IndexFromTime(hour, minute) + 1;
}

void ApplyPeriods(int awakeTime, int awakeSpan, int asleepTime, int asleepSpan,
                  _BP_TRANSPORT_INFO& plan) {
  const HourMinute awake = TimeFromIndex(awakeTime);
  const HourMinute asleep = TimeFromIndex(asleepTime);
  plan.awakeHour = awake.hour;
  plan.awakeMinute = awake.minute;
  plan.awakeInterval = IntervalFromIndex(awakeSpan);
  plan.asleepHour = asleep.hour;
  plan.asleepMinute = asleep.minute;
  plan.asleepInterval = IntervalFromIndex(asleepSpan);
}

void ApplySpecialPeriod(int start, int end, int span, _BP_TRANSPORT_INFO& plan) {
  if (start <= 0 || end <= 0 || span <= 0) {
    plan.specialStartHour = plan.specialStartMinute = -1;
    plan.specialEndHour = plan.specialEndMinute = -1;
    plan.specialInterval = 0;
    return;
  }
  const HourMinute s = SpecialTimeFromIndex(start);
  const HourMinute e = SpecialTimeFromIndex(end);
  plan.specialStartHour = s.hour;
  plan.specialStartMinute = s.minute;
  plan.specialEndHour = e.hour;
  plan.specialEndMinute = e.minute;
  plan.specialInterval = IntervalFromIndex(span);
}

bool SpecialIntervalSelectable(int start, int end) {
  return end > 0 && start != end;
}

void ApplyFlags(PlanFamily family, int startKeyIndex, int manualSetIndex,
                _BP_TRANSPORT_INFO& plan) {
  switch (family) {
    case PlanFamily::Talo:
    case PlanFamily::MiruSimple:
      return;
    case PlanFamily::Miru:
      plan.startKey = startKeyIndex == 0 ? 1 : 0;
      plan.manualSet = 0;
      return;
    case PlanFamily::PexaC:
      plan.startKey = startKeyIndex == 0 ? 1 : 0;
      plan.manualSet = manualSetIndex != 0 ? 1 : 0;
      return;
    case PlanFamily::Pexa:
      plan.startKey = startKeyIndex == 0 ? 1 : 0xFF;
      plan.manualSet = manualSetIndex == 0 ? 1 : 0xFF;
      return;
  }
}

PexaModeLimits PexaLimitsForMode(int mode) {
  switch (mode) {
    case 1:
      return {{40, 200}, {10, 150}, {20, 165}, {163, 243}, 120, 70, 70, 40, 90, 50, 243};
    case 2:
      return {{40, 135}, {10, 100}, {20, 110}, {70, 150}, 90, 40, 60, 20, 70, 25, 150};
    default:
      return {{40, 270}, {10, 215}, {20, 235}, {200, 280}, 160, 90, 90, 50, 110, 60, 280};
  }
}

namespace {
void PutGroup(const WarningGroup& g, int32_t out[7]) {
  out[0] = g.on ? 1 : 0;
  out[1] = g.sysHigh;
  out[2] = g.sysLow;
  out[3] = g.diaHigh;
  out[4] = g.diaLow;
  out[5] = g.mapHigh;
  out[6] = g.mapLow;
}

// Byte offsets of the UTF-8 characters of a text, and the text's end.
template <typename Fn>
void ForEachChar(std::string_view s, Fn&& fn) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    if (i + len > s.size()) len = s.size() - i;
    if (!fn(i, len)) return;
    i += len;
  }
}

std::string LimitTyped(std::string_view text, size_t maxChars, size_t countFrom, size_t maxBytes) {
  size_t chars = 0, cut = text.size();
  ForEachChar(text, [&](size_t at, size_t) {
    if (chars == maxChars) {
      cut = at;
      return false;
    }
    ++chars;
    return true;
  });
  std::string out(text.substr(0, cut));
  if (chars <= countFrom || codepage::PlanByteCount(out) <= maxBytes) return out;
  size_t keep = 0;
  ForEachChar(out, [&](size_t at, size_t len) {
    if (codepage::PlanByteCount(std::string_view(out).substr(0, at + len)) > maxBytes) return false;
    keep = at + len;
    return true;
  });
  out.resize(keep);
  return out;
}

void PutNarrow(char* field, size_t fieldSize, size_t maxBytes, std::string_view utf8) {
  std::memset(field, 0, fieldSize);
  const std::string narrow = codepage::ToAnsiLimited(utf8, maxBytes);
  std::memcpy(field, narrow.data(), std::min(narrow.size(), maxBytes));
}
}  // namespace

void ApplyPexaSettings(int measureMode, int maxPressure, const WarningGroup& awake,
                       const WarningGroup& asleep, _BP_TRANSPORT_INFO& plan) {
  plan.measureMode = measureMode;
  plan.maxPressure = maxPressure;
  PutGroup(awake, plan.awakeWarn);
  PutGroup(asleep, plan.asleepWarn);
}

std::string LimitTypedName(std::string_view utf8) {
  return LimitTyped(utf8, 30, 14, kNameBytes);
}
std::string LimitTypedId(std::string_view utf8) {
  return LimitTyped(utf8, 11, 5, kIdBytes);
}

std::string TrimBlanks(std::string_view s) {
  const char* blanks = " \t\r\n\v\f";
  const size_t first = s.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  const size_t last = s.find_last_not_of(blanks);
  return std::string(s.substr(first, last - first + 1));
}

void SetPlanName(_BP_TRANSPORT_INFO& plan, std::string_view utf8) {
  PutNarrow(plan.patientName, sizeof plan.patientName, kNameBytes, utf8);
}

void SetPlanId(_BP_TRANSPORT_INFO& plan, std::string_view utf8) {
  PutNarrow(plan.patientId, sizeof plan.patientId, kIdBytes, utf8);
}

std::string PatientIdStamp(const DateParts& now) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d%02d%02d%02d%02d", now.year - 2000, now.month, now.day,
                now.hour, now.minute);
  return buf;
}

void SetPlanClock(_BP_TRANSPORT_INFO& plan, const DateParts& now) {
  plan.year = now.year;
  plan.month = now.month;
  plan.day = now.day;
  plan.hour = now.hour;
  plan.minute = now.minute;
  plan.second = now.second;
}

void FixAllZeroStartTimes(_BP_TRANSPORT_INFO& plan) {
  if (plan.awakeHour == 0 && plan.awakeMinute == 0 && plan.asleepHour == 0 &&
      plan.asleepMinute == 0) {
    plan.awakeHour = 7;
    plan.asleepHour = 22;
  }
}

}  // namespace vesk::plan
