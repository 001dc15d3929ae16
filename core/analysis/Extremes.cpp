#include "analysis/Extremes.h"

namespace vesk {

namespace {
void FillGroup(const ReadingRefs& list, Quantity q, int32_t low, int32_t high, ExtremeGroup& g) {
  size_t hiPos = 0, loPos = 0;
  int64_t sum = 0;
  int32_t below = 0, within = 0, above = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    const int32_t v = ValueOf(*list[i], q);
    sum += v;
    if (v >= ValueOf(*list[hiPos], q)) hiPos = i;
    if (v <= ValueOf(*list[loPos], q)) loPos = i;
    if (v > high)
      ++above;
    else if (v < low)
      ++below;
    else
      ++within;
  }
  const _BP_RECORD& hi = *list[hiPos];
  const _BP_RECORD& lo = *list[loPos];
  g.maxValue = ValueOf(hi, q);
  g.maxHour = hi.hour, g.maxMinute = hi.minute, g.maxDay = hi.day, g.maxMonth = hi.month;
  g.maxYear = hi.year;
  g.minValue = ValueOf(lo, q);
  g.minHour = lo.hour, g.minMinute = lo.minute, g.minDay = lo.day, g.minMonth = lo.month;
  g.minYear = lo.year;
  const float mean = static_cast<float>(sum) / static_cast<float>(list.size());
  g.mean = static_cast<int32_t>(mean);
  const double n = static_cast<double>(list.size());
  g.below = below / n;
  g.within = within / n;
  g.above = above / n;
}
}  // namespace

int ComputeExtremesAndRanges(const ReadingRefs& readings, const RangeLimits& limits,
                             Extremes& out) {
  out = Extremes{};
  if (readings.empty()) return 0;
  FillGroup(readings, Quantity::Sys, limits.sysLow, limits.sysHigh, out.sys);
  FillGroup(readings, Quantity::Dia, limits.diaLow, limits.diaHigh, out.dia);
  FillGroup(readings, Quantity::Pr, limits.prLow, limits.prHigh, out.pr);
  return 1;
}

int ComputeExtremesAndRanges(std::span<const _BP_RECORD> readings, const RangeLimits& limits,
                             Extremes& out) {
  return ComputeExtremesAndRanges(RefsOf(readings), limits, out);
}

}  // namespace vesk
