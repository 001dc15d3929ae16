#include <gtest/gtest.h>

#include "AnalysisTestData.h"
#include "analysis/ClinicalIndices.h"
#include "analysis/HourlyAverages.h"
#include "analysis/SpO2Summary.h"
#include "analysis/Statistics.h"

namespace vesk {
namespace {
using test::Reading;

constexpr int kAwake = 7 * 60, kAsleep = 22 * 60;

TEST(MorningSurge, SleepTroughAndPreWakingAgainstHandValues) {
  const std::vector<_BP_RECORD> r = {
      Reading(23, 0, 115, 70), Reading(2, 0, 100, 60),  Reading(3, 0, 105, 60),
      Reading(4, 0, 112, 70),  Reading(5, 30, 110, 70), Reading(6, 30, 120, 70),
      Reading(7, 0, 150, 90),  Reading(8, 30, 140, 90), Reading(9, 0, 130, 80)};
  const auto lists = BuildPeriodRefs(r, kAsleep, kAwake);
  const auto s = ComputeMorningSurge(lists, kAwake);
  ASSERT_TRUE(s.sleepTroughSet && s.preWakingSet);
  EXPECT_DOUBLE_EQ(s.morningMean, 145.0);  // 07:00 and 08:30; 09:00 is past the two hours
  EXPECT_DOUBLE_EQ(s.troughMean, (115.0 + 100.0 + 105.0) / 3.0);
  EXPECT_DOUBLE_EQ(s.sleepTrough, 145.0 - 320.0 / 3.0);
  EXPECT_DOUBLE_EQ(s.preWakingMean, 115.0);  // 05:30 and 06:30; 04:00 is too early
  EXPECT_DOUBLE_EQ(s.preWaking, 30.0);
}

TEST(MorningSurge, UnsetWithoutTheReadingsItNeeds) {
  const std::vector<_BP_RECORD> noMorning = {Reading(23, 0, 115, 70), Reading(12, 0, 130, 80)};
  EXPECT_FALSE(
      ComputeMorningSurge(BuildPeriodRefs(noMorning, kAsleep, kAwake), kAwake).sleepTroughSet);
  // Awake start just after midnight: the two hours before it wrap to the previous day.
  const std::vector<_BP_RECORD> wrap = {Reading(23, 30, 110, 70), Reading(0, 30, 130, 80)};
  const auto s = ComputeMorningSurge(BuildPeriodRefs(wrap, 22 * 60, 30), 30);
  EXPECT_TRUE(s.preWakingSet);
  EXPECT_DOUBLE_EQ(s.preWaking, 20.0);
  // The lowest asleep reading is the only one: the trough is that value alone.
  EXPECT_DOUBLE_EQ(s.troughMean, 110.0);
}

TEST(Variability, ArvAndWeightedSd) {
  const std::vector<_BP_RECORD> r = {Reading(8, 0, 120, 80), Reading(9, 0, 140, 85),
                                     Reading(23, 0, 100, 80), Reading(2, 0, 110, 90)};
  const auto v = ComputeVariability(BuildPeriodRefs(r, kAsleep, kAwake), kAsleep, kAwake);
  ASSERT_TRUE(v.arvSet && v.weightedSdSet);
  EXPECT_DOUBLE_EQ(v.arvSys, (20.0 + 40.0 + 10.0) / 3.0);
  EXPECT_DOUBLE_EQ(v.arvDia, (5.0 + 5.0 + 10.0) / 3.0);
  EXPECT_DOUBLE_EQ(v.asleepHours, 9.0);
  EXPECT_DOUBLE_EQ(v.awakeHours, 15.0);
  EXPECT_DOUBLE_EQ(v.weightedSdSys, (10.0 * 15 + 5.0 * 9) / 24.0);
  EXPECT_DOUBLE_EQ(v.weightedSdDia, (2.5 * 15 + 5.0 * 9) / 24.0);

  const std::vector<_BP_RECORD> one = {Reading(8, 0)};
  const auto u = ComputeVariability(BuildPeriodRefs(one, kAsleep, kAwake), kAsleep, kAwake);
  EXPECT_FALSE(u.arvSet);
  EXPECT_FALSE(u.weightedSdSet);
  EXPECT_EQ(AsleepMinutes(60, 540), 480);
  EXPECT_EQ(AsleepMinutes(480, 480), 0);
}

TEST(Dipping, ClassLimits) {
  EXPECT_EQ(ClassifyDip(-0.001, 10, 20), DipClass::Riser);
  EXPECT_EQ(ClassifyDip(0.0, 10, 20), DipClass::NonDipper);
  EXPECT_EQ(ClassifyDip(0.0999, 10, 20), DipClass::NonDipper);
  EXPECT_EQ(ClassifyDip(0.10, 10, 20), DipClass::Dipper);
  EXPECT_EQ(ClassifyDip(0.20, 10, 20), DipClass::Dipper);
  EXPECT_EQ(ClassifyDip(0.2001, 10, 20), DipClass::ExtremeDipper);
  EXPECT_EQ(ClassifyDip(0.16, 5, 15), DipClass::ExtremeDipper);
}

TEST(Dipping, FromStatisticsOnALimitAndWithoutNight) {
  // Awake 130/80, asleep 117/72: exactly 10 % for both.
  const std::vector<_BP_RECORD> r = {Reading(8, 0, 130, 80), Reading(23, 0, 117, 72)};
  _BP_STATISTICS st;
  ComputeStatistics(r, kAwake, kAsleep, kDefaultThresholds, st);
  const auto d = ComputeDipping(st, 10, 20);
  EXPECT_EQ(d.sys, DipClass::Dipper);
  EXPECT_EQ(d.dia, DipClass::Dipper);
  EXPECT_NEAR(d.sysPercent, 10.0, 1e-5);
  EXPECT_EQ(ComputeDipping(st, 11, 20).sys, DipClass::NonDipper);

  const std::vector<_BP_RECORD> day = {Reading(8, 0, 130, 80)};
  ComputeStatistics(day, kAwake, kAsleep, kDefaultThresholds, st);
  EXPECT_EQ(ComputeDipping(st, 10, 20).sys, DipClass::Unknown);
}

TEST(RecordingQuality, SeventyPercentTwentyAndSeven) {
  std::vector<_BP_RECORD> r;
  for (int i = 0; i < 20; ++i) r.push_back(Reading(8 + i / 2, (i % 2) * 30));
  for (int i = 0; i < 7; ++i) r.push_back(Reading(23, i * 5));
  for (int i = 0; i < 11; ++i) r.push_back(Reading(12, i, 0, 0));  // failed measurements
  auto q =
      ComputeRecordingQuality(static_cast<int32_t>(r.size()), BuildPeriodRefs(r, kAsleep, kAwake));
  EXPECT_EQ(q.validCount, 27);
  EXPECT_TRUE(q.validShareOk && q.awakeOk && q.asleepOk && q.adequate);

  r.push_back(Reading(12, 59, 0, 0));  // 27 of 39 is below 70 %
  q = ComputeRecordingQuality(static_cast<int32_t>(r.size()), BuildPeriodRefs(r, kAsleep, kAwake));
  EXPECT_FALSE(q.validShareOk);
  EXPECT_FALSE(q.adequate);

  r.resize(26);  // 20 awake, 6 asleep
  q = ComputeRecordingQuality(static_cast<int32_t>(r.size()), BuildPeriodRefs(r, kAsleep, kAwake));
  EXPECT_TRUE(q.awakeOk);
  EXPECT_FALSE(q.asleepOk);
  EXPECT_FALSE(ComputeRecordingQuality(0, PeriodRefs{}).validShareOk);
}

// One reading per clock hour from 0 on, for `hours` hours, SYS and DIA given per hour.
std::vector<_BP_RECORD> PerHour(int hours, auto&& sys, auto&& dia) {
  std::vector<_BP_RECORD> r;
  for (int h = 0; h < hours; ++h) r.push_back(Reading(h, 10, sys(h), dia(h)));
  return r;
}

TEST(SmoothnessIndex, MeanReductionOverItsSdAcrossSharedHours) {
  const auto baseline = PerHour(
      24, [](int) { return 150; }, [](int) { return 95; });
  // SYS falls by 10 in even hours and 20 in odd ones: mean 15, SD 5. DIA falls by 10 always.
  const auto treated = PerHour(
      12, [](int h) { return h % 2 ? 130 : 140; }, [](int) { return 85; });
  const auto si = ComputeSmoothnessIndex(baseline, treated);
  EXPECT_EQ(si.sharedHours, 12);
  ASSERT_TRUE(si.sysSet);
  EXPECT_DOUBLE_EQ(si.sys, 3.0);
  EXPECT_FALSE(si.diaSet) << "equal reductions have no spread";

  const auto shorter = PerHour(
      11, [](int h) { return h % 2 ? 130 : 140; }, [](int) { return 85; });
  const auto none = ComputeSmoothnessIndex(baseline, shorter);
  EXPECT_EQ(none.sharedHours, 11);
  EXPECT_FALSE(none.sysSet);
  EXPECT_EQ(none.sys, 0.0);
}

TEST(SpO2Summary, OdiTimeBelowNinetyLowestAndMean) {
  std::vector<_SPO2_SAMPLE> s;
  for (int t = 1; t <= 3700; ++t) {
    _SPO2_SAMPLE x;
    x.offset = t;
    x.spo2 = t <= 3000 ? 95 : t <= 3600 ? 88 : 0;  // the last 100 s carry no signal
    s.push_back(x);
  }
  const EventParams p{255, 2, 2, 8, 20, 100, 0, 88};
  const std::vector<EventRecord> events(2);
  const auto sum = ComputeSpO2Summary(s, &p, events);
  EXPECT_EQ(sum.validSeconds, 3600);
  EXPECT_DOUBLE_EQ(sum.odi, 2.0);
  EXPECT_EQ(sum.secondsBelow90, 600);
  EXPECT_DOUBLE_EQ(sum.shareBelow90, 1.0 / 6.0);
  EXPECT_EQ(sum.lowest, 88);
  EXPECT_DOUBLE_EQ(sum.mean, (3000.0 * 95 + 600.0 * 88) / 3600.0);

  const auto empty = ComputeSpO2Summary({}, &p, events);
  EXPECT_FALSE(empty.odiSet || empty.valuesSet);
  EXPECT_EQ(empty.odi, 0.0);
}

TEST(HourlyAverages, ClockAlignedPeriodsWithoutEmptyOnes) {
  std::vector<_BP_RECORD> r = {Reading(8, 5, 120, 80, 60), Reading(8, 25, 130, 90, 70),
                               Reading(8, 30, 140, 90, 80), Reading(10, 10, 150, 100, 90)};
  r[0].spo2 = 96;
  r[1].spo2 = 100;  // outside 1..99: not part of the SpO2 mean
  r[2].spo2 = 99;
  const auto p30 = AverageByPeriod(r, 30);
  ASSERT_EQ(p30.size(), 3u);
  EXPECT_EQ(p30[0].hour, 8);
  EXPECT_EQ(p30[0].minute, 0);
  EXPECT_EQ(p30[0].count, 2);
  EXPECT_DOUBLE_EQ(p30[0].sys, 125.0);
  EXPECT_DOUBLE_EQ(p30[0].pr, 65.0);
  EXPECT_DOUBLE_EQ(p30[0].map, (r[0].map + r[1].map) / 2.0);
  EXPECT_DOUBLE_EQ(p30[0].spo2, 96.0);
  EXPECT_EQ(p30[1].minute, 30);
  EXPECT_DOUBLE_EQ(p30[1].spo2, 99.0);
  EXPECT_EQ(p30[2].hour, 10);
  EXPECT_EQ(p30[2].spo2Count, 0);
  EXPECT_EQ(p30[2].spo2, 0.0);

  const auto p120 = AverageByPeriod(r, 120);
  ASSERT_EQ(p120.size(), 2u);
  EXPECT_EQ(p120[0].hour, 8);
  EXPECT_EQ(p120[0].count, 3);
  EXPECT_EQ(p120[1].hour, 10);
  EXPECT_EQ(p120[1].lengthMinutes, 120);
}

TEST(HourlyAverages, DaysKeptApartAndOrderedAndBadLengthsRefused) {
  const std::vector<_BP_RECORD> r = {Reading(8, 10, 130, 80, 70, 2), Reading(8, 20, 120, 80, 70, 1),
                                     Reading(23, 59, 110, 70, 70, 1)};
  const auto p = AverageByPeriod(r, 60);
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(p[0].day, 1);
  EXPECT_EQ(p[0].hour, 8);
  EXPECT_EQ(p[1].hour, 23);
  EXPECT_EQ(p[2].day, 2);
  EXPECT_EQ(p[2].sys, 130.0);
  EXPECT_TRUE(AverageByPeriod(r, 0).empty());
  EXPECT_TRUE(AverageByPeriod(r, -15).empty());
  EXPECT_TRUE(AverageByPeriod(r, 1441).empty());
  EXPECT_EQ(AverageByPeriod(r, 1440).size(), 2u);
  EXPECT_EQ(AverageByPeriod(r, 45).back().lengthMinutes, 45);
}

}  // namespace
}  // namespace vesk
