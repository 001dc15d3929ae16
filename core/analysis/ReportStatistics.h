#pragma once
// The report statistics record: load shares, night dips, the hourly profile and its ratios,
// and the variability and relationship indices of each period.

#include <cstdint>
#include <span>
#include <vector>

#include "analysis/DayNight.h"
#include "analysis/Statistics.h"
#include "cases/CaseRecord.h"

namespace vesk {

struct SpreadFigures {
  double sys = 0.0, dia = 0.0, pr = 0.0, map = 0.0;
};

struct _BP_REPORT_STATISTICS {
  // Load shares (0-1); a share whose count is 0 stays 0.
  double awakeSysLoad = 0.0, awakeDiaLoad = 0.0;
  double asleepSysLoad = 0.0, asleepDiaLoad = 0.0;
  double wholeSysLoad = 0.0, wholeDiaLoad = 0.0;
  // Night dips as fractions (0.12: a fall of 12 %).
  double nightDipSys = 0.0, nightDipDia = 0.0;
  // Integer means of each clock hour that has readings, with the hour they belong to.
  std::vector<int32_t> hourlyHours;
  std::vector<int32_t> hourlySys;
  std::vector<int32_t> hourlyDia;
  double hourlyRatioSys = 0.0, hourlyRatioDia = 0.0;

  SpreadFigures sdAwake, sdAsleep, sdWhole;
  SpreadFigures seAwake, seAsleep, seWhole;
  SpreadFigures cvAwake, cvAsleep, cvWhole;  // fractions: 0.08 means 8 %
  double r = 0.0;
  double diaOnSysSlope = 0.0, diaOnSysIntercept = 0.0;
  double sysOnDiaSlope = 0.0, sysOnDiaIntercept = 0.0;
  double aasi = 0.0;  // 1 - DIA-on-SYS slope
  int32_t crossSys = 0, crossDia = 0;

  // Which of the figures above exist. A figure that could not be computed stays 0, and these
  // tell a reader that 0 there means "none", not a value.
  bool nightDipSet = false;
  bool hourlyRatioSysSet = false, hourlyRatioDiaSet = false;
  bool rSet = false, diaOnSysSet = false, sysOnDiaSet = false, aasiSet = false;
  bool crossSet = false;
};

// Fills `out` (cleared first) from the report's readings (invalid and excluded readings are
// left out) and the statistics record computed from the same list.
void ComputeReportStatistics(std::span<const _BP_RECORD> readings, const _BP_STATISTICS& stats,
                             int asleepStart, int awakeStart, _BP_REPORT_STATISTICS& out);
void ComputeReportStatistics(const PeriodRefs& lists, const _BP_STATISTICS& stats,
                             _BP_REPORT_STATISTICS& out);

// The part of the record that the load shares and night dips make up.
void ComputeLoadsAndDips(const _BP_STATISTICS& stats, _BP_REPORT_STATISTICS& out);
// The hourly profile and its ratios.
void ComputeHourlyProfile(const ReadingRefs& readings, _BP_REPORT_STATISTICS& out);
// SD, SE, CV per period, both lines, r, AASI and the crossing point.
void ComputeReportIndices(const PeriodRefs& lists, _BP_REPORT_STATISTICS& out);

}  // namespace vesk
