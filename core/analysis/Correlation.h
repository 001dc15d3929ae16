#pragma once
// The correlation record drawn by the correlation chart: both least-squares lines between
// SYS and DIA, the centre of the point cloud, Pearson r and the points of each period.

#include <cstdint>
#include <span>
#include <vector>

#include "analysis/DayNight.h"
#include "cases/CaseRecord.h"

namespace vesk {

struct SysDiaPair {
  int32_t sys = 0;
  int32_t dia = 0;
  bool operator==(const SysDiaPair&) const = default;
};

struct _BP_CORRELATION {
  double diaOnSysSlope = 0.0;  // DIA = slope * SYS + intercept
  double diaOnSysIntercept = 0.0;
  double sysOnDiaSlope = 0.0;  // SYS = slope * DIA + intercept
  double sysOnDiaIntercept = 0.0;
  int32_t meanSys = 0;  // truncated toward zero
  int32_t meanDia = 0;
  double r = 0.0;
  std::vector<SysDiaPair> awakePairs;
  std::vector<SysDiaPair> asleepPairs;
  // Whether each line and r exist: a line needs its x values to vary, r both series. A chart
  // must not draw a line that was never computed.
  bool diaOnSysSet = false;
  bool sysOnDiaSet = false;
  bool rSet = false;
};

// Returns 0 for an empty list and leaves the record untouched; otherwise clears and fills it
// and returns 1.
int ComputeCorrelation(const ReadingRefs& analysed, int asleepStart, int awakeStart,
                       _BP_CORRELATION& out);
int ComputeCorrelation(std::span<const _BP_RECORD> analysed, int asleepStart, int awakeStart,
                       _BP_CORRELATION& out);

}  // namespace vesk
