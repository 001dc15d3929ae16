#include "charts/TrendMath.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "analysis/DayNight.h"

namespace vesk {

TrendScan ScanReadings(std::span<const _BP_RECORD> readings) {
  TrendScan scan;
  for (size_t i = 0; i < readings.size(); ++i) {
    const _BP_RECORD& r = readings[i];
    if (!IsValidReading(r)) continue;
    ++scan.validCount;
    if (scan.firstValid < 0) scan.firstValid = static_cast<int>(i);
    scan.lastValid = static_cast<int>(i);
    if (r.included == 0) continue;
    const int low = std::min<int>(r.dia, r.pr);
    if (!scan.anyIncluded) {
      scan.highest = r.sys;
      scan.lowest = low;
      scan.anyIncluded = true;
    } else {
      scan.highest = std::max(scan.highest, r.sys);
      scan.lowest = std::min(scan.lowest, low);
    }
  }
  return scan;
}

ValueRange TrendValueRange(const TrendScan& scan, const TrendLimits& limits) {
  const int upper = std::max(limits.awakeSys, limits.asleepSys);
  const int lower = std::min(limits.awakeDia, limits.asleepDia);
  int high = scan.anyIncluded ? std::max(scan.highest, upper) : upper;
  int low = scan.anyIncluded ? std::min(scan.lowest, lower) : lower;
  high = std::clamp(high, 1, 300);
  low = std::clamp(low, 0, high - 1);
  return {low, high};
}

OleDateTime ReadingTime(const _BP_RECORD& r) {
  return OleDateTime::FromParts(r.year, r.month, r.day, r.hour, r.minute, 0);
}

std::vector<LimitStep> BuildLimitSteps(const TimeAxis& axis, int width, int awakeStart,
                                       int asleepStart, size_t maxPoints) {
  std::vector<LimitStep> steps;
  const double scale = axis.Scale();
  DateParts first;
  if (axis.EqualSpacing() || !axis.IsValid() || width <= 0 || scale <= 0.0 ||
      !axis.First().ToParts(first) || maxPoints < 2)
    return steps;
  const int64_t firstOfDay = first.hour * 3600 + first.minute * 60 + first.second;
  const auto asleepAt = [&](int64_t secondsFromFirst) {
    const int64_t ofDay = ((firstOfDay + secondsFromFirst) % 86400 + 86400) % 86400;
    return IsAsleepMinute(static_cast<int>(ofDay / 60), asleepStart, awakeStart);
  };
  const double startSeconds = axis.VisibleStartSeconds();
  const double endSeconds = startSeconds + width / scale;
  bool period = asleepAt(static_cast<int64_t>(std::floor(startSeconds)));
  steps.push_back({0.0, period});
  // The period can only change where the clock's minute changes.
  int64_t boundary =
      (static_cast<int64_t>(std::floor(startSeconds)) + firstOfDay) / 60 * 60 - firstOfDay + 60;
  for (; boundary < endSeconds && steps.size() + 2 < maxPoints; boundary += 60) {
    const bool now = asleepAt(boundary);
    if (now == period) continue;
    const double x = boundary * scale - axis.ScrollOffset();
    steps.push_back({x, period});
    steps.push_back({x, now});
    period = now;
  }
  steps.push_back({static_cast<double>(width), period});
  return steps;
}

int NearestPosition(std::span<const double> xs, double mouseX, double width) {
  int best = -1;
  double bestDistance = 99999.0;
  for (size_t i = 0; i < xs.size(); ++i) {
    if (xs[i] < 0.0 || xs[i] > width) continue;
    const double d = std::fabs(xs[i] - mouseX);
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

}  // namespace vesk
