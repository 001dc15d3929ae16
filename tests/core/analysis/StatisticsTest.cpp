#include <gtest/gtest.h>

#include "AnalysisTestData.h"
#include "analysis/DayNight.h"
#include "analysis/Distribution.h"
#include "analysis/Extremes.h"
#include "analysis/Statistics.h"

namespace vesk {
namespace {
using test::Reading;

int At(int h, int m) {
  return h * 60 + m;
}

TEST(DayNight, BoundariesOfAnAsleepPeriodOverMidnight) {
  const int S = At(22, 0), W = At(7, 0);
  EXPECT_FALSE(IsAsleepMinute(At(21, 59), S, W));
  EXPECT_FALSE(IsAsleepMinute(At(22, 0), S, W));
  EXPECT_TRUE(IsAsleepMinute(At(22, 1), S, W));
  EXPECT_TRUE(IsAsleepMinute(At(0, 0), S, W));
  EXPECT_TRUE(IsAsleepMinute(At(6, 59), S, W));
  EXPECT_FALSE(IsAsleepMinute(At(7, 0), S, W));
}

TEST(DayNight, BoundariesOfAnAsleepPeriodWithinOneDay) {
  EXPECT_TRUE(IsAsleepMinute(At(0, 30), At(0, 30), At(6, 0)));
  EXPECT_TRUE(IsAsleepMinute(At(6, 0), At(0, 30), At(6, 0)));
  EXPECT_FALSE(IsAsleepMinute(At(0, 29), At(0, 30), At(6, 0)));
  EXPECT_FALSE(IsAsleepMinute(At(6, 1), At(0, 30), At(6, 0)));
  EXPECT_TRUE(IsAsleepMinute(At(1, 0), At(1, 0), At(9, 0)));
  EXPECT_TRUE(IsAsleepMinute(At(9, 0), At(1, 0), At(9, 0)));
  // Equal starts: only that very minute is asleep.
  EXPECT_TRUE(IsAsleepMinute(At(8, 0), At(8, 0), At(8, 0)));
  EXPECT_FALSE(IsAsleepMinute(At(8, 1), At(8, 0), At(8, 0)));
  EXPECT_FALSE(IsAsleepMinute(At(7, 59), At(8, 0), At(8, 0)));
}

TEST(DayNight, SplitKeepsOrderIgnoresDatesAndSeconds) {
  std::vector<_BP_RECORD> in = {Reading(23, 0, 110), Reading(8, 0, 130), Reading(2, 0, 100, 70),
                                Reading(12, 0, 140, 90, 70, 3)};
  in[1].seconds = 59;
  std::vector<_BP_RECORD> awake, asleep;
  SplitByPeriod(in, At(22, 0), At(7, 0), awake, asleep);
  ASSERT_EQ(awake.size(), 2u);
  ASSERT_EQ(asleep.size(), 2u);
  EXPECT_EQ(awake[0].sys, 130);
  EXPECT_EQ(awake[1].sys, 140);
  EXPECT_EQ(asleep[0].sys, 110);
  EXPECT_EQ(asleep[1].sys, 100);
}

class StatisticsTest : public ::testing::Test {
 protected:
  _BP_STATISTICS Run(const std::vector<_BP_RECORD>& r) {
    _BP_STATISTICS s;
    ComputeStatistics(r, At(7, 0), At(22, 0), kDefaultThresholds, s);
    return s;
  }
};

TEST_F(StatisticsTest, LoadCountsOnlyValuesStrictlyAboveTheThreshold) {
  const auto s = Run({Reading(8, 0, 135, 85), Reading(9, 0, 136, 86), Reading(23, 0, 120, 70),
                      Reading(23, 30, 121, 71), Reading(23, 45, 121, 70)});
  EXPECT_EQ(s.awakeSysLoadCount, 1);
  EXPECT_EQ(s.awakeDiaLoadCount, 1);
  EXPECT_EQ(s.asleepSysLoadCount, 2);
  EXPECT_EQ(s.asleepDiaLoadCount, 1);
  EXPECT_EQ(s.sysLoadCount, 3);
  EXPECT_EQ(s.diaLoadCount, 2);
}

TEST_F(StatisticsTest, LastOccurrenceOfBothExtremesWins) {
  const auto s = Run({Reading(8, 0, 150, 80, 60), Reading(9, 0, 120, 70, 90),
                      Reading(10, 0, 150, 90, 60), Reading(11, 0, 120, 70, 90)});
  EXPECT_EQ(s.awake[Quantity::Sys].maxPos, 2);
  EXPECT_EQ(s.awake[Quantity::Sys].minPos, 3);
  EXPECT_EQ(s.awake[Quantity::Pr].maxPos, 3);
  EXPECT_EQ(s.awake[Quantity::Pr].minPos, 2);
  EXPECT_FLOAT_EQ(s.awake[Quantity::Sys].mean, 135.0f);
  EXPECT_FLOAT_EQ(s.awake[Quantity::Pp].mean, (70 + 50 + 60 + 50) / 4.0f);
}

TEST_F(StatisticsTest, CountsAndPositionsPerPeriod) {
  std::vector<_BP_RECORD> r = {Reading(8, 0, 130, 85), Reading(23, 0, 110, 65),
                               Reading(9, 0, 140, 90), Reading(2, 0, 100, 60)};
  r.push_back(Reading(10, 0));
  r.back().included = 0;
  r.push_back(Reading(10, 0, 0, 0));  // invalid
  const auto s = Run(r);
  EXPECT_EQ(s.readingCount, 6);
  EXPECT_EQ(s.analysedCount, 4);
  EXPECT_EQ(s.awakeCount, 2);
  EXPECT_EQ(s.asleepCount, 2);
  EXPECT_EQ(s.whole[Quantity::Sys].maxPos, 2);  // positions within analysed readings
  EXPECT_EQ(s.whole[Quantity::Sys].minPos, 3);
  EXPECT_EQ(s.asleep[Quantity::Sys].minPos, 1);
  EXPECT_FLOAT_EQ(s.whole[Quantity::Sys].mean, 120.0f);
  EXPECT_FLOAT_EQ(s.asleep[Quantity::Dia].mean, 62.5f);
}

TEST_F(StatisticsTest, AnEmptyPeriodLeavesItsBlockZero) {
  const auto s = Run({Reading(8, 0, 130, 85), Reading(12, 0, 150, 95)});
  EXPECT_EQ(s.asleepCount, 0);
  EXPECT_EQ(s.asleepSysLoadCount, 0);
  EXPECT_EQ(s.asleep[Quantity::Sys].maxPos, 0);
  EXPECT_EQ(s.asleep[Quantity::Sys].mean, 0.0f);
  const auto none = Run({});
  EXPECT_EQ(none.analysedCount, 0);
  EXPECT_EQ(none.whole[Quantity::Map].mean, 0.0f);
}

TEST(Extremes, ValuesTimesMeanAndLastOccurrence) {
  std::vector<_BP_RECORD> r = {Reading(8, 5, 150, 80, 60), Reading(9, 10, 101, 70, 90),
                               Reading(10, 15, 150, 90, 60, 2), Reading(11, 20, 101, 70, 90)};
  Extremes e;
  ASSERT_EQ(ComputeExtremesAndRanges(r, RangeLimits{}, e), 1);
  EXPECT_EQ(e.sys.maxValue, 150);
  EXPECT_EQ(e.sys.maxHour, 10);
  EXPECT_EQ(e.sys.maxMinute, 15);
  EXPECT_EQ(e.sys.maxDay, 2);
  EXPECT_EQ(e.sys.maxMonth, 3);
  EXPECT_EQ(e.sys.maxYear, 2024);
  EXPECT_EQ(e.sys.minValue, 101);
  EXPECT_EQ(e.sys.minHour, 11);
  EXPECT_EQ(e.sys.mean, 125);  // 125.5 truncated
  EXPECT_EQ(e.pr.maxHour, 11);
  EXPECT_EQ(e.pr.minHour, 10);
}

TEST(Extremes, RangeLimitsBelongToTheRange) {
  std::vector<_BP_RECORD> r = {Reading(8, 0, 99, 59, 59), Reading(9, 0, 100, 60, 60),
                               Reading(10, 0, 140, 90, 100), Reading(11, 0, 141, 91, 101)};
  Extremes e;
  ComputeExtremesAndRanges(r, RangeLimits{}, e);
  for (const auto* g : {&e.sys, &e.dia, &e.pr}) {
    EXPECT_DOUBLE_EQ(g->below, 0.25);
    EXPECT_DOUBLE_EQ(g->within, 0.5);
    EXPECT_DOUBLE_EQ(g->above, 0.25);
  }
  RangeLimits narrow{120, 120, 70, 70, 80, 80};
  ComputeExtremesAndRanges(r, narrow, e);
  EXPECT_DOUBLE_EQ(e.sys.within, 0.0);
  EXPECT_DOUBLE_EQ(e.sys.below + e.sys.above, 1.0);
}

TEST(Extremes, EmptyListClearsTheRecord) {
  Extremes e;
  e.sys.maxValue = 7;
  e.dia.within = 0.5;
  EXPECT_EQ(ComputeExtremesAndRanges(std::vector<_BP_RECORD>{}, RangeLimits{}, e), 0);
  EXPECT_EQ(e.sys.maxValue, 0);
  EXPECT_EQ(e.dia.within, 0.0);
}

TEST(Distribution, ClassLimitsAreLowerExclusiveUpperInclusive) {
  EXPECT_EQ(ClassOf(kSysClassLimits, 90), 0);
  EXPECT_EQ(ClassOf(kSysClassLimits, 91), 1);
  EXPECT_EQ(ClassOf(kSysClassLimits, 95), 1);
  EXPECT_EQ(ClassOf(kSysClassLimits, 100), 1);
  EXPECT_EQ(ClassOf(kSysClassLimits, 1), 0);
  EXPECT_EQ(ClassOf(kSysClassLimits, 0), -1);
  EXPECT_EQ(ClassOf(kSysClassLimits, 210), 12);
  EXPECT_EQ(ClassOf(kSysClassLimits, 211), 13);
  EXPECT_EQ(ClassOf(kSysClassLimits, 900), 13);
  EXPECT_EQ(ClassOf(kSysClassLimits, 901), -1);
  EXPECT_EQ(ClassOf(kDiaClassLimits, 50), 0);
  EXPECT_EQ(ClassOf(kDiaClassLimits, 181), 14);
}

TEST(Distribution, SharesOfEachQuantity) {
  std::vector<_BP_RECORD> r = {Reading(8, 0, 95, 55, 45), Reading(9, 0, 95, 61, 75),
                               Reading(10, 0, 125, 85, 75), Reading(11, 0, 215, 185, 190)};
  PressureDistribution d;
  ASSERT_EQ(ComputeDistribution(r, d), 1);
  EXPECT_DOUBLE_EQ(d.sys[1], 0.5);
  EXPECT_DOUBLE_EQ(d.sys[4], 0.25);
  EXPECT_DOUBLE_EQ(d.sys[13], 0.25);
  EXPECT_DOUBLE_EQ(d.dia[1], 0.25);
  EXPECT_DOUBLE_EQ(d.dia[2], 0.25);
  EXPECT_DOUBLE_EQ(d.dia[14], 0.25);
  EXPECT_DOUBLE_EQ(d.pr[0], 0.25);
  EXPECT_DOUBLE_EQ(d.pr[3], 0.5);
  EXPECT_DOUBLE_EQ(d.pr[14], 0.25);
  EXPECT_EQ(ComputeDistribution(std::vector<_BP_RECORD>{}, d), 0);
  EXPECT_DOUBLE_EQ(d.sys[1], 0.0);
}

}  // namespace
}  // namespace vesk
