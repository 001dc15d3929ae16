#pragma once
// The data-dependent arithmetic of the trend chart: the scan of the readings behind the
// scaling, the value range with both limit lines inside it, the limit step lines and the
// reading under the mouse.

#include <cstdint>
#include <span>
#include <vector>

#include "cases/CaseRecord.h"
#include "charts/TimeAxis.h"

namespace vesk {

struct TrendScan {
  int validCount = 0;
  int firstValid = -1;  // indexes into the reading list
  int lastValid = -1;
  bool anyIncluded = false;
  int highest = 0;  // highest SYS of the valid, included readings
  int lowest = 0;   // lowest DIA or PR of the same readings
};

TrendScan ScanReadings(std::span<const _BP_RECORD> readings);

// The thresholds the limit lines show, mmHg, and the day/night starts in minutes of the day.
struct TrendLimits {
  int awakeSys = 135, awakeDia = 85;
  int asleepSys = 120, asleepDia = 70;
  int awakeStart = 7 * 60;
  int asleepStart = 22 * 60;
};

// The value range after a data change: the scanned extremes widened to the upper limit (the
// higher systolic threshold) and the lower limit (the lower diastolic threshold), then held
// inside 0..300 so that a reading beyond the scale cannot leave the chart without an axis.
struct ValueRange {
  int minimum = 0;
  int maximum = 0;
};
ValueRange TrendValueRange(const TrendScan& scan, const TrendLimits& limits);

OleDateTime ReadingTime(const _BP_RECORD& r);

// One corner of a limit step line: x from the plot's left edge and the period it starts.
struct LimitStep {
  double x = 0.0;
  bool asleep = false;
};
// The step line across a plot `width` pixels wide: two points per period change, at most
// maxPoints in all. Empty for an invalid axis or an equally spaced one.
std::vector<LimitStep> BuildLimitSteps(const TimeAxis& axis, int width, int awakeStart,
                                       int asleepStart, size_t maxPoints = 1024);

// The reading nearest to mouseX horizontally among positions 0..width (others are ignored);
// the first wins a tie; -1 when none lies in the plot.
int NearestPosition(std::span<const double> xs, double mouseX, double width);

}  // namespace vesk
