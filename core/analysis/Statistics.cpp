#include "analysis/Statistics.h"

namespace vesk {

StatBlock ComputeStatBlock(const ReadingRefs& list) {
  StatBlock block;
  if (list.empty()) return block;
  for (int k = 0; k < kQuantityCount; ++k) {
    const Quantity q = static_cast<Quantity>(k);
    int32_t hi = ValueOf(*list[0], q), lo = hi;
    int32_t hiPos = 0, loPos = 0;
    int64_t sum = 0;
    for (size_t i = 0; i < list.size(); ++i) {
      const int32_t v = ValueOf(*list[i], q);
      sum += v;
      // ">=" and "<=": the last occurrence of an extreme is the one reported.
      if (v >= hi) hi = v, hiPos = static_cast<int32_t>(i);
      if (v <= lo) lo = v, loPos = static_cast<int32_t>(i);
    }
    block.q[k].maxPos = hiPos;
    block.q[k].minPos = loPos;
    block.q[k].mean = static_cast<float>(static_cast<double>(sum) / list.size());
  }
  return block;
}

namespace {
int32_t CountAbove(const ReadingRefs& list, Quantity q, int32_t threshold) {
  int32_t n = 0;
  for (const _BP_RECORD* r : list)
    if (ValueOf(*r, q) > threshold) ++n;
  return n;
}
}  // namespace

void ComputeStatistics(const PeriodRefs& lists, int32_t readingCount, const Thresholds& thresholds,
                       _BP_STATISTICS& out) {
  out = _BP_STATISTICS{};
  out.readingCount = readingCount;
  out.analysedCount = static_cast<int32_t>(lists.analysed.size());
  out.awakeCount = static_cast<int32_t>(lists.awake.size());
  out.asleepCount = static_cast<int32_t>(lists.asleep.size());

  out.awakeSysLoadCount = CountAbove(lists.awake, Quantity::Sys, thresholds.awakeSys);
  out.awakeDiaLoadCount = CountAbove(lists.awake, Quantity::Dia, thresholds.awakeDia);
  out.awake = ComputeStatBlock(lists.awake);

  out.asleepSysLoadCount = CountAbove(lists.asleep, Quantity::Sys, thresholds.asleepSys);
  out.asleepDiaLoadCount = CountAbove(lists.asleep, Quantity::Dia, thresholds.asleepDia);
  out.asleep = ComputeStatBlock(lists.asleep);

  out.whole = ComputeStatBlock(lists.analysed);
  out.sysLoadCount = out.awakeSysLoadCount + out.asleepSysLoadCount;
  out.diaLoadCount = out.awakeDiaLoadCount + out.asleepDiaLoadCount;
}

void ComputeStatistics(std::span<const _BP_RECORD> readings, int awakeStart, int asleepStart,
                       const Thresholds& thresholds, _BP_STATISTICS& out) {
  const PeriodRefs lists = BuildPeriodRefs(readings, asleepStart, awakeStart);
  ComputeStatistics(lists, static_cast<int32_t>(readings.size()), thresholds, out);
}

}  // namespace vesk
