#include "analysis/ClinicalIndices.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "analysis/Numeric.h"

namespace vesk {

namespace {
// Minutes from `from` forward to `t` on the clock, 0..1439.
int ClockDistance(int from, int t) {
  // A period start read from a case file can be anything; the difference is formed wide.
  return static_cast<int>(((int64_t{t} - from) % 1440 + 1440) % 1440);
}

bool MeanSysWhere(const ReadingRefs& list, auto&& inWindow, double& mean) {
  int64_t sum = 0, n = 0;
  for (const _BP_RECORD* r : list)
    if (inWindow(MinuteOfDay(*r))) sum += r->sys, ++n;
  if (n == 0) return false;
  mean = static_cast<double>(sum) / static_cast<double>(n);
  return true;
}
}  // namespace

MorningSurge ComputeMorningSurge(const PeriodRefs& lists, int awakeStart) {
  MorningSurge out;
  double morning = 0.0;
  if (!MeanSysWhere(
          lists.analysed, [&](int t) { return ClockDistance(awakeStart, t) < 120; }, morning))
    return out;
  out.morningMean = morning;

  if (!lists.asleep.empty()) {
    size_t low = 0;
    for (size_t i = 0; i < lists.asleep.size(); ++i)
      if (lists.asleep[i]->sys <= lists.asleep[low]->sys) low = i;
    int64_t sum = lists.asleep[low]->sys, n = 1;
    if (low > 0) sum += lists.asleep[low - 1]->sys, ++n;
    if (low + 1 < lists.asleep.size()) sum += lists.asleep[low + 1]->sys, ++n;
    out.troughMean = static_cast<double>(sum) / static_cast<double>(n);
    out.sleepTrough = morning - out.troughMean;
    out.sleepTroughSet = true;
  }

  double before = 0.0;
  if (MeanSysWhere(
          lists.analysed,
          [&](int t) {
            const int d = ClockDistance(t, awakeStart);
            return d >= 1 && d <= 120;
          },
          before)) {
    out.preWakingMean = before;
    out.preWaking = morning - before;
    out.preWakingSet = true;
  }
  return out;
}

int AsleepMinutes(int asleepStart, int awakeStart) {
  const int64_t m = asleepStart <= awakeStart ? int64_t{awakeStart} - asleepStart
                                              : 1440 - int64_t{asleepStart} + awakeStart;
  return static_cast<int>(std::clamp<int64_t>(m, INT32_MIN, INT32_MAX));
}

namespace {
bool Arv(const ReadingRefs& list, Quantity q, double& arv) {
  if (list.size() < 2) return false;
  int64_t sum = 0;
  for (size_t i = 1; i < list.size(); ++i)
    sum += std::llabs(int64_t{ValueOf(*list[i], q)} - ValueOf(*list[i - 1], q));
  arv = static_cast<double>(sum) / static_cast<double>(list.size() - 1);
  return true;
}

double SdOf(const ReadingRefs& list, Quantity q) {
  std::vector<double> x;
  x.reserve(list.size());
  for (const _BP_RECORD* r : list) x.push_back(ValueOf(*r, q));
  return PopulationSd(x);
}
}  // namespace

Variability ComputeVariability(const PeriodRefs& lists, int asleepStart, int awakeStart) {
  Variability out;
  out.arvSet = Arv(lists.analysed, Quantity::Sys, out.arvSys);
  Arv(lists.analysed, Quantity::Dia, out.arvDia);

  const int asleepMinutes = std::clamp(AsleepMinutes(asleepStart, awakeStart), 0, 1440);
  out.asleepHours = asleepMinutes / 60.0;
  out.awakeHours = (1440 - asleepMinutes) / 60.0;
  if (!lists.awake.empty() && !lists.asleep.empty()) {
    out.weightedSdSys = (SdOf(lists.awake, Quantity::Sys) * out.awakeHours +
                         SdOf(lists.asleep, Quantity::Sys) * out.asleepHours) /
                        24.0;
    out.weightedSdDia = (SdOf(lists.awake, Quantity::Dia) * out.awakeHours +
                         SdOf(lists.asleep, Quantity::Dia) * out.asleepHours) /
                        24.0;
    out.weightedSdSet = true;
  }
  return out;
}

const char* DipClassName(DipClass c) {
  switch (c) {
    case DipClass::Riser:
      return "riser";
    case DipClass::NonDipper:
      return "non-dipper";
    case DipClass::Dipper:
      return "dipper";
    case DipClass::ExtremeDipper:
      return "extreme dipper";
    case DipClass::Unknown:
      break;
  }
  return "unknown";
}

DipClass ClassifyDip(double dip, int32_t lowCr, int32_t highCr) {
  if (!std::isfinite(dip)) return DipClass::Unknown;
  // Means are single precision: 130 and 117 give a dip of 10 % only within rounding, and a
  // dip sitting exactly on a limit must land on the side the limits promise.
  constexpr double kSlack = 1e-6;
  const double percent = dip * 100.0;
  if (percent < -kSlack) return DipClass::Riser;
  if (percent < lowCr - kSlack) return DipClass::NonDipper;
  if (percent <= highCr + kSlack) return DipClass::Dipper;
  return DipClass::ExtremeDipper;
}

Dipping ComputeDipping(const _BP_STATISTICS& st, int32_t lowCr, int32_t highCr) {
  Dipping out;
  const double awakeSys = st.awake[Quantity::Sys].mean;
  const double awakeDia = st.awake[Quantity::Dia].mean;
  if (st.awakeCount == 0 || st.asleepCount == 0 || awakeSys == 0.0 || awakeDia == 0.0) return out;
  const double dipSys = (awakeSys - st.asleep[Quantity::Sys].mean) / awakeSys;
  const double dipDia = (awakeDia - st.asleep[Quantity::Dia].mean) / awakeDia;
  out.sysPercent = dipSys * 100.0;
  out.diaPercent = dipDia * 100.0;
  out.sys = ClassifyDip(dipSys, lowCr, highCr);
  out.dia = ClassifyDip(dipDia, lowCr, highCr);
  return out;
}

RecordingQuality ComputeRecordingQuality(int32_t readingCount, const PeriodRefs& lists) {
  RecordingQuality q;
  q.readingCount = readingCount;
  q.validCount = lists.validCount;
  q.awakeCount = static_cast<int32_t>(lists.awake.size());
  q.asleepCount = static_cast<int32_t>(lists.asleep.size());
  if (readingCount > 0) q.validShare = static_cast<double>(q.validCount) / readingCount;
  q.validShareOk = readingCount > 0 && q.validShare >= kMinValidShare;
  q.awakeOk = q.awakeCount >= kMinAwakeReadings;
  q.asleepOk = q.asleepCount >= kMinAsleepReadings;
  q.adequate = q.validShareOk && q.awakeOk && q.asleepOk;
  return q;
}

namespace {
struct HourMeans {
  double sys[24] = {}, dia[24] = {};
  bool has[24] = {};
};

HourMeans HourlyMeans(std::span<const _BP_RECORD> readings) {
  int64_t sumSys[24] = {}, sumDia[24] = {}, n[24] = {};
  for (const _BP_RECORD& r : readings) {
    if (!IsValidReading(r) || r.included == 0) continue;
    sumSys[r.hour] += r.sys;
    sumDia[r.hour] += r.dia;
    ++n[r.hour];
  }
  HourMeans m;
  for (int h = 0; h < 24; ++h) {
    if (n[h] == 0) continue;
    m.has[h] = true;
    m.sys[h] = static_cast<double>(sumSys[h]) / static_cast<double>(n[h]);
    m.dia[h] = static_cast<double>(sumDia[h]) / static_cast<double>(n[h]);
  }
  return m;
}

bool Ratio(const std::vector<double>& reductions, double& out) {
  const double sd = PopulationSd(reductions);
  if (IsNearZero(sd)) return false;
  out = Mean(reductions) / sd;
  return true;
}
}  // namespace

Smoothness ComputeSmoothnessIndex(std::span<const _BP_RECORD> baseline,
                                  std::span<const _BP_RECORD> treatment) {
  Smoothness out;
  const HourMeans before = HourlyMeans(baseline);
  const HourMeans after = HourlyMeans(treatment);
  std::vector<double> sys, dia;
  for (int h = 0; h < 24; ++h) {
    if (!before.has[h] || !after.has[h]) continue;
    sys.push_back(before.sys[h] - after.sys[h]);
    dia.push_back(before.dia[h] - after.dia[h]);
  }
  out.sharedHours = static_cast<int32_t>(sys.size());
  if (out.sharedHours < kMinSharedHours) return out;
  out.sysSet = Ratio(sys, out.sys);
  out.diaSet = Ratio(dia, out.dia);
  return out;
}

}  // namespace vesk
