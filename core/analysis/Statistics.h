#pragma once
// The statistics record of an opened case: counts, blood-pressure loads and, per period, the
// positions of the extremes and the means of SYS, DIA, PR, MAP and PP.

#include <cstdint>
#include <span>

#include "analysis/DayNight.h"
#include "cases/CaseRecord.h"
#include "settings/ConfigTypes.h"

namespace vesk {

struct QuantityStat {
  int32_t maxPos = 0;  // 0-based position in the period's list; a later equal value wins
  int32_t minPos = 0;  // likewise for the lowest value
  float mean = 0.0f;
};

// SYS, DIA, PR, MAP, PP in this order (index with Quantity).
struct StatBlock {
  QuantityStat q[kQuantityCount];
  const QuantityStat& operator[](Quantity k) const { return q[static_cast<int>(k)]; }
};

struct _BP_STATISTICS {
  int32_t analysedCount = 0;
  int32_t readingCount = 0;
  int32_t asleepCount = 0;
  int32_t awakeCount = 0;
  int32_t sysLoadCount = 0;  // awake + asleep; no threshold is applied to the whole list
  int32_t diaLoadCount = 0;
  StatBlock whole;
  int32_t awakeSysLoadCount = 0;
  int32_t awakeDiaLoadCount = 0;
  StatBlock awake;
  int32_t asleepSysLoadCount = 0;
  int32_t asleepDiaLoadCount = 0;
  StatBlock asleep;
};

// Positions of the last highest and last lowest value and the mean, over one list. A list of
// no readings gives an all-zero block.
StatBlock ComputeStatBlock(const ReadingRefs& list);

// Load counts use the four thresholds of `thresholds` (mmHg); a value equal to its threshold
// is not a load reading.
// Fills `out` from the case's readings in file order (all of them: invalid and excluded
// readings count only in readingCount).
void ComputeStatistics(std::span<const _BP_RECORD> readings, int awakeStart, int asleepStart,
                       const Thresholds& thresholds, _BP_STATISTICS& out);

// The same from lists already built.
void ComputeStatistics(const PeriodRefs& lists, int32_t readingCount, const Thresholds& thresholds,
                       _BP_STATISTICS& out);

}  // namespace vesk
