#include "device/UploadPlanBuilder.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "device/ModelTable.h"

namespace vesk {

namespace {

UploadPlanResult Fail(std::string error) {
  UploadPlanResult r;
  r.error = std::move(error);
  return r;
}

bool IndexIn(int index, int count) {
  return index >= 0 && index < count;
}

// The recorder's entry equal to the wanted (or current) interval; its first entry otherwise.
std::optional<int> TaloInterval(const std::vector<int32_t>& accepted, std::optional<int> wanted,
                                int current) {
  if (accepted.empty()) return wanted.value_or(current);
  if (wanted) {
    if (std::find(accepted.begin(), accepted.end(), *wanted) == accepted.end()) return std::nullopt;
    return *wanted;
  }
  if (std::find(accepted.begin(), accepted.end(), current) != accepted.end()) return current;
  return accepted.front();
}

bool InRange(int v, const plan::Range& r) {
  return v >= r.low && v <= r.high;
}

std::optional<std::string> CheckGroup(const plan::WarningGroup& g, const plan::PexaModeLimits& m,
                                      const char* which) {
  const bool ok = InRange(g.sysHigh, m.sys) && InRange(g.sysLow, m.sys) &&
                  InRange(g.diaHigh, m.dia) && InRange(g.diaLow, m.dia) &&
                  InRange(g.mapHigh, m.map) && InRange(g.mapLow, m.map);
  if (ok) return std::nullopt;
  char buf[160];
  std::snprintf(buf, sizeof buf,
                "%s warning limits out of range: systolic [%d-%d], diastolic [%d-%d], mean "
                "[%d-%d]",
                which, m.sys.low, m.sys.high, m.dia.low, m.dia.high, m.map.low, m.map.high);
  return std::string(buf);
}

}  // namespace

UploadPlanResult BuildUploadPlan(int deviceKind, int mode, const UploadPlanOptions& o,
                                 const _UPLOAD_NEEDED_DATA& recorder) {
  const RecorderModel* model = ModelOfKind(deviceKind);
  if (!model || model->uploadModes.empty())
    return Fail("this recorder does not take a measurement plan");
  const UploadModeRow* uploadMode = UploadModeOf(deviceKind, mode);
  if (!uploadMode) return Fail("this recorder cannot be programmed in that mode");
  const plan::PlanFamily family = uploadMode->family;

  const std::string name = plan::TrimBlanks(plan::LimitTypedName(o.name));
  const std::string id = plan::TrimBlanks(plan::LimitTypedId(o.id));
  if (name.empty()) return Fail("the patient name is empty");
  if (id.empty()) return Fail("the patient ID is empty");
  if (!IsValidDate(o.clock.year, o.clock.month, o.clock.day, o.clock.hour, o.clock.minute,
                   o.clock.second))
    return Fail("the clock is not a valid date and time");

  const bool talo = family == plan::PlanFamily::Talo;
  const bool simple = family == plan::PlanFamily::MiruSimple;
  if (!simple) {
    if (!IndexIn(o.awakeTime, plan::kTimeSlots) || !IndexIn(o.asleepTime, plan::kTimeSlots))
      return Fail("period start times are on the half hour, 00:00 to 23:30");
    if (!talo && (!IndexIn(o.awakeSpan, plan::kIntervalCount) ||
                  !IndexIn(o.asleepSpan, plan::kIntervalCount) ||
                  !IndexIn(o.specialSpan, plan::kIntervalCount)))
      return Fail("intervals are none, 5, 10, 15, 20, 30, 45, 60, 90 or 120 minutes");
    if (!IndexIn(o.specialStart, plan::kTimeSlots + 1) ||
        !IndexIn(o.specialEnd, plan::kTimeSlots + 1))
      return Fail("special period times are on the half hour, 00:00 to 23:30");
  }

  UploadPlanResult r;
  _BP_TRANSPORT_INFO& p = r.plan;
  if (talo) p = recorder.plan;
  plan::SetPlanName(p, name);
  plan::SetPlanId(p, id);
  plan::SetPlanClock(p, o.clock);

  if (talo) {
    const plan::HourMinute awake = plan::TimeFromIndex(o.awakeTime);
    const plan::HourMinute asleep = plan::TimeFromIndex(o.asleepTime);
    const auto awakeInterval =
        TaloInterval(recorder.awakeIntervals, o.taloAwakeInterval, recorder.plan.awakeInterval);
    const auto asleepInterval =
        TaloInterval(recorder.asleepIntervals, o.taloAsleepInterval, recorder.plan.asleepInterval);
    if (!awakeInterval || !asleepInterval)
      return Fail("the recorder does not accept that interval");
    p.awakeHour = awake.hour;
    p.awakeMinute = awake.minute;
    p.awakeInterval = *awakeInterval;
    p.asleepHour = asleep.hour;
    p.asleepMinute = asleep.minute;
    p.asleepInterval = *asleepInterval;
    // The warning groups and flags stay as the recorder holds them.
    plan::ApplyFlags(plan::PlanFamily::Talo, o.startKey, o.manualSet, p);
    r.ok = true;
    return r;
  }
  if (simple) {
    plan::ApplyFlags(plan::PlanFamily::MiruSimple, o.startKey, o.manualSet, p);
    r.ok = true;
    return r;
  }

  plan::ApplyPeriods(o.awakeTime, o.awakeSpan, o.asleepTime, o.asleepSpan, p);
  const int specialSpan =
      plan::SpecialIntervalSelectable(o.specialStart, o.specialEnd) ? o.specialSpan : 0;
  plan::ApplySpecialPeriod(o.specialStart, o.specialEnd, specialSpan, p);
  plan::ApplyFlags(family, o.startKey, o.manualSet, p);

  if (family == plan::PlanFamily::Pexa) {
    const int measureMode = (o.measureMode >= 0 && o.measureMode <= 2) ? o.measureMode : 0;
    const plan::PexaModeLimits m = plan::PexaLimitsForMode(measureMode);
    const plan::WarningGroup proposed{false,    m.sysHigh, m.sysLow, m.diaHigh,
                                      m.diaLow, m.mapHigh, m.mapLow};
    const plan::WarningGroup awake = o.awakeWarn.value_or(proposed);
    const plan::WarningGroup asleep = o.asleepWarn.value_or(proposed);
    if (auto e = CheckGroup(awake, m, "awake")) return Fail(*e);
    if (auto e = CheckGroup(asleep, m, "asleep")) return Fail(*e);
    const int maxPressure = o.maxPressure.value_or(m.maxPressureValue);
    if (!InRange(maxPressure, m.maxPressure))
      return Fail("maximum pressure out of range [" + std::to_string(m.maxPressure.low) + "-" +
                  std::to_string(m.maxPressure.high) + "]");
    plan::ApplyPexaSettings(measureMode, maxPressure, awake, asleep, p);
  }
  r.ok = true;
  return r;
}

}  // namespace vesk
