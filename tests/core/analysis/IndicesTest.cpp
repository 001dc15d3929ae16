#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "AnalysisTestData.h"
#include "analysis/Correlation.h"
#include "analysis/ReportStatistics.h"
#include "analysis/Statistics.h"

namespace vesk {
namespace {
using test::Reading;

constexpr int kAwake = 7 * 60, kAsleep = 22 * 60;

_BP_REPORT_STATISTICS Report(const std::vector<_BP_RECORD>& r) {
  _BP_STATISTICS st;
  ComputeStatistics(r, kAwake, kAsleep, kDefaultThresholds, st);
  _BP_REPORT_STATISTICS out;
  ComputeReportStatistics(r, st, kAsleep, kAwake, out);
  return out;
}

// (SYS, DIA) = (120, 80), (130, 84), (140, 90), (110, 78): Sxx 500, Syy 84, Sxy 200.
std::vector<_BP_RECORD> FourReadings() {
  return {Reading(8, 0, 120, 80), Reading(9, 0, 130, 84), Reading(23, 0, 140, 90),
          Reading(2, 0, 110, 78)};
}

TEST(Correlation, LinesMeansRAndPairsPerPeriod) {
  _BP_CORRELATION c;
  ASSERT_EQ(ComputeCorrelation(FourReadings(), kAsleep, kAwake, c), 1);
  EXPECT_DOUBLE_EQ(c.diaOnSysSlope, 0.4);
  EXPECT_DOUBLE_EQ(c.diaOnSysIntercept, 33.0);
  EXPECT_DOUBLE_EQ(c.sysOnDiaSlope, 200.0 / 84.0);
  EXPECT_NEAR(c.sysOnDiaIntercept, 125.0 - 200.0 / 84.0 * 83.0, 1e-9);
  EXPECT_NEAR(c.r, 200.0 / std::sqrt(500.0 * 84.0), 1e-12);
  EXPECT_EQ(c.meanSys, 125);
  EXPECT_EQ(c.meanDia, 83);
  EXPECT_EQ(c.awakePairs, (std::vector<SysDiaPair>{{120, 80}, {130, 84}}));
  EXPECT_EQ(c.asleepPairs, (std::vector<SysDiaPair>{{140, 90}, {110, 78}}));
}

TEST(Correlation, EmptyListLeavesTheRecordUntouched) {
  _BP_CORRELATION c;
  c.r = 0.5;
  c.awakePairs.push_back({1, 2});
  EXPECT_EQ(ComputeCorrelation(std::vector<_BP_RECORD>{}, kAsleep, kAwake, c), 0);
  EXPECT_EQ(c.r, 0.5);
  EXPECT_EQ(c.awakePairs.size(), 1u);
}

TEST(Correlation, ConstantDiaGivesOnlyTheDiaOnSysLine) {
  _BP_CORRELATION c;
  ComputeCorrelation(std::vector<_BP_RECORD>{Reading(8, 0, 120, 80), Reading(9, 0, 140, 80)},
                     kAsleep, kAwake, c);
  EXPECT_TRUE(c.diaOnSysSet);
  EXPECT_DOUBLE_EQ(c.diaOnSysSlope, 0.0);
  EXPECT_DOUBLE_EQ(c.diaOnSysIntercept, 80.0);
  EXPECT_FALSE(c.sysOnDiaSet);
  EXPECT_FALSE(c.rSet);
  EXPECT_EQ(c.sysOnDiaSlope, 0.0);
  EXPECT_EQ(c.r, 0.0);
}

TEST(ReportIndices, SpreadPerPeriod) {
  const auto rs = Report({Reading(8, 0, 120, 80, 60), Reading(9, 0, 130, 80, 70),
                          Reading(10, 0, 140, 80, 80), Reading(23, 0, 100, 60, 50)});
  const double sd = std::sqrt(200.0 / 3.0);
  EXPECT_NEAR(rs.sdAwake.sys, sd, 1e-12);
  EXPECT_NEAR(rs.seAwake.sys, sd / std::sqrt(3.0), 1e-12);
  EXPECT_NEAR(rs.cvAwake.sys, sd / 130.0, 1e-12);
  EXPECT_NEAR(rs.sdAwake.pr, sd, 1e-12);
  EXPECT_EQ(rs.sdAwake.dia, 0.0);
  EXPECT_EQ(rs.cvAwake.dia, 0.0);
  // One asleep reading: SD, SE and CV 0.
  EXPECT_EQ(rs.sdAsleep.sys, 0.0);
  EXPECT_EQ(rs.seAsleep.sys, 0.0);
  EXPECT_EQ(rs.cvAsleep.sys, 0.0);
  EXPECT_NEAR(rs.sdWhole.sys, std::sqrt(875.0 / 4.0), 1e-12);
}

TEST(ReportIndices, LinesStiffnessAndCrossingAtTheMeans) {
  const auto rs = Report(FourReadings());
  ASSERT_TRUE(rs.diaOnSysSet && rs.sysOnDiaSet && rs.rSet && rs.aasiSet && rs.crossSet);
  EXPECT_DOUBLE_EQ(rs.aasi, 0.6);
  EXPECT_EQ(rs.crossSys, 125);
  EXPECT_EQ(rs.crossDia, 83);
}

TEST(ReportIndices, PerfectLineHasRSetAndNoCrossing) {
  const auto rs = Report({Reading(8, 0, 110, 70), Reading(9, 0, 120, 75), Reading(10, 0, 130, 80)});
  EXPECT_NEAR(rs.r, 1.0, 1e-12);
  EXPECT_NEAR(rs.diaOnSysSlope, 0.5, 1e-12);
  EXPECT_FALSE(rs.crossSet);
  EXPECT_EQ(rs.crossSys, 0);
  EXPECT_EQ(rs.crossDia, 0);
}

// 20,000 readings on SYS = 2 DIA with one DIA a step off: D = 1 - b*d is about 2.7e-8, well
// inside the near-zero band, yet the lines cross at the means like any other cloud.
TEST(ReportIndices, NearlyStraightLineStillCrossesAtTheMeans) {
  std::vector<_BP_RECORD> r;
  for (int i = 0; i < 20000; ++i) {
    const int k = i % 150;
    r.push_back(Reading(8 + i % 12, 0, 100 + 2 * k, 50 + k));
  }
  r[500].dia = static_cast<int16_t>(r[500].dia + 1);
  const auto rs = Report(r);
  ASSERT_TRUE(rs.diaOnSysSet && rs.sysOnDiaSet);
  ASSERT_TRUE(rs.crossSet);
  EXPECT_EQ(rs.crossSys, 249) << "mean 248.75";
  EXPECT_EQ(rs.crossDia, 124) << "mean 124.37505";
}

// Lists handed in directly are not limited to valid readings: the crossing must neither wrap
// nor lose the exact straight-line case at the ends of the stored ranges.
TEST(ReportIndices, CrossingAtTheEndsOfTheStoredRanges) {
  auto pair = [](int32_t sys, int16_t dia) {
    _BP_RECORD x = Reading(8, 0);
    x.sys = sys;
    x.dia = dia;
    return x;
  };
  const std::vector<_BP_RECORD> cloud = {pair(INT32_MAX, INT16_MAX), pair(INT32_MIN, INT16_MIN),
                                         pair(0, 5)};
  _BP_REPORT_STATISTICS rs;
  ComputeReportIndices(SplitRefs(cloud, kAsleep, kAwake), rs);
  ASSERT_TRUE(rs.crossSet);
  EXPECT_EQ(rs.crossSys, 0) << "mean -1/3 rounds to 0";
  EXPECT_EQ(rs.crossDia, 1) << "mean 4/3";

  // INT32_MIN = -32768 * 65536: the three pairs lie exactly on DIA = SYS / 65536.
  const std::vector<_BP_RECORD> line = {pair(INT32_MIN, INT16_MIN), pair(0, 0),
                                        pair(65536 * 32767, INT16_MAX)};
  _BP_REPORT_STATISTICS flat;
  ComputeReportIndices(SplitRefs(line, kAsleep, kAwake), flat);
  ASSERT_TRUE(flat.diaOnSysSet && flat.sysOnDiaSet);
  EXPECT_FALSE(flat.crossSet);
  EXPECT_EQ(flat.crossSys, 0);
  EXPECT_EQ(flat.crossDia, 0);
}

TEST(ReportIndices, MissingLinesLeaveStiffnessAndCrossingUnset) {
  const auto one = Report({Reading(8, 0, 120, 80)});
  EXPECT_FALSE(one.diaOnSysSet || one.sysOnDiaSet || one.rSet || one.aasiSet || one.crossSet);
  EXPECT_EQ(one.aasi, 0.0);
  const auto flatDia = Report({Reading(8, 0, 120, 80), Reading(9, 0, 140, 80)});
  EXPECT_TRUE(flatDia.aasiSet);
  EXPECT_DOUBLE_EQ(flatDia.aasi, 1.0);
  EXPECT_FALSE(flatDia.crossSet) << "one line alone has no crossing";
}

TEST(ReportStatistics, LoadSharesAndNightDip) {
  // Awake: 140/90 and 130/80 (one SYS load, one DIA load); asleep: 121/71 and 110/60.
  const auto rs = Report({Reading(8, 0, 140, 90), Reading(9, 0, 130, 80), Reading(23, 0, 121, 71),
                          Reading(2, 0, 110, 60)});
  EXPECT_DOUBLE_EQ(rs.awakeSysLoad, 0.5);
  EXPECT_DOUBLE_EQ(rs.awakeDiaLoad, 0.5);
  EXPECT_DOUBLE_EQ(rs.asleepSysLoad, 0.5);
  EXPECT_DOUBLE_EQ(rs.asleepDiaLoad, 0.5);
  EXPECT_DOUBLE_EQ(rs.wholeSysLoad, 0.5);
  ASSERT_TRUE(rs.nightDipSet);
  EXPECT_NEAR(rs.nightDipSys, (135.0 - 115.5) / 135.0, 1e-6);
  EXPECT_NEAR(rs.nightDipDia, (85.0 - 65.5) / 85.0, 1e-6);
}

TEST(ReportStatistics, NoAsleepReadingsLeavesNightDipAndAsleepSharesUnset) {
  const auto rs = Report({Reading(8, 0, 140, 90), Reading(9, 0, 130, 80)});
  EXPECT_FALSE(rs.nightDipSet);
  EXPECT_EQ(rs.nightDipSys, 0.0);
  EXPECT_EQ(rs.asleepSysLoad, 0.0);
  EXPECT_DOUBLE_EQ(rs.awakeSysLoad, 0.5);
}

TEST(ReportStatistics, HourlyProfileTruncatesAndSkipsEmptyHours) {
  const auto rs = Report({Reading(8, 0, 121, 80), Reading(8, 40, 122, 81), Reading(10, 0, 140, 90),
                          Reading(10, 30, 100, 70)});
  EXPECT_EQ(rs.hourlyHours, (std::vector<int32_t>{8, 10}));
  EXPECT_EQ(rs.hourlySys, (std::vector<int32_t>{121, 120}));
  EXPECT_EQ(rs.hourlyDia, (std::vector<int32_t>{80, 80}));
  ASSERT_TRUE(rs.hourlyRatioSysSet);
  EXPECT_DOUBLE_EQ(rs.hourlyRatioSys, 120.5 / 0.5);
  EXPECT_FALSE(rs.hourlyRatioDiaSet) << "a flat profile has no ratio";
}

TEST(ReportStatistics, OneHourProfileHasNoRatio) {
  const auto rs = Report({Reading(8, 0, 121, 80), Reading(8, 30, 140, 90)});
  EXPECT_EQ(rs.hourlySys.size(), 1u);
  EXPECT_FALSE(rs.hourlyRatioSysSet);
  EXPECT_EQ(rs.hourlyRatioSys, 0.0);
}

}  // namespace
}  // namespace vesk
