#pragma once
// The extremes and range record behind the pie chart, the trend chart and the reports: for
// SYS, DIA and PR the highest and lowest reading with its time, the mean, and the shares of
// readings below, within and above a chosen range.

#include <cstdint>
#include <span>

#include "analysis/DayNight.h"
#include "cases/CaseRecord.h"

namespace vesk {

// Both limits belong to the range. The defaults are the ranges a case opens with.
struct RangeLimits {
  int32_t sysLow = 100, sysHigh = 140;
  int32_t diaLow = 60, diaHigh = 90;
  int32_t prLow = 60, prHigh = 100;
};

struct ExtremeGroup {
  int32_t maxValue = 0;
  int32_t maxHour = 0, maxMinute = 0, maxDay = 0, maxMonth = 0, maxYear = 0;
  int32_t minValue = 0;
  int32_t minHour = 0, minMinute = 0, minDay = 0, minMonth = 0, minYear = 0;
  int32_t mean = 0;  // single-precision mean truncated toward zero
  double below = 0.0, within = 0.0, above = 0.0;
};

// Groups in the order SYS, DIA, PR.
struct Extremes {
  ExtremeGroup sys, dia, pr;
};

// Clears `out` and fills it from the readings (taken as analysed). Returns 0 for an empty
// list (record left cleared), 1 otherwise.
int ComputeExtremesAndRanges(const ReadingRefs& readings, const RangeLimits& limits, Extremes& out);
int ComputeExtremesAndRanges(std::span<const _BP_RECORD> readings, const RangeLimits& limits,
                             Extremes& out);

}  // namespace vesk
