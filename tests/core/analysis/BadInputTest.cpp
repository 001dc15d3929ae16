// Whatever the readings or samples look like, every figure comes out defined: no crash, no
// NaN, no infinity.
#include <gtest/gtest.h>

#include <random>

#include "AnalysisTestData.h"
#include "analysis/ClinicalIndices.h"
#include "analysis/Correlation.h"
#include "analysis/Distribution.h"
#include "analysis/EventDetector.h"
#include "analysis/Extremes.h"
#include "analysis/HourlyAverages.h"
#include "analysis/ReportStatistics.h"
#include "analysis/SpO2Summary.h"
#include "analysis/Statistics.h"

namespace vesk {
namespace {
using test::Finite;
using test::Reading;

void ExpectAllFinite(const std::vector<_BP_RECORD>& r, int asleepStart = 22 * 60,
                     int awakeStart = 7 * 60) {
  _BP_STATISTICS st;
  ComputeStatistics(r, awakeStart, asleepStart, kDefaultThresholds, st);
  for (const StatBlock* b : {&st.whole, &st.awake, &st.asleep})
    for (const auto& q : b->q) EXPECT_TRUE(Finite(q.mean));

  _BP_REPORT_STATISTICS rs;
  ComputeReportStatistics(r, st, asleepStart, awakeStart, rs);
  const double scalars[] = {rs.awakeSysLoad,
                            rs.awakeDiaLoad,
                            rs.asleepSysLoad,
                            rs.asleepDiaLoad,
                            rs.wholeSysLoad,
                            rs.wholeDiaLoad,
                            rs.nightDipSys,
                            rs.nightDipDia,
                            rs.hourlyRatioSys,
                            rs.hourlyRatioDia,
                            rs.r,
                            rs.diaOnSysSlope,
                            rs.diaOnSysIntercept,
                            rs.sysOnDiaSlope,
                            rs.sysOnDiaIntercept,
                            rs.aasi};
  for (double x : scalars) EXPECT_TRUE(Finite(x));
  for (const SpreadFigures* s : {&rs.sdAwake, &rs.sdAsleep, &rs.sdWhole, &rs.seAwake, &rs.seAsleep,
                                 &rs.seWhole, &rs.cvAwake, &rs.cvAsleep, &rs.cvWhole})
    for (double x : {s->sys, s->dia, s->pr, s->map}) EXPECT_TRUE(Finite(x));

  std::vector<_BP_RECORD> analysed;
  BuildReadingLists(r, nullptr, &analysed);
  _BP_CORRELATION c;
  ComputeCorrelation(analysed, asleepStart, awakeStart, c);
  for (double x : {c.diaOnSysSlope, c.diaOnSysIntercept, c.sysOnDiaSlope, c.sysOnDiaIntercept, c.r})
    EXPECT_TRUE(Finite(x));

  Extremes e;
  ComputeExtremesAndRanges(analysed, RangeLimits{}, e);
  for (const auto* g : {&e.sys, &e.dia, &e.pr})
    for (double x : {g->below, g->within, g->above}) EXPECT_TRUE(Finite(x));
  PressureDistribution d;
  ComputeDistribution(analysed, d);
  for (double x : d.sys) EXPECT_TRUE(Finite(x));

  const PeriodRefs lists = BuildPeriodRefs(r, asleepStart, awakeStart);
  const auto surge = ComputeMorningSurge(lists, awakeStart);
  const auto var = ComputeVariability(lists, asleepStart, awakeStart);
  const auto dip = ComputeDipping(st, 10, 20);
  const auto quality = ComputeRecordingQuality(static_cast<int32_t>(r.size()), lists);
  const auto smooth = ComputeSmoothnessIndex(r, r);
  for (double x : {surge.sleepTrough, surge.preWaking, var.arvSys, var.weightedSdSys,
                   dip.sysPercent, quality.validShare, smooth.sys, smooth.dia})
    EXPECT_TRUE(Finite(x));
  for (int len : kAveragingMinutes)
    for (const auto& p : AverageByPeriod(analysed, len))
      for (double x : {p.sys, p.dia, p.pr, p.map, p.spo2}) EXPECT_TRUE(Finite(x));
}

TEST(BadReadings, ValuesAtTheValidityLimits) {
  _BP_RECORD high = Reading(8, 0);
  high.sys = 399, high.map = 398, high.dia = 397, high.pr = 399;
  _BP_RECORD low = Reading(23, 0);
  low.sys = 3, low.map = 2, low.dia = 1, low.pr = 1;
  ExpectAllFinite({high, low});
  _BP_STATISTICS st;
  ComputeStatistics(std::vector<_BP_RECORD>{high, low}, 420, 1320, kDefaultThresholds, st);
  EXPECT_EQ(st.analysedCount, 2);
}

TEST(BadReadings, AllInvalidOneReadingOnePeriodIdenticalValues) {
  std::vector<_BP_RECORD> invalid = {Reading(8, 0, 0, 0), Reading(25, 0), Reading(9, 0, 400, 80)};
  ExpectAllFinite(invalid);
  _BP_STATISTICS st;
  ComputeStatistics(invalid, 420, 1320, kDefaultThresholds, st);
  EXPECT_EQ(st.readingCount, 3);
  EXPECT_EQ(st.analysedCount, 0);

  ExpectAllFinite({Reading(8, 0)});
  ExpectAllFinite({Reading(8, 0), Reading(9, 0, 130), Reading(10, 0, 110)});
  ExpectAllFinite({Reading(23, 0), Reading(2, 0, 130), Reading(3, 0, 110)});
  ExpectAllFinite(std::vector<_BP_RECORD>(50, Reading(12, 0)));
  ExpectAllFinite({});
  ExpectAllFinite({Reading(8, 0), Reading(9, 0)}, 480, 480);  // equal starts
}

TEST(BadReadings, FieldsAtTheirTypeLimits) {
  std::vector<_BP_RECORD> r;
  for (int v : {0, 1, 255, 32767, -1, -32768}) {
    _BP_RECORD x = Reading(8, 0);
    x.sys = v, x.dia = static_cast<int16_t>(v), x.map = static_cast<int16_t>(v);
    x.pr = static_cast<int16_t>(v), x.spo2 = static_cast<int16_t>(v);
    x.hour = static_cast<int16_t>(v), x.minute = static_cast<int16_t>(v);
    r.push_back(x);
  }
  r.push_back(Reading(8, 0));
  ExpectAllFinite(r);
}

TEST(BadReadings, SeventyTwoHoursOfReadings) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> sys(100, 170), dia(55, 95);
  std::vector<_BP_RECORD> r;
  for (int i = 0; i < 72 * 4; ++i) {
    const int minutes = i * 15;
    r.push_back(
        Reading(minutes / 60 % 24, minutes % 60, sys(rng), dia(rng), 70, 1 + minutes / 1440));
  }
  ExpectAllFinite(r);
  EXPECT_EQ(AverageByPeriod(r, 60).size(), 72u);
}

TEST(BadSamples, GapsZerosAndFullBytesNeverBreakTheDetectors) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> value(0, 255), step(-3, 4);
  std::vector<_SPO2_SAMPLE> s;
  int32_t t = 0;
  for (int i = 0; i < 72 * 3600; ++i) {
    t += step(rng);  // repeats, steps back, and gaps of up to 4 s
    _SPO2_SAMPLE x;
    x.offset = t;
    x.spo2 = static_cast<uint8_t>(i % 1000 < 500 ? 95 - (i % 7) : value(rng));
    x.pr = static_cast<uint8_t>(i % 13 == 0 ? 255 : 60 + (i % 40));
    s.push_back(x);
  }
  for (int32_t swing : {0, 3}) {
    const EventParams p{255, 2, 2, 8, 20, 100, swing, 88};
    const EventParams q{255, 2, 8, 8, 20, 220, swing, 0};
    std::vector<EventRecord> a, b;
    EXPECT_EQ(DetectSpO2Events(s, &p, a), 1);
    EXPECT_EQ(DetectPulseRateEvents(s, &q, b), 1);
    for (const auto* list : {&a, &b})
      for (const auto& e : *list) {
        EXPECT_GT(e.endTime, e.startTime);
        EXPECT_GT(e.startTime, 0);
      }
    const auto sum = ComputeSpO2Summary(s, &p, a);
    EXPECT_TRUE(Finite(sum.odi) && Finite(sum.mean) && Finite(sum.shareBelow90));
  }
  // Parameters nobody would choose: zero and negative limits, reversed validity range.
  const EventParams odd{0, -5, 0, 0, 200, 10, -1, 0};
  std::vector<EventRecord> ev;
  EXPECT_EQ(DetectSpO2Events(s, &odd, ev), 1);
  EXPECT_TRUE(ev.empty());
}

}  // namespace
}  // namespace vesk
