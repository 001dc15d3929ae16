#pragma once
// Averages over consecutive clock-aligned periods, for the data table's averaged view: a
// 30-minute period runs from hh:00 or hh:30, a 120-minute one from an even hour.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "cases/CaseRecord.h"

namespace vesk {

// The lengths the averaged view offers, in minutes.
inline constexpr std::array<int, 4> kAveragingMinutes = {15, 30, 60, 120};

struct AveragedPeriod {
  int32_t year = 0, month = 0, day = 0;
  int32_t hour = 0, minute = 0;  // start of the period
  int32_t lengthMinutes = 0;     // the end is start + length (a day's last period may be cut)
  int32_t count = 0;             // readings in the period
  double sys = 0.0, dia = 0.0, pr = 0.0, map = 0.0;
  double spo2 = 0.0;  // over the readings with SpO2 1..99; 0 when there are none
  int32_t spo2Count = 0;
};

// Groups the readings (taken as analysed; readings whose date is impossible are skipped) into
// periods of `minutes` (1-1440) starting at midnight of each day, and returns the periods
// that hold readings in time order. An out-of-range length gives no periods.
std::vector<AveragedPeriod> AverageByPeriod(std::span<const _BP_RECORD> readings, int minutes);

}  // namespace vesk
